// Guards the player list dialog: which names it offers, how typing, Enter, selections and
// double-clicks build the list of players, and when OK and Annuler may leave it.
#include "game/records/PlayerFile.h"
#include "platform/Windows1252.h"
#include "support/EntryBytes.h"
#include "support/TestDoubles.h"
#include "support/WindowDriver.h"
#include "ui/PlayerListDialog.h"

#include <QTest>
#include <QtWidgets>

static QString items(const QAbstractItemModel *m)
{
    QString out;
    for (int i = 0; i < m->rowCount(); ++i)
        out += (i ? " " : "") + m->index(i, 0).data().toString();
    return out;
}

// A player file (the absolute records, one entry per known name, then `tail` stray bytes),
// `players` as the current list, and the dialog shown over them.
struct Opened
{
    TestServices services;
    ScratchFolder scratch;
    PlayerFile file;
    std::unique_ptr<PlayerListDialog> dlg;
    QComboBox *nameBox = nullptr;
    QListWidget *list = nullptr;

    explicit Opened(const QStringList &known, const QStringList &players = {}, int tail = 0)
    {
        QByteArray bytes = kPlaceholders;
        for (const QString &name : known)
            bytes += entryBytes(Windows1252::encode(name), 9999, 9999);
        scratch.write(QStringLiteral("clvfic1.txt"), bytes + QByteArray(tail, 'Z'));
        QVERIFY(file.open(QStringLiteral("clvfic1.txt")));
        dlg = std::make_unique<PlayerListDialog>(file, players, services.boxes);
        nameBox = dlg->findChild<QComboBox *>();
        list = dlg->findChild<QListWidget *>();
        dlg->show();
        QApplication::setActiveWindow(dlg.get());
        QTRY_VERIFY(QApplication::focusWidget() != nullptr);
    }
    // Keys go where the focus is, one event per character so that any letter arrives.
    void type(const QString &text) { typeText(QApplication::focusWidget(), text); }
    void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    QPushButton *button(const char *name) const { return dlg->findChild<QPushButton *>(QLatin1String(name)); }
    // A selection in the drop-down list with the keys: open it, move to the name, Enter.
    void pick(const QString &name)
    {
        QAbstractItemView *view = nameBox->view();
        nameBox->showPopup();
        QTRY_VERIFY(view->isVisible());
        view->setCurrentIndex(view->model()->index(nameBox->findText(name), 0));
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(!view->isVisible());
    }
};

class TestPlayerListDialog : public QObject
{
    Q_OBJECT

private slots:
    void knownNamesSortedAndTrimmed()
    {
        // Case ignored, accents in their place, duplicates kept; stray bytes are no name.
        Opened o({"zoé", "Paul", "  alice", "Émile", "Chloé", "Paul", "denis"}, {}, 12);
        QCOMPARE(items(o.nameBox->model()), QStringLiteral("alice Chloé denis Émile Paul Paul zoé"));
        QCOMPARE(o.nameBox->currentText(), QString());
    }

    // Without players every way out is refused with a box; with players, leaving without OK
    // drops every change and the caller keeps its list. The help box leaves nothing.
    void leaving()
    {
        for (const char *way : {"0 ok", "0 cancel", "0 escape", "0 close", "0 enter on cancel", "0 help", "2 cancel", "2 escape",
                                "2 close", "2 enter on cancel"}) {
            const QString how = QString::fromLatin1(way).mid(2);
            const bool none = way[0] == '0';
            Opened o({"Anne"}, none ? QStringList{} : QStringList{"Anne", "Bruno"});
            if (!none)
                o.type("zoé"), o.press(Qt::Key_Return);
            if (how == "escape")
                o.press(Qt::Key_Escape);
            else if (how == "close")
                o.dlg->close();
            else if (how == "enter on cancel")
                QTest::keyClick(o.button("cancel"), Qt::Key_Return);
            else
                QTest::mouseClick(o.button(qPrintable(how)), Qt::LeftButton);
            QVERIFY2(o.dlg->isVisible() == none && o.dlg->result() == int(QDialog::Rejected), way);
            const QString box = how == "help" ? "| Liste des joueurs | Ok | Information" : "| Liste des joueurs | Ok | Stop";
            QVERIFY2(o.services.boxes.shown.size() == int(none) && (!none || o.services.boxes.last().endsWith(box)), way);
        }
    }

