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
    // The games shown (numbers, of how many, practice ones), the axis of the games with the
    // step of its ticks, the times' axis, the days' bands, and the summary's first sentence
    // (no-break spaces written "_").
    void axes_data()
    {
        QTest::addColumn<QString>("games");
        QTest::addColumn<bool>("all");
        QTest::addColumn<QString>("shown");
        QTest::newRow("none") << "" << false << "1–0 of 0 (0 p), x 0–1 by 1, 0–1100 ms |  | 0 partie, aucune partie ordinaire";
        QTest::newRow("one game") << "07/12 16:03" << false
                                  << "1–1 of 1 (0 p), x 0.5–1.5 by 1, 350–550 ms | 0.5 aujourd'hui | 1 partie aujourd'hui, à 16_h_03";
        QTest::newRow("three in ten minutes")
            << "07/12 16:03, 07/12 16:07 p, 07/12 16:11" << false
            << "1–3 of 3 (1 p), x 0.5–3.5 by 1, 350–550 ms | 0.5 aujourd'hui | 3 parties aujourd'hui, de 16_h_03 à 16_h_11, dont 1 d'entraînement";
        QTest::newRow("over three days") << "05/12 09:30, 05/12 18:00, 06/12 10:00, 07/12 08:15" << false
                                         << "1–4 of 4 (0 p), x 0.5–4.5 by 1, 350–550 ms | 0.5 05/12, 2.5 hier, 3.5 aujourd'hui | 4 parties du 5 au 7 décembre 2026";
        QTest::newRow("500, latest 50") << "500 x 16" << false
                                        << "451–500 of 500 (0 p), x 450.5–500.5 by 5, 350–550 ms | 450.5 05/11–09/11, 458.5 10/11–14/11, 465.5 15/11–19/11, "
                                           "473.5 20/11–24/11, 480.5 25/11–29/11, 488.5 30/11–07/12 | Les 50 dernières parties sur 500, du 5 novembre au 7 décembre 2026";
        QTest::newRow("500 over 500 days, all")
            << "500 x 24" << true
            << "1–500 of 500 (0 p), x 0.5–500.5 by 50, 350–550 ms | 0.5 26/07/25, 63.5 27/09/25, 126.5 29/11/25, 189.5 31/01/26, "
               "252.5 04/04/26, 315.5 06/06/26, 378.5 08/08/26 | 500 parties du 26 juillet 2025 au 7 décembre 2026";
        QTest::newRow("days in the zone given") << "Paris: 07/12 23:30, 08/12 00:30" << false
                                                << "1–2 of 2 (0 p), x 0.5–2.5 by 1, 350–550 ms | 0.5 aujourd'hui, 1.5 08/12 | 2 parties du 7 au 8 décembre 2026";
        QTest::newRow("over new year") << "31/12/2025 23:50, 01/01 00:10" << false
                                       << "1–2 of 2 (0 p), x 0.5–2.5 by 1, 350–550 ms | 0.5 31/12/25, 1.5 01/01/26 | 2 parties du 31 décembre 2025 au 1er janvier 2026";
        QTest::newRow("records, a date that cannot be read") << "? 350/450, 02/11 17:00 400/600 (records 300/900)" << false
                                                            << "1–2 of 2 (0 p), x 0.5–2.5 by 1, 240–960 ms | 0.5 02/11 | 2 parties le 2 novembre 2026, à 17_h_00";
        QTest::newRow("never below 0 ms") << "07/12 16:03 20/30" << false
                                          << "1–1 of 1 (0 p), x 0.5–1.5 by 1, 0–80 ms | 0.5 aujourd'hui | 1 partie aujourd'hui, à 16_h_03";
    }
    void axes()
    {
        QFETCH(QString, games);
        QFETCH(bool, all);
        const bool inParis = games.startsWith(QLatin1String("Paris: "));
        const QTimeZone zone = inParis ? QTimeZone("Europe/Paris") : QTimeZone::utc();
        const bool withRecords = games.contains(QLatin1String(" (records"));
        const QString line = games.section(QStringLiteral(" (records"), 0, 0).mid(inParis ? 7 : 0);
        const ProgressChart chart(progress(::games(line, zone), withRecords ? 300 : 0, withRecords ? 900 : 0), all,
                                  zone, kToday);
        QStringList bands;
        for (const ProgressChart::Band &band : chart.bands())
            bands << QStringLiteral("%1 %2").arg(band.from).arg(band.label);
        QTEST(QStringLiteral("%1–%2 of %3 (%4 p), x %5–%6 by %7, %8–%9 ms | ")
                      .arg(chart.firstNumber())
                      .arg(chart.lastNumber())
                      .arg(chart.total())
                      .arg(chart.practiceAverages().size())
                      .arg(chart.left())
                      .arg(chart.right())
                      .arg(chart.step())
                      .arg(chart.lowest())
                      .arg(chart.highest())
                  + bands.join(QStringLiteral(", ")) + QStringLiteral(" | ") + chart.summary().section('.', 0, 0).replace(QChar(0xA0), '_'),
              "shown");
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

    // The summary's figures: the best and last averages of the ordinary games, the trend.
    void summaryFigures_data()
    {
        QTest::addColumn<QList<qint64>>("averages"); // oldest first; negative: a practice game
        QTest::addColumn<QString>("summary");
        QTest::newRow("one game") << QList<qint64>{700}
                                  << "1 partie. Meilleure moyenne\u00A0: 700 millisecondes. Dernière moyenne\u00A0: 700 "
                                     "millisecondes. Tendance\u00A0: pas encore assez de parties.";
        QTest::newRow("faster") << QList<qint64>{900, 800, -500, 850, 600, 650}
                                << "6 parties dont 1 d'entraînement. Meilleure moyenne\u00A0: 600 millisecondes. Dernière "
                                   "moyenne\u00A0: 650 millisecondes. Tendance\u00A0: en progrès, moyennes plus rapides qu'avant.";
        QTest::newRow("slower") << QList<qint64>{500, 520, 700, 710}
                                << "4 parties. Meilleure moyenne\u00A0: 500 millisecondes. Dernière moyenne\u00A0: 710 "
                                   "millisecondes. Tendance\u00A0: en recul, moyennes plus lentes qu'avant.";
        QTest::newRow("steady") << QList<qint64>{600, 610, 605, 600, 590, 600, 610, 600, 605, 600}
                                << "10 parties. Meilleure moyenne\u00A0: 590 millisecondes. Dernière moyenne\u00A0: 600 "
                                   "millisecondes. Tendance\u00A0: stable.";
        QTest::newRow("practice only") << QList<qint64>{-500} << "1 partie dont 1 d'entraînement, aucune partie ordinaire.";
    }
    void summaryFigures()
    {
        QFETCH(QList<qint64>, averages);
        ProgressData data;
        for (qint64 a : averages)
            data.games.append(GameSummary{0, QDateTime(), std::abs(a) / 2, std::abs(a), 0, a < 0});
        QTEST(ProgressChart(data, true, QTimeZone::utc(), kToday).summary(), "summary");
    }


    void pointText_data()
    {
        QTest::addColumn<QString>("games");
        QTest::addColumn<QString>("text"); // of the last game
        QTest::newRow("ordinary") << "07/12 16:03, 01/12 09:05 380/1234"
                                  << "Partie 2, le 1er décembre 2026 à 9 h 05 : Mini 380 ms, moyenne 1 234 ms";
        QTest::newRow("practice") << "07/12 16:03 300/450 p" << "Partie 1 (entraînement), le 7 décembre 2026 à 16 h 03 : Mini 300 ms, moyenne 450 ms";
        QTest::newRow("unreadable date") << "? 300/450" << "Partie 1, date illisible : Mini 300 ms, moyenne 450 ms";
    }
    void pointText()
    {
        QFETCH(QString, games);
        const ProgressChart chart(progress(::games(games, QTimeZone::utc())), false, QTimeZone::utc(), kToday);
        QTEST(chart.pointText(chart.lastNumber()), "text");
        QVERIFY(chart.pointText(chart.lastNumber() + 1).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestProgressChart)
#include "tst_progress_chart.moc"
