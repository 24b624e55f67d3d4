// Guards the player list dialog: which names it offers, how typing, Enter, selections and
// double-clicks build the list of players, and when OK and Annuler may leave it.
#include "game/records/PlayerFile.h"
#include "platform/Windows1252.h"
#include "support/EntryBytes.h"
#include "support/TestDoubles.h"
#include "ui/PlayerListDialog.h"

#include <QTest>
#include <QtWidgets>

static QStringList items(const QAbstractItemModel *m)
{
    QStringList out;
    for (int i = 0; i < m->rowCount(); ++i)
        out << m->index(i, 0).data().toString();
    return out;
}

// A player file (the absolute records, one record per known name, then `tail` stray
// bytes), `players` as the current list, and the dialog shown over them.
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
    void type(const QString &text)
    {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c), {});
    }
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
        QCOMPARE(items(o.nameBox->model()), (QStringList{"alice", "Chloé", "denis", "Émile", "Paul", "Paul", "zoé"}));
        QCOMPARE(o.nameBox->currentText(), QString());
    }

    // Without players every way out is refused with a box; with players, leaving without OK
    // drops every change and the caller keeps its list. The help box leaves nothing.
    void leaving()
    {
        enum How { Ok, Annuler, Escape, Close, EnterOnAnnuler, Help };
        for (const QStringList &players : {QStringList(), QStringList{"Anne", "Bruno"}})
            for (How how : {Ok, Annuler, Escape, Close, EnterOnAnnuler, Help}) {
                if (!players.isEmpty() && (how == Ok || how == Help))
                    continue;
                Opened o({"Anne"}, players);
                if (!players.isEmpty())
                    o.type("zoé"), o.press(Qt::Key_Return);
                switch (how) {
                case Escape: o.press(Qt::Key_Escape); break;
                case Close: o.dlg->close(); break;
                case EnterOnAnnuler: QTest::keyClick(o.button("cancel"), Qt::Key_Return); break;
                default: QTest::mouseClick(o.button(how == Ok ? "ok" : how == Annuler ? "cancel" : "help"), Qt::LeftButton);
                }
                const QString row = QStringLiteral("%1 players, way %2").arg(players.size()).arg(how);
                QVERIFY2(o.dlg->isVisible() == players.isEmpty(), qPrintable(row));
                QVERIFY2(o.dlg->result() == int(QDialog::Rejected), qPrintable(row));
                QVERIFY2(o.services.boxes.shown.size() == (players.isEmpty() ? 1 : 0), qPrintable(row));
                if (players.isEmpty())
                    QVERIFY(o.services.boxes.last().endsWith(how == Help ? "| Liste des joueurs | Ok | Information"
                                                                         : "| Liste des joueurs | Ok | Stop"));
            }
    }

    // The first Enter adds the name as names are shown, and among the known names in its
    // place; Enter on the same name again, typed otherwise, validates.
    void enterAddsThenValidates_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("known");
        QTest::newRow("spaces and case") << "  paul " << "PAUL" << "Paul" << "Anne Paul Zoé";
        QTest::newRow("start of a known name, not completed") << "an" << "AN" << "An" << "An Anne Zoé";
        QTest::newRow("accented capital") << "éLODIE" << "élodie" << "Élodie" << "Anne Élodie Zoé";
        QTest::newRow("a known name") << "anne" << "ANNE" << "Anne" << "Anne Zoé";
        QTest::newRow("capitals only in the code page") << "œdipe" << "ŒDIPE" << "Œdipe" << "Anne Œdipe Zoé";
    }
    void enterAddsThenValidates()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, name);
        Opened o({"Anne", "Zoé"});
        o.type("   "); // a blank box adds nothing and validates nothing
        o.press(Qt::Key_Return);
        o.type(first);
        o.press(Qt::Key_Return);
        QCOMPARE(items(o.list->model()), QStringList{name});
        QTEST(items(o.nameBox->model()).join(QLatin1Char(' ')), "known");
        QVERIFY(o.dlg->isVisible());
        o.type(second); // replaces the name, left selected
        o.press(Qt::Key_Enter);
        QVERIFY(!o.dlg->isVisible() && o.dlg->result() == int(QDialog::Accepted));
        QCOMPARE(o.dlg->players(), QStringList{name});
        QVERIFY(o.services.boxes.shown.isEmpty());
    }

    void selectionsAndArrows()
    {
        Opened o({"Chloé", "Anne", "Bruno"});
        o.pick("Bruno"); // swallowed: only comes into the box
        QCOMPARE(o.nameBox->currentText(), QStringLiteral("Bruno"));
        QCOMPARE(o.list->count(), 0);
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
        QCOMPARE(o.nameBox->currentText(), QStringLiteral("Bruno"));
        QCOMPARE(items(o.list->model()), QStringList{"Chloé"});
        o.press(Qt::Key_Return);
        o.pick("Anne");
        QCOMPARE(items(o.list->model()), (QStringList{"Chloé", "Bruno", "Anne"}));
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
        QCOMPARE(o.dlg->players(), (QStringList{"Anne", "Chloé", "Marie-charlotte-eugénie"}));
    }

    // The names are read and sorted once: one sorted insertion per name took half a minute
    // with a large class. The bound is far above the benchmark's figure.
    void aHundredThousandNamesOpenAtOnce()
    {
        ScratchFolder scratch;
        scratch.write(QStringLiteral("clvfic1.txt"), classFile(100000));
        PlayerFile file;
        QVERIFY(file.open(QStringLiteral("clvfic1.txt")));
        TestServices services;
        QElapsedTimer opening;
        opening.start();
        PlayerListDialog dialog(file, {}, services.boxes);
        QVERIFY2(opening.elapsed() < 5000, qPrintable(QString::number(opening.elapsed())));
        QCOMPARE(dialog.findChild<QComboBox *>()->count(), 100000);
    }
};

QTEST_MAIN(TestPlayerListDialog)
#include "tst_player_list_dialog.moc"