    // The first Enter adds the name as names are shown, and among the known names in its
    // place; Enter on the same name again, typed otherwise, validates. Rows: first typed,
    // then typed again, the player, the known names afterwards.
    void enterAddsThenValidates()
    {
        for (const char *row : {"  paul |PAUL|Paul|Anne Paul Zoé", "an|AN|An|An Anne Zoé", "éLODIE|élodie|Élodie|Anne Élodie Zoé",
                                "anne|ANNE|Anne|Anne Zoé", "œdipe|ŒDIPE|Œdipe|Anne Œdipe Zoé"}) {
            const QStringList p = QString::fromUtf8(row).split('|');
            Opened o({"Anne", "Zoé"});
            o.type("   "); // a blank box adds nothing and validates nothing
            o.press(Qt::Key_Return);
            o.type(p[0]);
            o.press(Qt::Key_Return);
            QCOMPARE(items(o.list->model()) + '|' + items(o.nameBox->model()), p[2] + '|' + p[3]);
            QVERIFY(o.dlg->isVisible());
            o.type(p[1]); // replaces the name, left selected
            o.press(Qt::Key_Enter);
            QVERIFY2(!o.dlg->isVisible() && o.dlg->result() == int(QDialog::Accepted) && o.services.boxes.shown.isEmpty(), row);
            QCOMPARE(o.dlg->players(), QStringList{p[2]});
        }
    }

    void selectionsAndArrows()
    {
        Opened o({"Chloé", "Anne", "Bruno"});
        o.pick("Bruno"); // swallowed: only comes into the box
        QCOMPARE(o.nameBox->currentText() + '|' + items(o.list->model()), QStringLiteral("Bruno|"));
        o.pick("Chloé");
        o.pick("Chloé"); // already chosen: not added twice
        // Typing a known name and leaving the box is no selection.
        o.nameBox->setEditText(QString());
        o.type("Anne");
        o.list->setFocus();
        QTRY_VERIFY(o.list->hasFocus());
        // Arrows browse without adding; Enter adds the name shown, the next selection adds.
        o.nameBox->setFocus();
        for (Qt::Key k : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up})
            o.press(k);
        QCOMPARE(o.nameBox->currentText() + '|' + items(o.list->model()), QStringLiteral("Bruno|Chloé"));
        o.press(Qt::Key_Return);
        o.pick("Anne");
        QCOMPARE(items(o.list->model()), QStringLiteral("Chloé Bruno Anne"));
    }

    void doubleClicksThenOk()
    {
        Opened o({}, {"Anne", "Bruno", "Chloé"});
        o.type(" marie-charlotte-EUGÉNIE ");
        QTest::mouseDClick(o.nameBox->lineEdit(), Qt::LeftButton);
        QCOMPARE(o.nameBox->count(), 0); // only Enter makes a name known
        o.list->setCurrentRow(1); // the first click of a double-click selects
        QTest::mouseDClick(o.list->viewport(), Qt::LeftButton, {}, o.list->visualItemRect(o.list->item(1)).center());
        QTest::mouseClick(o.button("ok"), Qt::LeftButton);
        QVERIFY(!o.dlg->isVisible() && o.dlg->result() == int(QDialog::Accepted));
        QCOMPARE(o.dlg->players().join(' '), "Anne Chloé Marie-charlotte-eugénie");
    }
};

QTEST_MAIN(TestPlayerListDialog)
#include "tst_player_list_dialog.moc"
