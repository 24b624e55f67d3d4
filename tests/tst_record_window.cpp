// Guards the records list window: captions per mode, the lines it lists from the player file, its sizing rules and how it closes.
#include "app/Clvglob.h"
#include "platform/Twips.h"
#include "records/record.h"
#include "support/TestServices.h"

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

QByteArray recordBytes(const QString &name, qint16 mini, qint16 average)
{
    PlayerRecord r;
    r.setName(name);
    r.Mini = mini;
    r.Average = average;
    return r.toBytes();
}

// Two absolute records followed by the given players.
QByteArray playerFileBytes(const QList<QByteArray> &players)
{
    QByteArray bytes = recordBytes(QStringLiteral("xxxxx"), 9999, 0)
        + recordBytes(QStringLiteral("xxxxx"), 0, 9999);
    for (const QByteArray &p : players)
        bytes += p;
    return bytes;
}

void openPlayerFile(const ScratchFolder &folder, const QByteArray &bytes)
{
    folder.write(QStringLiteral("clvfic1.txt"), bytes);
    QVERIFY(clvglob().playerFile.open(folder.file(QStringLiteral("clvfic1.txt"))));
}

int outerHeightTwips(const record &w)
{
    return int(pixelsToTwips(w.frameGeometry().height()));
}

} // namespace

