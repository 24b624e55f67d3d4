// Guards what the progression window shows besides the chart: the players offered, the
// personal records read without writing, the wording of a character's figures, the most
// missed characters, and the spreadsheet export.
#include "game/keyboard/KeyboardMap.h"
#include "game/progress/HistoryCsv.h"
#include "game/progress/ProgressData.h"
#include "support/EntryBytes.h"
#include "support/TestDoubles.h"

#include <QtTest>

class TestProgressData : public QObject
{
    Q_OBJECT

private slots:
    // "history's players | current > offered | chosen"
    void playersOffered()
    {
        for (const QString row : {"Zoé,Éric,anne,Emma | Emma > anne,Emma,Éric,Zoé | Emma", "Zoé,Bruno |  > Bruno,Zoé | Bruno",
                                  "Zoé | Paul > Paul,Zoé | Paul", " |  >  | "}) {
            const QStringList f = row.split(QRegularExpression(" [|>] "));
            const QStringList offered = progressPlayers(f[0].split(u',', Qt::SkipEmptyParts), f[1]);
            QCOMPARE(offered.join(u',') + " | " + defaultPlayer(offered, f[1]), f[2] + " | " + f[3]);
        }
    }

    // The personal records come from the record file, which is only read: never created,
    // never written. "file (players after the placeholders, - none) | player > mini average"
    void personalRecordsReadOnly()
    {
        const QByteArray abs = entryBytes("Anne", 300, 0) + entryBytes("Anne", 0, 350);
        const QMap<QString, QByteArray> files = {{"-", {}}, {"abs", abs}, {"two", abs + entryBytes("Anne", 300, 350) + entryBytes("Paul", 420, 9999)},
                                                 {"long", abs + entryBytes("Maximilien-Alex", 500, 600)}};
        for (const QString row : {"two Anne > 300 350", "two Paul > 420 0", "two Zoé > 0 0", "abs Anne > 0 0", "- Anne > 0 0",
                                  "long Maximilien-Alexandre > 500 600"}) {
            ScratchFolder folder;
            const QByteArray file = files[row.section(u' ', 0, 0)];
            if (!file.isEmpty())
                folder.write("clvfic1.txt", file);
            ProgressData data;
            readPersonalRecords("clvfic1.txt", row.section(u' ', 1, 1), &data);
            QCOMPARE(QStringLiteral("%1 %2").arg(data.recordMini.value_or(0)).arg(data.recordAverage.value_or(0)), row.section(" > ", 1));
            QCOMPARE(folder.read("clvfic1.txt"), file);
            QCOMPARE(QFile::exists(folder.file("clvfic1.txt")), !file.isEmpty());
        }
    }

    // "character wrong due > text", no-break spaces written "_", narrow ones "."
    void describeAndMostMissed()
    {
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
    }

    // "player|shown > the two fields as written"
    void csv()
    {
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
    }
};

QTEST_GUILESS_MAIN(TestProgressData)
#include "tst_progress_data.moc"
