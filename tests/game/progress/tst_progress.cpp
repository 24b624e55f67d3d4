// Guards the history as the Progression window and « La classe » show it: the chart's games,
// axes, days, points and summary; the players offered, the personal records read without
// writing, a character's figures, the export, and the class's trends and reasons.
#include "game/keyboard/KeyboardMap.h"
#include "game/progress/ClassOverview.h"
#include "game/progress/HistoryCsv.h"
#include "game/progress/ProgressChart.h"
#include "game/progress/ProgressData.h"
#include "support/EntryBytes.h"
#include "support/TestDoubles.h"

#include <QtTest>

#include <numeric>

namespace {

const QDate kToday(2026, 12, 7);

// The history of a line such as "07/12 16:03, 07/12 16:07 p, ? 100/900 (records 300/900)": games
// of a date ("dd/MM" in 2026, or "dd/MM/yyyy") and a time, or "?" for a date that cannot be
// read; then Mini and average when not 400/500, and "p" for a practice game; then the personal
// records, if any. "500 x 16" is 500 games 16 hours apart, the last today at 16:00.
ProgressData history(QString line, const QTimeZone &zone)
{
    ProgressData data;
    if (line.endsWith(u')')) {
        data.recordMini = line.section(u' ', -1).section(u'/', 0, 0).toLongLong();
        data.recordAverage = line.section(u'/', -1).chopped(1).toLongLong();
        line = line.section(" (", 0, 0);
    }
    if (line.contains(QLatin1String(" x "))) {
        const int count = line.section(' ', 0, 0).toInt(), hours = line.section(' ', 2, 2).toInt();
        for (int i = count - 1; i >= 0; --i)
            data.games.append(GameSummary{0, QDateTime(kToday, QTime(16, 0), zone).addSecs(-3600LL * hours * i), 400, 500, 0, false});
        return data;
    }
    for (const QString &entry : line.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        QStringList parts = entry.split(' ');
        GameSummary g{0, QDateTime(), 400, 500, 0, parts.last() == QLatin1String("p")};
        if (parts.first() != QLatin1String("?")) {
            const QDate day = QDate::fromString(parts.first() + (parts.first().size() == 5 ? "/2026" : ""), "dd/MM/yyyy");
            g.finishedAt = QDateTime(day, QTime::fromString(parts[1], QStringLiteral("hh:mm")), zone).toUTC();
            parts.removeFirst();
        }
        if (parts.size() > 1 && parts[1].contains('/')) {
            g.mini = parts[1].section('/', 0, 0).toInt();
            g.average = parts[1].section('/', 1, 1).toInt();
        }
        data.games.append(g);
    }
    return data;
}

const QDateTime kNow(kToday, QTime(12, 0), Qt::UTC);

} // namespace

