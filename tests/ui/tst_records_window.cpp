// Guards the records list window: the lines it shows from the player file, how it sizes
// itself and its list, that no line hides behind its button, and how it closes.
#include "game/records/PlayerFile.h"
#include "support/EntryBytes.h"
#include "support/TestDoubles.h"
#include "ui/RecordsTableModel.h"
#include "ui/RecordsWindow.h"

#include <QtTest>
#include <QtWidgets>

class TestRecordsWindow : public QObject
{
    Q_OBJECT

    ScratchFolder folder;
    PlayerFile file;
    std::unique_ptr<RecordsWindow> w;
    QTableView *list = nullptr;
    QPushButton *ok = nullptr;

    // The window shown over a player file of the two absolute records, then `players`.
    void open(const QByteArray &players, int mode = 1)
    {
        w.reset();
        folder.write(QStringLiteral("clvfic1.txt"), kPlaceholders + players);
        QVERIFY(file.open(folder.file(QStringLiteral("clvfic1.txt"))));
        w = std::make_unique<RecordsWindow>(file, mode);
        w->show();
        list = w->findChild<QTableView *>();
        ok = w->findChild<QPushButton *>();
    }
    QString lines() const
    {
        QStringList out;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            out << list->model()->index(row, 0).data(RecordsTableModel::LineRole).toString().simplified();
        return out.join('|');
    }
    int outerHeight() const { return w->frameGeometry().height(); }

private slots:
    // Ranked, a fragment of an entry left out, the mode's records named; a later activation
    // shows the same lines again; the file is only read. OK, the title-bar close and Enter
    // close the window; Escape does not.
    void listsPlayersRankedAndCloses()
    {
        const QByteArray players = entryBytes("Anne", 250, 400) + entryBytes("C\xE9line", 5, 300) + "frag";
        open(players, 6);
        QVERIFY(w->findChild<QGroupBox *>()->title().endsWith(QStringLiteral("6 lettres")));
        QCOMPARE(lines(), QStringLiteral("1 Céline 5 300|2 Anne 250 400"));
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(w.get(), &activate);
        QCOMPARE(lines(), QStringLiteral("1 Céline 5 300|2 Anne 250 400"));
        QCOMPARE(folder.read(QStringLiteral("clvfic1.txt")), kPlaceholders + players);
        for (int how : {0, 1, int(Qt::Key_Return), int(Qt::Key_Escape)}) {
            w->show();
            how == 0 ? ok->click() : how == 1 ? void(w->close()) : QTest::keyClick(list, Qt::Key(how));
            QVERIFY2(w->isVisible() == (how == Qt::Key_Escape), qPrintable(QString::number(how)));
        }
    }

    // Half the screen high and centred at load; then the list takes what the height gives
    // beyond the fixed part, the button keeps its distance to the bottom, the width stays,
    // and a height at or below the fixed part is refused.
    void sizing()
    {
        open({});
        const QRect screen = w->screen()->geometry(), load = w->frameGeometry();
        QVERIFY(qAbs(load.height() - screen.height() / 2) <= 1 && (load.center() - screen.center()).manhattanLength() <= 2);
        const int fixed = outerHeight() - list->height(), bottom = outerHeight() - ok->y();
        int height = outerHeight();
        for (int asked : {fixed + 300, fixed, fixed + 40, fixed - 40, fixed + 1}) {
            w->resize(w->width() + 50, asked - (outerHeight() - w->height()));
            height = asked > fixed ? asked : height;
            QTRY_COMPARE(outerHeight(), height);
            QVERIFY(w->frameGeometry().width() == load.width() && list->height() == height - fixed && outerHeight() - ok->y() == bottom);
        }
    }

    // The OK button stands over the bottom of the list's box; no line may be hidden behind
    // it, at the height of the load or a small one, scrolled to the top or to the end.
    void noLineBehindTheButton()
    {
        QByteArray players;
        for (int i = 0; i < 60; ++i)
            players += entryBytes(QByteArray("Joueur") + QByteArray::number(i), 300 + i, 500 + i);
        for (int height : {0, 180}) {
            open(players);
            if (height > 0)
                w->resize(w->width(), height);
            QVERIFY(QTest::qWaitForWindowExposed(w.get()));
            for (bool end : {false, true}) {
                end ? list->scrollToBottom() : list->scrollToTop();
                const QRect rows(list->viewport()->mapTo(w.get(), QPoint(0, 0)), list->viewport()->size());
                QVERIFY(!rows.intersects(ok->geometry()) && list->viewport()->rect().contains(list->visualRect(list->model()->index(end ? 59 : 0, 0))));
            }
        }
    }
};

QTEST_MAIN(TestRecordsWindow)
#include "tst_records_window.moc"
