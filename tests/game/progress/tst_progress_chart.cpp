// Guards what the progression chart shows, without drawing it: which games, the axes fitted
// to them, the days named above them, what each point says and the chart's summary.
#include "game/progress/ProgressChart.h"
#include "game/progress/ProgressData.h"

#include <QtTest>

namespace {

const QDate kToday(2026, 12, 7);

// Games from a line such as "07/12 16:03, 07/12 16:07 p, ? 100/900": a date ("dd/MM" in
// 2026, or "dd/MM/yyyy") and a time, or "?" for a date that cannot be read; then Mini and
// average when not 400/500, and "p" for a practice game. "500 x 16" is 500 games 16 hours
// apart, the last today at 16:00.
QList<GameSummary> games(const QString &line, const QTimeZone &zone)
{
    QList<GameSummary> out;
    if (line.contains(QLatin1String(" x "))) {
        const int count = line.section(' ', 0, 0).toInt(), hours = line.section(' ', 2, 2).toInt();
        const QDateTime last(kToday, QTime(16, 0), zone);
        for (int i = count - 1; i >= 0; --i)
            out.append(GameSummary{0, last.addSecs(-3600LL * hours * i), 400, 500, 0, false});
        return out;
    }
    for (const QString &entry : line.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        QStringList parts = entry.split(' ');
        GameSummary g{0, QDateTime(), 400, 500, 0, parts.last() == QLatin1String("p")};
        if (parts.first() != QLatin1String("?")) {
            QDate day = QDate::fromString(parts.first(), QStringLiteral("dd/MM/yyyy"));
            if (!day.isValid())
                day = QDate::fromString(parts.first() + QStringLiteral("/2026"), QStringLiteral("dd/MM/yyyy"));
            g.finishedAt = QDateTime(day, QTime::fromString(parts[1], QStringLiteral("hh:mm")), zone).toUTC();
            parts.removeFirst();
        }
        if (parts.size() > 1 && parts[1].contains('/')) {
            g.mini = parts[1].section('/', 0, 0).toInt();
            g.average = parts[1].section('/', 1, 1).toInt();
        }
        out.append(g);
    }
    return out;
}

ProgressData progress(const QList<GameSummary> &list, int recordMini = 0, int recordAverage = 0)
{
    ProgressData data;
    data.games = list;
    if (recordMini)
        data.recordMini = recordMini;
    if (recordAverage)
        data.recordAverage = recordAverage;
    return data;
}

} // namespace

class TestProgressChart : public QObject
{
    Q_OBJECT

private slots:
    // "[all:] games > shown": the games shown (numbers, of how many, practice ones), the axis
    // of the games with the step of its ticks, the times' axis, the days' bands, and the
    // summary's first sentence (no-break spaces written "_"). "all:" shows every game.
    void axes()
    {
        const QStringList rows = {
            " > 1–0 of 0 (0 p), x 0–1 by 1, 0–1100 ms |  | 0 partie, aucune partie ordinaire",
            "07/12 16:03 > 1–1 of 1 (0 p), x 0.5–1.5 by 1, 350–550 ms | 0.5 aujourd'hui | 1 partie aujourd'hui, à 16_h_03",
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
            QString line = row.section(" > ", 0, 0);
            const bool all = line.startsWith("all: "), inParis = line.startsWith("Paris: "), withRecords = line.contains(" (records");
            line = line.section(" (records", 0, 0).mid(all ? 5 : inParis ? 7 : 0);
            const QTimeZone zone = inParis ? QTimeZone("Europe/Paris") : QTimeZone::utc();
            const ProgressChart chart(progress(games(line, zone), withRecords ? 300 : 0, withRecords ? 900 : 0), all, zone, kToday);
            QStringList bands;
            for (const ProgressChart::Band &band : chart.bands())
                bands << QStringLiteral("%1 %2").arg(band.from).arg(band.label);
            QCOMPARE(QStringLiteral("%1–%2 of %3 (%4 p), x %5–%6 by %7, %8–%9 ms | ")
                             .arg(chart.firstNumber()).arg(chart.lastNumber()).arg(chart.total()).arg(chart.practiceAverages().size())
                             .arg(chart.left()).arg(chart.right()).arg(chart.step()).arg(chart.lowest()).arg(chart.highest())
                         + bands.join(", ") + " | " + chart.summary().section(u'.', 0, 0).replace(QChar(0xA0), u'_'),
                     row.section(" > ", 1));
            // Every game shown is one point, in its place, the Mini under the average.
            QList<int> numbers;
            for (const QList<QPointF> *points : {&chart.averages(), &chart.practiceAverages()})
                for (const QPointF &p : *points)
                    numbers << int(p.x());
            std::sort(numbers.begin(), numbers.end());
            for (qsizetype i = 0; i < numbers.size(); ++i)
                QCOMPARE(numbers[i], chart.firstNumber() + i);
            QCOMPARE(numbers.size(), chart.shown());
            for (qsizetype i = 0; i < chart.minis().size(); ++i)
                QCOMPARE(chart.minis()[i].x(), chart.averages()[i].x());
        }
    }

    // "averages, oldest first, negative for practice > the summary after its first sentence":
    // the best and last averages of the ordinary games, and the trend.
    void summaryFigures()
    {
        const QString figures = " Meilleure moyenne_: %1 millisecondes. Dernière moyenne_: %2 millisecondes. Tendance_: ";
        const QStringList rows = {"700 > 1 partie." + figures.arg(700).arg(700) + "pas encore assez de parties.",
                                  "900 800 -500 850 600 650 > 6 parties dont 1 d'entraînement." + figures.arg(600).arg(650)
                                      + "en progrès, moyennes plus rapides qu'avant.",
                                  "500 520 700 710 > 4 parties." + figures.arg(500).arg(710) + "en recul, moyennes plus lentes qu'avant.",
                                  "600 610 605 600 590 600 610 600 605 600 > 10 parties." + figures.arg(590).arg(600) + "stable.",
                                  "-500 > 1 partie dont 1 d'entraînement, aucune partie ordinaire."};
        for (const QString &row : rows) {
            ProgressData data;
            for (const QString &a : row.section(" > ", 0, 0).split(u' '))
                data.games.append(GameSummary{0, QDateTime(), std::abs(a.toLongLong()) / 2, std::abs(a.toLongLong()), 0, a.startsWith(u'-')});
            QCOMPARE(ProgressChart(data, true, QTimeZone::utc(), kToday).summary().replace(QChar(0xA0), u'_'), row.section(" > ", 1));
        }
    }

    // "games > what the last point says" ("_" no-break space, "." narrow one); nothing past the last game.
    void pointText()
    {
        for (const QString row : {"07/12 16:03, 01/12 09:05 380/1234 > Partie 2, le 1er décembre 2026 à 9_h_05_: Mini 380 ms, moyenne 1.234 ms",
                                  "07/12 16:03 300/450 p > Partie 1 (entraînement), le 7 décembre 2026 à 16_h_03_: Mini 300 ms, moyenne 450 ms",
                                  "? 300/450 > Partie 1, date illisible_: Mini 300 ms, moyenne 450 ms"}) {
            const ProgressChart chart(progress(games(row.section(" > ", 0, 0), QTimeZone::utc())), false, QTimeZone::utc(), kToday);
            QCOMPARE(chart.pointText(chart.lastNumber()).replace(QChar(0xA0), u'_').replace(QChar(0x202F), u'.'), row.section(" > ", 1));
            QVERIFY(chart.pointText(chart.lastNumber() + 1).isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestProgressChart)
#include "tst_progress_chart.moc"