class TestProgress : public QObject
{
    Q_OBJECT

private slots:
    // "[all:] games > shown": the games shown (numbers, of how many, practice ones), the axis
    // of the games with the step of its ticks, the times' axis, the days' bands, and the
    // summary's first sentence (no-break spaces written "_"). "all:" shows every game.
    void progressionAndClass()
    {
        const QStringList rows = {
            " > 1–0 of 0 (0 p), x 0–1 by 1, 0–1100 ms |  | 0 partie, aucune partie ordinaire",
            "07/12 16:03, 07/12 16:07 p, 07/12 16:11 > 1–3 of 3 (1 p), x 0.5–3.5 by 1, 350–550 ms | 0.5 aujourd'hui | 3 parties "
            "aujourd'hui, de 16_h_03 à 16_h_11, dont 1 d'entraînement",
            "05/12 09:30, 05/12 18:00, 06/12 10:00, 07/12 08:15 > 1–4 of 4 (0 p), x 0.5–4.5 by 1, 350–550 ms | 0.5 05/12, 2.5 hier, "
            "3.5 aujourd'hui | 4 parties du 5 au 7 décembre 2026",
            "500 x 16 > 451–500 of 500 (0 p), x 450.5–500.5 by 5, 350–550 ms | 450.5 05/11–09/11, 458.5 10/11–14/11, 465.5 15/11–19/11, "
            "473.5 20/11–24/11, 480.5 25/11–29/11, 488.5 30/11–07/12 | Les 50 dernières parties sur 500, du 5 novembre au 7 décembre 2026",
            "all: 500 x 24 > 1–500 of 500 (0 p), x 0.5–500.5 by 50, 350–550 ms | 0.5 26/07/25, 63.5 27/09/25, 126.5 29/11/25, 189.5 31/01/26, "
            "252.5 04/04/26, 315.5 06/06/26, 378.5 08/08/26 | 500 parties du 26 juillet 2025 au 7 décembre 2026",
            "Paris: 07/12 23:30, 08/12 00:30 > 1–2 of 2 (0 p), x 0.5–2.5 by 1, 350–550 ms | 0.5 aujourd'hui, 1.5 08/12 | 2 parties du 7 au 8 décembre 2026",
            "31/12/2025 23:50, 01/01 00:10 > 1–2 of 2 (0 p), x 0.5–2.5 by 1, 350–550 ms | 0.5 31/12/25, 1.5 01/01/26 | 2 parties du 31 "
            "décembre 2025 au 1er janvier 2026",
            "? 350/450, 02/11 17:00 400/600 (records 300/900) > 1–2 of 2 (0 p), x 0.5–2.5 by 1, 240–960 ms | 0.5 02/11 | 2 parties le 2 "
            "novembre 2026, à 17_h_00",
            "07/12 16:03 20/30 > 1–1 of 1 (0 p), x 0.5–1.5 by 1, 0–80 ms | 0.5 aujourd'hui | 1 partie aujourd'hui, à 16_h_03"};
        for (const QString &row : rows) {
            const QString line = row.section(" > ", 0, 0);
            const bool all = line.startsWith("all: "), inParis = line.startsWith("Paris: ");
            const QTimeZone zone = inParis ? QTimeZone("Europe/Paris") : QTimeZone::utc();
            const ProgressChart chart(history(line.mid(all ? 5 : inParis ? 7 : 0), zone), all, zone, kToday);
            QStringList bands;
            for (const ProgressChart::Band &band : chart.bands())
                bands << QStringLiteral("%1 %2").arg(band.from).arg(band.label);
            QCOMPARE(QStringLiteral("%1–%2 of %3 (%4 p), x %5–%6 by %7, %8–%9 ms | ")
                             .arg(chart.firstNumber()).arg(chart.lastNumber()).arg(chart.total()).arg(chart.practiceAverages().size())
                             .arg(chart.left()).arg(chart.right()).arg(chart.step()).arg(chart.lowest()).arg(chart.highest())
                         + bands.join(", ") + " | " + chart.summary().section(u'.', 0, 0).replace(QChar(0xA0), u'_'),
                     row.section(" > ", 1));
            // Every game shown is one point, in its place, the Mini under the average.
            QList<int> numbers, expected(chart.shown());
            for (const QPointF &p : chart.averages() + chart.practiceAverages())
                numbers << int(p.x());
            std::sort(numbers.begin(), numbers.end());
            std::iota(expected.begin(), expected.end(), chart.firstNumber());
            QCOMPARE(numbers, expected);
            for (qsizetype i = 0; i < chart.minis().size(); ++i)
                QCOMPARE(chart.minis()[i].x(), chart.averages()[i].x());
        }
        // "averages, oldest first, negative for practice > the summary after its first sentence":
        // the best and last averages of the ordinary games, and the trend; then each point's text.
        const QString figures = " Meilleure moyenne_: %1 millisecondes. Dernière moyenne_: %2 millisecondes. Tendance_: ";
        const QStringList summaries = {"700 > 1 partie." + figures.arg(700).arg(700) + "pas encore assez de parties.",
                                  "900 800 -500 850 600 650 > 6 parties dont 1 d'entraînement." + figures.arg(600).arg(650)
                                      + "en progrès, moyennes plus rapides qu'avant.",
                                  "500 520 700 710 > 4 parties." + figures.arg(500).arg(710) + "en recul, moyennes plus lentes qu'avant.",
                                  "600 610 605 600 590 600 610 600 605 600 > 10 parties." + figures.arg(590).arg(600) + "stable.",
                                  "-500 > 1 partie dont 1 d'entraînement, aucune partie ordinaire."};
        for (const QString &row : summaries) {
            ProgressData data;
            for (const QString &a : row.section(" > ", 0, 0).split(u' '))
                data.games.append(GameSummary{0, QDateTime(), std::abs(a.toLongLong()) / 2, std::abs(a.toLongLong()), 0, a.startsWith(u'-')});
            QCOMPARE(ProgressChart(data, true, QTimeZone::utc(), kToday).summary().replace(QChar(0xA0), u'_'), row.section(" > ", 1));
        }
        // "games > what the last point says" ("_" no-break space, "." narrow one); nothing past the last game.
        for (const QString row : {"07/12 16:03, 01/12 09:05 380/1234 > Partie 2, le 1er décembre 2026 à 9_h_05_: Mini 380 ms, moyenne 1.234 ms",
                                  "07/12 16:03 300/450 p > Partie 1 (entraînement), le 7 décembre 2026 à 16_h_03_: Mini 300 ms, moyenne 450 ms",
                                  "? 300/450 > Partie 1, date illisible_: Mini 300 ms, moyenne 450 ms"}) {
            const ProgressChart chart(history(row.section(" > ", 0, 0), QTimeZone::utc()), false, QTimeZone::utc(), kToday);
            QCOMPARE(chart.pointText(chart.lastNumber()).replace(QChar(0xA0), u'_').replace(QChar(0x202F), u'.'), row.section(" > ", 1));
            QVERIFY(chart.pointText(chart.lastNumber() + 1).isEmpty());
        }
        // "history's players | current > offered | chosen"
        for (const QString row : {"Zoé,Éric,anne,Emma | Emma > anne,Emma,Éric,Zoé | Emma", "Zoé,Bruno |  > Bruno,Zoé | Bruno",
                                  "Zoé | Paul > Paul,Zoé | Paul", " |  >  | "}) {
            const QStringList f = row.split(QRegularExpression(" [|>] "));
            const QStringList offered = progressPlayers(f[0].split(u',', Qt::SkipEmptyParts), f[1]);
            QCOMPARE(offered.join(u',') + " | " + defaultPlayer(offered, f[1]), f[2] + " | " + f[3]);
        }
        // The personal records come from the record file, which is only read: never created,
        // never written. "file (two: Anne after the absolute records she holds, then Paul; - none)
        // | player > mini average"
        const QByteArray two = entryBytes("Anne", 300, 0) + entryBytes("Anne", 0, 350) + entryBytes("Anne", 300, 350)
            + entryBytes("Paul", 420, 9999);
        for (const QString row : {"two Anne > 300 350", "two Paul > 420 0", "two Zoé > 0 0", "- Anne > 0 0"}) {
            ScratchFolder folder;
            const QByteArray file = row.startsWith(u'-') ? QByteArray() : two;
            if (!file.isEmpty())
                folder.write("clvfic1.txt", file);
            ProgressData data;
            readPersonalRecords("clvfic1.txt", row.section(u' ', 1, 1), &data);
            QCOMPARE(QStringLiteral("%1 %2").arg(data.recordMini.value_or(0)).arg(data.recordAverage.value_or(0)), row.section(" > ", 1));
            QCOMPARE(folder.read("clvfic1.txt"), file);
            QCOMPARE(QFile::exists(folder.file("clvfic1.txt")), !file.isEmpty());
        }
        // "character wrong due > text", no-break spaces written "_", narrow ones "."
        for (const QString row : {"E 12 340 > E_: 12 fautes sur 340 (3,5_%)", "A 1 3 > A_: 1 faute sur 3 (33,3_%)",
                                  "Z 0 20 > Z_: 0 faute sur 20 (0,0_%)", "W 0 0 > W_: jamais demandé", "Œ 3 0 > Œ_: 3 fautes",
                                  "E 1500 12000 > E_: 1.500 fautes sur 12.000 (12,5_%)"}) {
            const QStringList f = row.split(u' ');
            QCOMPARE(KeyboardMap::describe(f[0], f[1].toLongLong(), f[2].toLongLong()).replace(QChar(0xA0), u'_').replace(QChar(0x202F), u'.'),
                     row.section(" > ", 1));
        }
        const QList<CharacterCount> counts = {{"A", 300, 3}, {"B", 90, 9}, {" ", 30, 3}, {"C", 10, 0}, {"D", 10, 1}, {"É", 30, 3}, {"F", 4, 2}, {"", 0, 50}};
        QCOMPARE(KeyboardMap::mostMissed(counts).join(u'|').replace(QChar(0xA0), u'_'),
                 "B_: 9 fautes sur 90 (10,0_%)|Espace_: 3 fautes sur 30 (10,0_%)|É_: 3 fautes sur 30 (10,0_%)|"
                 "A_: 3 fautes sur 300 (1,0_%)|F_: 2 fautes sur 4 (50,0_%)");
        QVERIFY(KeyboardMap::mostMissed({{"A", 5, 0}}).isEmpty());
        // The export: "player|shown > the two fields as written".
        for (const QString row : {"Zoé|ÉTÉ ET > Zoé|ÉTÉ ET", "Jo;\"le roi\"|A > \"Jo;\"\"le roi\"\"\"|A", "Léa | A > \"Léa \"|\" A\"",
                                  "Jo\nB|A\rB > \"Jo\nB\"|\"A\rB\""}) {
            const QString in = row.section(" > ", 0, 0), out = row.section(" > ", 1);
            const ItemLine item{7, in.section(u'|', 0, 0), 6, "2026-11-02T16:59:00.000Z", "2026-11-02T17:00:00.000Z", 900, 1000, 4, 3,
                                in.section(u'|', 1), 1100, 1000, 1};
            const QString line = QStringLiteral("7;%1;6;2026-11-02T16:59:00.000Z;2026-11-02T17:00:00.000Z;900;1000;4;3;%2;1100;1000;1\r\n")
                                     .arg(out.section(u'|', 0, 0), out.section(u'|', 1));
            QCOMPARE(HistoryCsv::build({item, item}),
                     "\xEF\xBB\xBF" + QStringLiteral("Partie;Joueur;Mode;Début;Fin;Mini;Moyenne;Fautes de la partie;Item;Affiché;"
                                                     "Temps (ms);Temps sans pénalité (ms);Fautes\r\n%1%1").arg(line).toUtf8());
        }
        QCOMPARE(HistoryCsv::suggestedFileName("Zoé"), "Clavimo - Zoé.csv");
        QCOMPARE(HistoryCsv::suggestedFileName("a/b:c?\n"), "Clavimo - a_b_c__.csv");
        ScratchFolder folder;
        QString error;
        QVERIFY(HistoryCsv::save(folder.file("export.csv"), "a;b\r\n", &error));
        QCOMPARE(folder.read("export.csv"), QByteArray("a;b\r\n"));
        folder.write("fichier", "garde");
        QVERIFY(!HistoryCsv::save(folder.file("fichier/export.csv"), "x", &error) && !error.isEmpty());
        QCOMPARE(folder.read("fichier"), QByteArray("garde"));
        // "averages oldest first | share of wrong keys, the class's | days since the latest
        // game (-1: an unreadable date) > trend | reasons".
        for (const QString row : {" | -1 0.1 | 1 > trop peu de parties | ", "500 900 900 | 0.1 0.1 | 1 > trop peu de parties | ",
                                  "500 500 500 500 | 0.1 0.1 | 1 > stable | ", "1000 1000 1049 1049 | 0.1 0.1 | 1 > stable | ",
                                  "1000 1000 1050 1050 | 0.1 0.1 | 1 > plus lent | ralentit",
                                  "1000 1000 950 950 | 0.1 0.1 | 1 > plus rapide | ", "500 500 9000 500 500 | 0.1 0.1 | 1 > stable | ",
                                  "600 600 600 600 600 500 500 500 500 500 | 0.1 0.1 | 1 > plus rapide | ",
                                  "0 0 0 0 | 0.1 0.1 | 1 > trop peu de parties | ", "500 500 500 500 | 0.12 0.1 | 1 > stable | ",
                                  "500 500 500 500 | 0.121 0.1 | 1 > stable | plus de fautes que la classe",
                                  "500 500 500 500 | 0.01 0 | 1 > stable | plus de fautes que la classe",
                                  " | -1 0.1 | 6 > trop peu de parties | ", " | -1 0.1 | 8 > trop peu de parties | aucune partie depuis 7_jours",
                                  " | -1 0.1 | -1 > trop peu de parties | aucune partie depuis 7_jours",
                                  "500 500 600 600 | 0.5 0.1 | 9 > plus lent | ralentit, plus de fautes que la classe, aucune partie depuis 7_jours"}) {
            const QStringList f = row.split(QRegularExpression(" [|>] "));
            QList<qint64> averages;
            for (const QString &a : f[0].split(u' ', Qt::SkipEmptyParts))
                averages << a.toLongLong();
            const ClassOverview::Trend trend = ClassOverview::trend(averages);
            const int days = f[2].toInt();
            const int reasons = ClassOverview::reasons(trend, f[1].section(u' ', 0, 0).toDouble(), f[1].section(u' ', 1).toDouble(),
                                                       days < 0 ? QDateTime() : kNow.addDays(-days), kNow);
            QCOMPARE(ClassOverview::trendText(trend) + " | " + ClassOverview::reasonText(reasons).replace(QChar(0xA0), u'_'), f[3] + " | " + f[4]);
        }
        // The share of wrong keys among the keys pressed, and the class's over every player;
        // the characters missed most: 10 wrong in 40 outranks 1 in 2 once smoothed toward the
        // player's rate, never-missed characters stay out, three at most.
        QCOMPARE(ClassOverview::wrongShare(0, 0), -1.0);
        const PlayerFigures anne{.player = {}, .lastPlayed = kNow, .recentAverages = {}, .recentWrong = 10, .recentDue = 90,
                                 .characters = {{"A", 2, 1, 0, 0}, {"B", 40, 10, 0, 0}, {"C", 400, 0, 0, 0}, {"D", 100, 3, 0, 0},
                                                {"E", 100, 2, 0, 0}, {"F", 10, 0, 0, 0}}};
        const PlayerFigures bruno{.player = {}, .lastPlayed = kNow, .recentAverages = {}, .recentWrong = 30, .recentDue = 70,
                                  .characters = {}};
        const ClassOverview overview = ClassOverview::build({anne, bruno}, 1, kNow);
        QCOMPARE(overview.classShare(), 0.2);
        QCOMPARE(overview.players()[0].missed, (QList<QChar>{u'B', u'A', u'D'}));
        QCOMPARE(overview.players()[0].reasons, 0);
        QCOMPARE(overview.players()[1].reasons, int(ClassOverview::MoreWrongKeys));
    }
};

QTEST_GUILESS_MAIN(TestProgress)
#include "tst_progress.moc"