class TestRecordWindow : public QObject
{
    Q_OBJECT

private slots:
    void captionPerMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("caption");
        QTest::newRow("one letter") << 1 << "Record 1 lettre";
        QTest::newRow("six letters") << 6 << "Record 6 lettres";
    }

    void captionPerMode()
    {
        QFETCH(int, mode);
        QFETCH(QString, caption);
        TestServices services;
        ScratchFolder folder;
        openPlayerFile(folder, playerFileBytes({}));
        clvglob().GameMode = qint16(mode);
        record w;
        QCOMPARE(w.titre->title(), QStringLiteral("Record 1 lettre"));
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Liste des records"));
        QCOMPARE(w.titre->title(), caption);
        QCOMPARE(w.Label1->text(), QStringLiteral("Rang  Prénom                       Mini   Moyenne"));
    }

    void listsPlayersRanked()
    {
        TestServices services;
        ScratchFolder folder;
        const QByteArray bytes = playerFileBytes({recordBytes(QStringLiteral("Anne"), 250, 400),
                                                  recordBytes(QStringLiteral("Bruno"), 180, 400),
                                                  recordBytes(QStringLiteral("Céline"), 5, 300),
                                                  recordBytes(QStringLiteral("Denis"), 9999, 9999)});
        openPlayerFile(folder, bytes);
        record w;
        w.show();
        QCOMPARE(w.lines(), (QStringList{
                                " 1   Céline          5    300",
                                " 2   Bruno           180  400",
                                " 3   Anne            250  400",
                                " 4   Denis           9999 9999",
                            }));
        QCOMPARE(clvglob().FilePlayerCount, 4.0);
        // The buffer holds the last record read, and the file is left as it was.
        QCOMPARE(clvglob().RecordBuffer.Name.trimmed(), QStringLiteral("Denis"));
        QCOMPARE(folder.read(QStringLiteral("clvfic1.txt")), bytes);
    }

    void shortFiles_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("lines");
        QTest::newRow("missing file") << -1 << 0;
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("one record") << 19 << 0;
        QTest::newRow("absolute records only") << 38 << 0;
        QTest::newRow("fragment of a player") << 50 << 0;
        QTest::newRow("one player") << 57 << 1;
        QTest::newRow("one player and a fragment") << 70 << 1;
    }

    void shortFiles()
    {
        QFETCH(int, length);
        QFETCH(int, lines);
        TestServices services;
        ScratchFolder folder;
        if (length >= 0) {
            QByteArray bytes = playerFileBytes({recordBytes(QStringLiteral("Paul"), 1, 2),
                                                recordBytes(QStringLiteral("Zoé"), 3, 4)});
            openPlayerFile(folder, bytes.left(length));
        }
        record w;
        w.show();
        QCOMPARE(w.lines().size(), lines);
        QCOMPARE(clvglob().FilePlayerCount, std::max(length, 0) / 19.0 - 2);
    }

    void secondActivationRewritesSameLines()
    {
        TestServices services;
        ScratchFolder folder;
        openPlayerFile(folder, playerFileBytes({recordBytes(QStringLiteral("Paul"), 1, 2),
                                                recordBytes(QStringLiteral("Zoé"), 3, 1)}));
        record w;
        w.show();
        const QStringList first = w.lines();
        QCOMPARE(first.size(), 2);
        w.Form_Activate();
        w.Form_Activate();
        QCOMPARE(w.lines(), first);
    }

    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("closes");
        QTest::newRow("OK clicked") << "click" << true;
        QTest::newRow("Enter presses OK") << "enter" << true;
        QTest::newRow("title-bar close") << "close" << true;
        QTest::newRow("Escape does nothing") << "escape" << false;
    }

    void closing()
    {
        QFETCH(QString, how);
        QFETCH(bool, closes);
        TestServices services;
        ScratchFolder folder;
        openPlayerFile(folder, playerFileBytes({recordBytes(QStringLiteral("Paul"), 1, 2)}));
        record w;
        int result = -1;
        QTimer::singleShot(0, &w, [&] {
            if (how == QLatin1String("click"))
                QTest::mouseClick(w.ok, Qt::LeftButton);
            else if (how == QLatin1String("enter"))
                QTest::keyClick(w.Liste, Qt::Key_Return);
            else if (how == QLatin1String("escape"))
                QTest::keyClick(w.Liste, Qt::Key_Escape);
            else
                w.close();
            result = w.isVisible() ? -1 : w.result();
            w.done(-2);
        });
        w.exec();
        QCOMPARE(result != -1, closes);
    }

    void sizedAtLoad()
    {
        TestServices services;
        ScratchFolder folder;
        openPlayerFile(folder, playerFileBytes({}));
        record w;
        w.show();
        const QRect screen = w.screen()->geometry();
        const int screenTwips = int(pixelsToTwips(screen.height()));
        QCOMPARE(w.frameGeometry().width(), 329); // titre 4815 + 120 twips
        QVERIFY(qAbs(outerHeightTwips(w) - screenTwips / 2) <= 15);
        QCOMPARE(w.Liste->height(), w.frameGeometry().height() - 103); // 1545 twips
        QVERIFY(qAbs(w.frameGeometry().center().y() - screen.center().y()) <= 1);
        QVERIFY(qAbs(w.frameGeometry().center().x() - screen.center().x()) <= 1);
    }

    // Heights are outer heights in pixels, frame included.
    void resizeRules_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("listHeight");
        QTest::newRow("taller") << 0 << 500 << 500 << 397;
        QTest::newRow("shorter") << 0 << 150 << 150 << 47;
        QTest::newRow("just above the fixed part") << 0 << 104 << 104 << 1;
        // At or below the fixed part (1545 twips) the list keeps the height it had.
        QTest::newRow("fixed part only") << 150 << 103 << 150 << 47;
        QTest::newRow("too short for any list") << 200 << 60 << 200 << 97;
    }

    void resizeRules()
    {
        QFETCH(int, before);
        QFETCH(int, asked);
        QFETCH(int, height);
        QFETCH(int, listHeight);
        TestServices services;
        ScratchFolder folder;
        openPlayerFile(folder, playerFileBytes({}));
        record w;
        w.show();
        const QSize frame = w.frameGeometry().size() - w.size();
        if (before > 0) {
            w.resize(w.width(), before - frame.height());
            QTRY_COMPARE(w.frameGeometry().height(), before);
        }
        w.resize(400, asked - frame.height());
        QTRY_COMPARE(w.frameGeometry().size(), QSize(329, height));
        QCOMPARE(w.Liste->height(), listHeight);
        QCOMPARE(w.Liste->geometry().top(), 61); // 915 twips
        QCOMPARE(w.ok->y(), twipsToPixels(pixelsToTwips(height) - 1000));
        QCOMPARE(w.ok->geometry(), QRect(112, w.ok->y(), 85, 36));
    }

    void fiftyThousandPlayers()
    {
        TestServices services;
        ScratchFolder folder;
        QRandomGenerator rng(50000);
        QList<QByteArray> players;
        for (int i = 0; i < 50000; ++i)
            players << recordBytes(QStringLiteral("Joueur%1").arg(i), qint16(rng.bounded(100, 9999)),
                                   qint16(rng.bounded(150, 2000)));
        openPlayerFile(folder, playerFileBytes(players));

        QElapsedTimer timer;
        timer.start();
        record w;
        w.show();
        QCoreApplication::processEvents();
        const qint64 elapsed = timer.elapsed();
        qInfo("Opening the list of 50000 players took %lld ms", elapsed);
        QCOMPARE(w.lines().size(), 50000);
        QVERIFY(w.lines().first().startsWith(QStringLiteral(" 1   ")));
        QVERIFY(w.lines().last().startsWith(QStringLiteral(" 50000  ")));
    }
};

QTEST_MAIN(TestRecordWindow)
#include "tst_record_window.moc"
