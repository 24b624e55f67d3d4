// Guards the records list window: the lines it shows from the player file, how it sizes
// itself and its list, that no line hides behind its button, and how it closes.
#include "game/records/PlayerFile.h"
#include "support/EntryBytes.h"
#include "support/TestDoubles.h"
#include "ui/RecordsTableModel.h"
#include "ui/RecordsWindow.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>

// A records window shown over a player file holding the two absolute records, then `players`.
struct Fixture
{
    ScratchFolder folder;
    QByteArray bytes;
    PlayerFile file;
    std::unique_ptr<RecordsWindow> w;

    explicit Fixture(const QList<QByteArray> &players, int mode = 1) : bytes(kPlaceholders + players.join())
    {
        folder.write(QStringLiteral("clvfic1.txt"), bytes);
        QVERIFY(file.open(folder.file(QStringLiteral("clvfic1.txt"))));
        w = std::make_unique<RecordsWindow>(file, mode);
        w->show();
    }
    QTableView *list() const { return w->findChild<QTableView *>(); }
    QPushButton *ok() const { return w->findChild<QPushButton *>(); }
    int outerHeight() const { return w->frameGeometry().height(); }
    // The lines drawn, in order.
    QStringList lines() const
    {
        QStringList out;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            out << list()->model()->index(row, 0).data(RecordsTableModel::LineRole).toString();
        return out;
    }
};

class TestRecordsWindow : public QObject
{
    Q_OBJECT

private slots:
    // Ranked, a fragment of an entry left out, the mode's records named; a later activation
    // shows the same lines again; the file is only read. OK, the title-bar close and Enter
    // close the window; Escape does not.
    void listsPlayersRankedAndCloses()
    {
        Fixture f({entryBytes("Anne", 250, 400), entryBytes("C\xE9line", 5, 300), "frag"}, 6);
        QVERIFY(f.w->findChild<QGroupBox *>()->title().endsWith(QStringLiteral("6 lettres")));
        const QStringList ranked{" 1   Céline          5    300", " 2   Anne            250  400"};
        QCOMPARE(f.lines(), ranked);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(f.w.get(), &activate);
        QCOMPARE(f.lines(), ranked);
        QCOMPARE(f.folder.read(QStringLiteral("clvfic1.txt")), f.bytes);
        for (int how : {0, 1, int(Qt::Key_Return), int(Qt::Key_Escape)}) {
            f.w->show();
            how == 0 ? f.ok()->click() : how == 1 ? void(f.w->close()) : QTest::keyClick(f.list(), Qt::Key(how));
            QVERIFY2(f.w->isVisible() == (how == Qt::Key_Escape), qPrintable(QString::number(how)));
        }
    }

    // Half the screen high and centred at load; then the list takes what the height gives
    // beyond the fixed part, the button keeps its distance to the bottom, the width stays,
    // and a height at or below the fixed part is refused.
    void sizing()
    {
        Fixture f({});
        const QRect screen = f.w->screen()->geometry(), load = f.w->frameGeometry();
        QVERIFY(qAbs(load.height() - screen.height() / 2) <= 1);
        QVERIFY((load.center() - screen.center()).manhattanLength() <= 2);
        const int fixed = f.outerHeight() - f.list()->height(), bottom = f.outerHeight() - f.ok()->y();
        int height = f.outerHeight();
        for (int asked : {fixed + 300, fixed, fixed + 40, fixed - 40, fixed + 1}) {
            f.w->resize(f.w->width() + 50, asked - (f.outerHeight() - f.w->height()));
            height = asked > fixed ? asked : height;
            QTRY_COMPARE(f.outerHeight(), height);
            QCOMPARE(f.w->frameGeometry().width(), load.width());
            QCOMPARE(f.list()->height(), height - fixed);
            QCOMPARE(f.outerHeight() - f.ok()->y(), bottom);
        }
    }

    // The OK button stands over the bottom of the list's box; no line may be hidden behind
    // it, at the height of the load or a small one, scrolled to the top or to the end.
    void noLineBehindTheButton()
    {
        QList<QByteArray> players;
        for (int i = 0; i < 60; ++i)
            players << entryBytes(QByteArray("Joueur") + QByteArray::number(i), 300 + i, 500 + i);
        for (int height : {0, 180}) {
            Fixture f(players);
            if (height > 0)
                f.w->resize(f.w->width(), height);
            QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
            for (bool end : {false, true}) {
                end ? f.list()->scrollToBottom() : f.list()->scrollToTop();
                const QRect rows(f.list()->viewport()->mapTo(f.w.get(), QPoint(0, 0)), f.list()->viewport()->size());
                QVERIFY(!rows.intersects(f.ok()->geometry()));
                QVERIFY(f.list()->viewport()->rect().contains(f.list()->visualRect(f.list()->model()->index(end ? 59 : 0, 0))));
            }
        }
    }
};

QTEST_MAIN(TestRecordsWindow)
#include "tst_records_window.moc"
