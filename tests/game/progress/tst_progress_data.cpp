// Guards what the progression window shows, without drawing it: the players offered, the
// personal records read without writing, the figures' wording, the most missed characters
// and the CSV export.
#include "game/progress/HistoryCsv.h"
#include "game/keyboard/KeyboardMap.h"
#include "game/progress/ProgressData.h"
#include "support/EntryBytes.h"
#include "support/TestDoubles.h"

#include <QtTest>

namespace {

QList<CharacterCount> counts(const QList<QPair<QString, QPair<int, int>>> &list) // character, (wrong, due)
{
    QList<CharacterCount> out;
    for (const auto &c : list)
        out.append({c.first, c.second.second, c.second.first});
    return out;
}

} // namespace

class TestProgressData : public QObject
{
    Q_OBJECT

private slots:
    void playersOffered_data()
    {
        QTest::addColumn<QStringList>("history");
        QTest::addColumn<QString>("current"); // the main window's player, empty when none
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("French order, current player chosen")
            << QStringList{"Zoé", "Éric", "anne", "Emma"} << "Emma" << QStringList{"anne", "Emma", "Éric", "Zoé"}
            << "Emma";
        QTest::newRow("nobody named: the first") << QStringList{"Zoé", "Bruno"} << "" << QStringList{"Bruno", "Zoé"}
                                                 << "Bruno";
        QTest::newRow("a player without a game yet") << QStringList{"Zoé"} << "Paul" << QStringList{"Paul", "Zoé"}
                                                     << "Paul";
        QTest::newRow("empty history, nobody named") << QStringList{} << "" << QStringList{} << "";
    }
    void playersOffered()
    {
        QFETCH(QStringList, history);
        QFETCH(QString, current);
        const QStringList offered = progressPlayers(history, current);
        QTEST(offered, "offered");
        QTEST(defaultPlayer(offered, current), "chosen");
    }

