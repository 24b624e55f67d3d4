// Guards the class overview's figures as both stores compute them: the same games in the
// history file and on the test PostgreSQL server give the same table, with the right
// counts, latest averages and wrong keys; with the server frozen, the file answers in time.
#include "history/PostgresStore.h"
#include "history/ServerHistory.h"
#include "history/ServerPreparation.h"
#include "history/SqliteHistory.h"
#include "support/GameSamples.h"
#include "support/TestDoubles.h"
#include "support/TestPostgres.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

#include <random>

namespace {

const QDateTime kNow(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);

// Anne: 12 ordinary games, one a day, averages 612 down to 601, then two practice games;
// Bruno: 3 games ten days ago; Chloé: one game of the other mode only.
QList<FinishedGame> fixture()
{
    std::mt19937 random(23);
    QList<FinishedGame> out;
    for (int i = 0; i < 12; ++i) {
        out << sampleGame(random, QStringLiteral("Anne"), 1, kNow.addDays(i - 12), 600, 0.1);
        out.last().average = 612 - i;
    }
    for (int i = 0; i < 2; ++i) {
        out << sampleGame(random, QStringLiteral("Anne"), 1, kNow.addSecs(-3600 + i), 600, 0.3);
        out.last().practice = true;
    }
    for (int i = 0; i < 3; ++i)
        out << sampleGame(random, QStringLiteral("Bruno"), 1, kNow.addDays(-10).addSecs(i), 700, 0.05);
    out << sampleGame(random, QStringLiteral("Chloé"), 6, kNow.addDays(-1));
    for (FinishedGame &g : out)
        g.mini = std::min(g.mini, g.average);
    return out;
}

QString table(const QList<PlayerFigures> &players)
{
    QStringList out;
    for (const PlayerFigures &f : players) {
        QStringList averages, characters;
        for (qint64 a : f.recentAverages)
            averages << QString::number(a);
        for (const RecentCharacter &c : f.characters)
            characters << QStringLiteral("%1%2/%3").arg(c.character).arg(c.expected).arg(c.wrong);
        characters.sort();
        out << QStringLiteral("%1 %2/%3/%4 %5 best %6 [%7] %8/%9 %10")
                   .arg(f.player)
                   .arg(f.gamesThisWeek)
                   .arg(f.games)
                   .arg(f.practiceGames)
                   .arg(f.lastPlayed.toString(Qt::ISODate))
                   .arg(f.bestAverage)
                   .arg(averages.join(QLatin1Char(' ')))
                   .arg(f.recentWrong)
                   .arg(f.recentDue)
                   .arg(characters.join(QLatin1Char(' ')));
    }
    return out.join(QLatin1Char('\n'));
}

} // namespace

class TestClassFigures : public QObject
{
    Q_OBJECT

private slots:
    void sameTableInBothStores()
    {
        const QList<FinishedGame> games = fixture();
        QTemporaryDir folder;
        ScriptedBoxes boxes;
        ScriptedWallClock clock;
        SqliteHistory file(boxes, clock, folder.filePath(SqliteHistory::fileName()));
        for (const FinishedGame &g : games)
            file.record(g);
        const QDateTime weekStart = kNow.addDays(-7);
        const QString fromFile = table(file.classFigures(1, weekStart, 10, 30));
        // Fewer latest games than practice games at the end: the ordinary ones lie beyond them.
        const QString fewFromFile = table(file.classFigures(1, weekStart, 3, 2));
        QVERIFY2(fewFromFile.contains(QStringLiteral(" [603 602 601] ")), qPrintable(fewFromFile));

        // The wrong keys and keys due of Anne's ten latest ordinary games, from the games.
        qint64 wrong = 0, due = 0;
        for (int i = 2; i < 12; ++i) {
            wrong += games[i].wrongKeys();
            for (const PlayedItem &item : games[i].items)
                due += item.shown.size();
        }
        const QStringList lines = fromFile.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith(QStringLiteral("Anne 7/12/2 2026-12-07T11:00:01Z best 601"
                                                    " [610 609 608 607 606 605 604 603 602 601] %1/%2 ")
                                         .arg(wrong)
                                         .arg(due)),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].startsWith(QStringLiteral("Bruno 0/3/0 2026-11-27T12:00:02Z best ")), qPrintable(lines[1]));

        TestPostgres server;
        if (!server.available())
            QSKIP(qPrintable(server.skipReason()));
        QString error;
        const QString database = QStringLiteral("class_figures");
        QVERIFY2(server.createDatabase(database, &error, server.ownerUser()), qPrintable(error));
        qputenv("PGPASSWORD", server.ownerPassword().toUtf8());
        const RoomCommandResult prepared =
            prepareServer(*ServerAddress::parse(server.uri(database, server.ownerUser()), &error), server.user());
        QVERIFY2(prepared.exitCode == 0, qPrintable(prepared.error));
        qputenv("PGPASSWORD", server.password().toUtf8());
        const auto address = ServerAddress::parse(server.uri(database), &error);
        QVERIFY2(address, qPrintable(error));
        {
            PostgresStore store(*address);
            for (const FinishedGame &g : games)
                QVERIFY2(store.send(QUuid::createUuid().toString(QUuid::WithoutBraces), g), qPrintable(store.problem()));
            QCOMPARE(table(store.classFigures(1, weekStart, 10, 30).value_or(QList<PlayerFigures>())), fromFile);
            QCOMPARE(table(store.classFigures(1, weekStart, 3, 2).value_or(QList<PlayerFigures>())), fewFromFile);
        }

        // A frozen server: the file answers, within the progression's wait.
        ServerHistory history(file, *address, boxes);
        PostgresGuard guard{server};
        QVERIFY(server.control("freeze"));
        QElapsedTimer t;
        t.start();
        QCOMPARE(table(history.classFigures(1, weekStart, 10, 30)), fromFile);
        QVERIFY(t.elapsed() < ServerHistory::kReadWaitMs + 1000);
        QCOMPARE(boxes.shown.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestClassFigures)
#include "tst_class_figures.moc"
