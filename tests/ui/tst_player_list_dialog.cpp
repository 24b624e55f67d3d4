// Guards the player list dialog: which names it offers, how typing, Enter, selections and
// double-clicks build the list of players, and when OK and Annuler may leave it.
#include "game/PlayerFile.h"
#include "platform/Windows1252.h"
#include "support/RecordBytes.h"
#include "support/TestDoubles.h"
#include "ui/PlayerListDialog.h"

#include <QTest>
#include <QtWidgets>

static const QString kHelp = QStringLiteral(
    "Tapez votre (ou vos) prénom(s)  ou choisissez le(s) dans la liste si vous avez déjà joué "
    "puis OK pour valider la liste des joueurs ou ANNULER pour reconduire la liste précédente");

enum class Leave { Ok, Annuler, Escape, TitleBarClose, Help, EnterOnAnnuler };
Q_DECLARE_METATYPE(Leave)

static QStringList items(const QAbstractItemModel *m)
{
    QStringList out;
    for (int i = 0; i < m->rowCount(); ++i)
        out << m->index(i, 0).data().toString();
    return out;
}

// A player file (two absolute records, one record per known name, then `tail` stray bytes),
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
            bytes += recordBytes(Windows1252::encode(name), 9999, 9999);
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
    void enter(const QString &text) { type(text); press(Qt::Key_Return); }
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

    // Without players every way out is refused; with players leaving drops every change.
    void leaving_data()
    {
        QTest::addColumn<Leave>("how");
        QTest::addColumn<QStringList>("players");
        QTest::newRow("OK refused") << Leave::Ok << QStringList();
        QTest::newRow("Annuler refused") << Leave::Annuler << QStringList();
        QTest::newRow("Escape refused") << Leave::Escape << QStringList();
        QTest::newRow("title-bar close refused") << Leave::TitleBarClose << QStringList();
        QTest::newRow("Enter on a focused Annuler refused") << Leave::EnterOnAnnuler << QStringList();
        QTest::newRow("help") << Leave::Help << QStringList();
        QTest::newRow("Annuler keeps the list") << Leave::Annuler << QStringList{"Anne", "Bruno"};
        QTest::newRow("Escape keeps the list") << Leave::Escape << QStringList{"Anne", "Bruno"};
        QTest::newRow("title-bar close keeps the list") << Leave::TitleBarClose << QStringList{"Anne", "Bruno"};
        QTest::newRow("Enter on a focused Annuler keeps the list") << Leave::EnterOnAnnuler << QStringList{"Anne", "Bruno"};
    }
    void leaving()
    {
        QFETCH(Leave, how);
        QFETCH(QStringList, players);
        Opened o({"Anne"}, players);
        PlayerListDialog &dlg = *o.dlg;
        auto button = [&dlg](const char *name) { return dlg.findChild<QPushButton *>(QLatin1String(name)); };
        if (!players.isEmpty()) {
            o.enter("zoé");
            QCOMPARE(items(o.list->model()), players + QStringList{"Zoé"});
        }
        switch (how) {
        case Leave::Escape: o.press(Qt::Key_Escape); break;
        case Leave::TitleBarClose: dlg.close(); break;
        case Leave::EnterOnAnnuler: QTest::keyClick(button("cancel"), Qt::Key_Return); break;
        default: QTest::mouseClick(button(how == Leave::Ok ? "ok" : how == Leave::Annuler ? "cancel" : "help"), Qt::LeftButton);
        }

        QCOMPARE(dlg.isVisible(), players.isEmpty());
        QCOMPARE(dlg.result(), int(QDialog::Rejected)); // the caller keeps its list
        QCOMPARE(o.services.boxes.shown.size(), players.isEmpty() ? 1 : 0);
        const QString box = how == Leave::Help ? kHelp + " | Liste des joueurs | Ok | Information"
                                               : "Il faut au moins un joueur ! | Liste des joueurs | Ok | Stop";
        QCOMPARE(o.services.boxes.last(), players.isEmpty() ? box : QString());
    }

    void enterAddsThenValidates_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("known");
        QTest::newRow("spaces and case") << "  paul " << "PAUL" << "Paul" << QStringList{"Anne", "Paul", "Zoé"};
        QTest::newRow("start of a known name, not completed") << "an" << "AN" << "An" << QStringList{"An", "Anne", "Zoé"};
        QTest::newRow("accented capital") << "éLODIE" << "élodie" << "Élodie" << QStringList{"Anne", "Élodie", "Zoé"};
        QTest::newRow("a known name") << "anne" << "ANNE" << "Anne" << QStringList{"Anne", "Zoé"};
        QTest::newRow("capitals only in the code page") << "œdipe" << "ŒDIPE" << "Œdipe" << QStringList{"Anne", "Œdipe", "Zoé"};
    }
    void enterAddsThenValidates()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, name);
        Opened o({"Anne", "Zoé"});
        o.enter("   "); // a blank box adds nothing and validates nothing
        o.enter(first);
        QCOMPARE(items(o.list->model()), QStringList{name});
        QTEST(items(o.nameBox->model()), "known");
        QVERIFY(o.dlg->isVisible());

        o.type(second); // replaces the name, left selected
        o.press(Qt::Key_Enter);
        QVERIFY(!o.dlg->isVisible());
        QCOMPARE(o.dlg->result(), int(QDialog::Accepted));
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

    // The names are read and sorted once: with a large class the dialog used to take half
    // a minute to open, one sorted insertion per name. The bound is far above the figure
    // of the benchmark, so that only a return to that cost fails it.
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

    void doubleClicksThenOk()
    {
        Opened o({}, {"Anne", "Bruno", "Chloé"});
        o.type(" marie-charlotte-EUGÉNIE ");
        QTest::mouseDClick(o.nameBox->lineEdit(), Qt::LeftButton);
        QCOMPARE(o.nameBox->count(), 0); // only Enter makes a name known
        o.list->setCurrentRow(1); // the first click of a double-click selects
        QTest::mouseDClick(o.list->viewport(), Qt::LeftButton, {}, o.list->visualItemRect(o.list->item(1)).center());

        QTest::mouseClick(o.dlg->findChild<QPushButton *>(QStringLiteral("ok")), Qt::LeftButton);
        QVERIFY(!o.dlg->isVisible());
        QCOMPARE(o.dlg->result(), int(QDialog::Accepted));
        QCOMPARE(o.dlg->players(), (QStringList{"Anne", "Chloé", "Marie-charlotte-eugénie"}));
    }
};

QTEST_MAIN(TestPlayerListDialog)
#include "tst_player_list_dialog.moc"