    // The personal records come from the record file, which is only read: never created,
    // never written, whatever it holds.
    void personalRecordsReadOnly_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no file
        QTest::addColumn<QString>("player");
        QTest::addColumn<int>("mini"); // 0: no line
        QTest::addColumn<int>("average");
        const QByteArray abs = entryBytes("Anne", 300, 0) + entryBytes("Anne", 0, 350);
        const QByteArray players = abs + entryBytes("Anne", 300, 350) + entryBytes("Paul", 420, 9999);
        QTest::newRow("found") << players << "Anne" << 300 << 350;
        QTest::newRow("an unset average has no line") << players << "Paul" << 420 << 0;
        QTest::newRow("not in the file") << players << "Zoé" << 0 << 0;
        QTest::newRow("the absolute records are no player") << abs << "Anne" << 0 << 0;
        QTest::newRow("no file") << QByteArray() << "Anne" << 0 << 0;
        QTest::newRow("a name longer than a record holds") << abs + entryBytes("Maximilien-Alex", 500, 600)
                                                          << "Maximilien-Alexandre" << 500 << 600;
    }
    void personalRecordsReadOnly()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, player);
        QFETCH(int, mini);
        QFETCH(int, average);
        ScratchFolder folder;
        const QString name = QStringLiteral("clvfic1.txt");
        if (!file.isEmpty())
            folder.write(name, file);
        ProgressData data;
        readPersonalRecords(name, player, &data);
        QCOMPARE(data.recordMini.value_or(0), qint64(mini));
        QCOMPARE(data.recordAverage.value_or(0), qint64(average));
        QCOMPARE(folder.read(name), file);
        QCOMPARE(QFile::exists(folder.file(name)), !file.isEmpty());
    }

    void describe_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("wrong");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<QString>("text");
        QTest::newRow("plural") << "E" << qint64(12) << qint64(340) << QStringLiteral("E\u00A0: 12 fautes sur 340 (3,5\u00A0%)");
        QTest::newRow("singular") << "A" << qint64(1) << qint64(3) << QStringLiteral("A\u00A0: 1 faute sur 3 (33,3\u00A0%)");
        QTest::newRow("none") << "Z" << qint64(0) << qint64(20) << QStringLiteral("Z\u00A0: 0 faute sur 20 (0,0\u00A0%)");
        QTest::newRow("never due") << "W" << qint64(0) << qint64(0) << QStringLiteral("W\u00A0: jamais demandé");
        QTest::newRow("missed but never due") << "Œ" << qint64(3) << qint64(0) << QStringLiteral("Œ\u00A0: 3 fautes");
        QTest::newRow("thousands") << "E" << qint64(1500) << qint64(12000)
                                   << QStringLiteral("E\u00A0: 1\u202F500 fautes sur 12\u202F000 (12,5\u00A0%)");
    }
    void describe()
    {
        QFETCH(QString, name);
        QFETCH(qint64, wrong);
        QFETCH(qint64, expected);
        QTEST(KeyboardMap::describe(name, wrong, expected), "text");
    }

    void mostMissed()
    {
        const QList<CharacterCount> list = counts({{"A", {3, 300}}, {"B", {9, 90}}, {" ", {3, 30}}, {"C", {0, 10}},
                                                   {"D", {1, 10}}, {"É", {3, 30}}, {"F", {2, 4}}, {"", {50, 0}}});
        QCOMPARE(KeyboardMap::mostMissed(list),
                 (QStringList{"B\u00A0: 9 fautes sur 90 (10,0\u00A0%)", "Espace\u00A0: 3 fautes sur 30 (10,0\u00A0%)",
                              "É\u00A0: 3 fautes sur 30 (10,0\u00A0%)", "A\u00A0: 3 fautes sur 300 (1,0\u00A0%)",
                              "F\u00A0: 2 fautes sur 4 (50,0\u00A0%)"}));
        QVERIFY(KeyboardMap::mostMissed(counts({{"A", {0, 5}}})).isEmpty());
    }

    void csv_data()
    {
        QTest::addColumn<QString>("player");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("fields"); // the two as written
        QTest::newRow("plain") << "Zoé" << "ÉTÉ ET" << "Zoé|ÉTÉ ET";
        QTest::newRow("separator and quotes are quoted") << "Jo;\"le roi\"" << "A" << "\"Jo;\"\"le roi\"\"\"|A";
        QTest::newRow("spaces at the ends are kept") << " Léa " << "A" << "\" Léa \"|A";
        QTest::newRow("line ends are quoted") << "Jo\nB" << "A\rB" << "\"Jo\nB\"|\"A\rB\"";
    }
    void csv()
    {
        QFETCH(QString, player);
        QFETCH(QString, shown);
        QFETCH(QString, fields);
        const ItemLine item{7, player, 6, QStringLiteral("2026-11-02T16:59:00.000Z"),
                            QStringLiteral("2026-11-02T17:00:00.000Z"), 900, 1000, 4, 3, shown, 1100, 1000, 1};
        const QString line = QStringLiteral("7;%1;6;2026-11-02T16:59:00.000Z;2026-11-02T17:00:00.000Z;900;1000;4;3;%2;"
                                            "1100;1000;1\r\n")
                                 .arg(fields.section(QLatin1Char('|'), 0, 0), fields.section(QLatin1Char('|'), 1));
        QCOMPARE(HistoryCsv::build({item, item}),
                 "\xEF\xBB\xBF" + QStringLiteral("Partie;Joueur;Mode;Début;Fin;Mini;Moyenne;Fautes de la partie;Item;"
                                                 "Affiché;Temps (ms);Temps sans pénalité (ms);Fautes\r\n%1%1")
                                      .arg(line)
                                      .toUtf8());
    }

    void csvFileNameAndSave()
    {
        QCOMPARE(HistoryCsv::suggestedFileName(QStringLiteral("Zoé")), QStringLiteral("Clavimo - Zoé.csv"));
        QCOMPARE(HistoryCsv::suggestedFileName(QStringLiteral("a/b:c?\n")), QStringLiteral("Clavimo - a_b_c__.csv"));
        ScratchFolder folder;
        QString error;
        QVERIFY(HistoryCsv::save(folder.file(QStringLiteral("export.csv")), "a;b\r\n", &error));
        QCOMPARE(folder.read(QStringLiteral("export.csv")), QByteArray("a;b\r\n"));
        folder.write(QStringLiteral("fichier"), "garde");
        QVERIFY(!HistoryCsv::save(folder.file(QStringLiteral("fichier/export.csv")), "x", &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(folder.read(QStringLiteral("fichier")), QByteArray("garde"));
    }
};

QTEST_GUILESS_MAIN(TestProgressData)
#include "tst_progress_data.moc"
