// Guards the records list window: captions per mode, the lines it lists from the player file, its sizing rules and how it closes.
#include "game/PlayerFile.h"
#include "support/RecordBytes.h"
#include "support/TestDoubles.h"
#include "ui/RecordsWindow.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTableView>
#include <QPushButton>
#include <QScreen>
#include <QTest>

// A records window over a player file holding the two absolute records, then `players`.
struct Fixture
{
    ScratchFolder folder;
    QByteArray bytes;
    PlayerFile file;
    std::unique_ptr<RecordsWindow> w;

    explicit Fixture(const QList<QByteArray> &players, int mode = 1)
        : bytes(kPlaceholders + players.join())
    {
        folder.write(QStringLiteral("clvfic1.txt"), bytes);
        QVERIFY(file.open(folder.file(QStringLiteral("clvfic1.txt"))));
        w = std::make_unique<RecordsWindow>(file, mode);
    }
    QString title() const { return w->findChild<QGroupBox *>()->title(); }
    QTableView *list() const { return w->findChild<QTableView *>(); }
    QPushButton *ok() const { return w->findChild<QPushButton *>(); }
    QAbstractItemModel *model() const { return list()->model(); }
};

class TestRecordsWindow : public QObject
{
    Q_OBJECT

private slots:
    void listsPlayersRanked()
    {
        Fixture f({recordBytes("Anne", 250, 400), recordBytes("Bruno", 180, 400), recordBytes("C\xE9line", 5, 300),
                   recordBytes("Denis", 9999, 9999), "frag"}, 6);
        f.w->show();
        QCOMPARE(f.w->windowTitle(), QStringLiteral("Liste des records"));
        QCOMPARE(f.title(), QStringLiteral("Record 6 lettres"));
        QCOMPARE(f.w->findChild<QLabel *>()->text(), QStringLiteral("Rang  Prénom                       Mini   Moyenne"));
        const QStringList ranked{" 1   Céline          5    300", " 2   Bruno           180  400",
                                 " 3   Anne            250  400", " 4   Denis           9999 9999"};
        QCOMPARE(f.w->lines(), ranked);
        QEvent activate(QEvent::WindowActivate); // a later activation rewrites the same lines
        QApplication::sendEvent(f.w.get(), &activate);
        QCOMPARE(f.w->lines(), ranked);
        QCOMPARE(f.folder.read(QStringLiteral("clvfic1.txt")), f.bytes);
    }

    void closing()
    {
        // OK, the title-bar close and Enter close the window; Escape does not.
        for (int how : {0, 1, int(Qt::Key_Return), int(Qt::Key_Escape)}) {
            Fixture f({recordBytes("Paul", 1, 2)});
            f.w->show();
            how == 0 ? f.ok()->click() : how == 1 ? void(f.w->close()) : QTest::keyClick(f.list(), Qt::Key(how));
            QVERIFY2(f.w->isVisible() == (how == Qt::Key_Escape), qPrintable(QString::number(how)));
        }
    }

    void sizing()
    {
        Fixture f({});
        f.w->show();
        QCOMPARE(f.title(), QStringLiteral("Record 1 lettre"));
        QVERIFY(f.w->lines().isEmpty());
        const QRect screen = f.w->screen()->geometry();
        QCOMPARE(f.w->frameGeometry().width(), 329);
        QVERIFY(qAbs(f.w->frameGeometry().height() - screen.height() / 2) <= 1);
        QVERIFY((f.w->frameGeometry().center() - screen.center()).manhattanLength() <= 2);
        // Outer heights in pixels, asked then got, and the list's height; at or below the fixed
        // part (103 pixels) the list keeps the height it had.
        const int steps[][3] = {{500, 500, 397}, {103, 500, 397}, {150, 150, 47}, {60, 150, 47}, {104, 104, 1}};
        for (const auto &[asked, height, list] : steps) {
            f.w->resize(400, asked - (f.w->frameGeometry().height() - f.w->height()));
            QTRY_COMPARE(f.w->frameGeometry().size(), QSize(329, height));
            QCOMPARE(f.list()->geometry(), QRect(0, 61, 321, list));
            QCOMPARE(f.ok()->geometry(), QRect(112, height - 67, 85, 36));
        }
    }

    // The OK button stands over the bottom of the list's box; no line may be hidden behind
    // it, at the designed height or a small one, scrolled to the top or to the end.
    void noLineBehindTheButton_data()
    {
        QTest::addColumn<int>("height");
        QTest::newRow("designed height") << 0;
        QTest::newRow("a short window") << 180;
    }

    void noLineBehindTheButton()
    {
        QFETCH(int, height);
        QList<QByteArray> players;
        for (int i = 0; i < 60; ++i)
            players << recordBytes(QByteArray("Joueur") + QByteArray::number(i), 300 + i, 500 + i);
        Fixture f(players);
        f.w->show();
        if (height > 0)
            f.w->resize(f.w->width(), height);
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
        const QRect button = f.ok()->geometry();
        for (bool end : {false, true}) {
            end ? f.list()->scrollToBottom() : f.list()->scrollToTop();
            const QRect rows(f.list()->viewport()->mapTo(f.w.get(), QPoint(0, 0)), f.list()->viewport()->size());
            QVERIFY2(!rows.intersects(button), qPrintable(QStringLiteral("rows %1,%2 %3x%4 under the button at %5")
                                                               .arg(rows.x()).arg(rows.y()).arg(rows.width())
                                                               .arg(rows.height()).arg(button.y())));
            const int last = end ? 59 : 0;
            const QRect line = f.list()->visualRect(f.model()->index(last, 0));
            QVERIFY(f.list()->viewport()->rect().contains(line));
        }
    }
};

QTEST_MAIN(TestRecordsWindow)
#include "tst_records_window.moc"
