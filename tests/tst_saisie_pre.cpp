// Guards the player list dialog: which names it offers, how typing, Enter, selections and
// double-clicks build the list of players, and when OK and Annuler may leave it.
#include "app/Clvglob.h"
#include "players/saisie_pre.h"
#include "support/TestServices.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

const QString kTitle = QStringLiteral("Liste des joueurs");
const QString kNeedOnePlayer = QStringLiteral("Il faut au moins un joueur !");
const QString kHelp = QStringLiteral(
    "Tapez votre (ou vos) prénom(s)  ou choisissez le(s) dans la liste si vous avez déjà joué "
    "puis OK pour valider la liste des joueurs ou ANNULER pour reconduire la liste précédente");

enum class Leave { Ok, Annuler, Escape, TitleBarClose, Help };

QStringList items(const QAbstractItemModel *m)
{
    QStringList out;
    for (int i = 0; i < m->rowCount(); ++i)
        out << m->index(i, 0).data().toString();
    return out;
}

// A player file (two absolute records, one record per known name, then `tail` stray bytes),
// `players` as the current list with the last one current, and the dialog shown over them.
struct Opened
{
    TestServices services;
    ScratchFolder scratch;
    QLabel prenom{QStringLiteral("Prénom")};
    std::unique_ptr<saisie_pre> dlg;

    explicit Opened(const QStringList &known, const QStringList &players = {}, int tail = 0)
    {
        {
            PlayerFile f;
            QVERIFY(f.open(QStringLiteral("clvfic1.txt")));
            PlayerRecord r;
            r.setName(QStringLiteral("xxxxx"));
            QVERIFY(f.write(1, r) && f.write(2, r));
            for (qsizetype k = 0; k < known.size(); ++k) {
                r.setName(known[k]);
                QVERIFY(f.write(k + 3, r));
            }
        }
        QFile raw(QStringLiteral("clvfic1.txt"));
        QVERIFY(raw.open(QIODevice::Append) && raw.write(QByteArray(tail, 'Z')) == tail);
        raw.close();
        QVERIFY(clvglob().playerFile.open(QStringLiteral("clvfic1.txt")));
        clvglob().PlayerList = players;
        clvglob().PlayerCount = clvglob().CurrentPlayer = int(players.size());
        dlg = std::make_unique<saisie_pre>(&prenom);
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        QApplication::setActiveWindow(dlg.get());
        QTRY_VERIFY(QApplication::focusWidget() != nullptr);
    }
    QStringList chosen() const { return items(dlg->liste->model()); }
    // Keys go where the focus is, one event per character so that any letter arrives.
    void type(const QString &text)
    {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c), {});
    }
    void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    // A selection in the drop-down list; the list ignores a click too soon after it opened.
    void pick(const QString &name, bool withMouse)
    {
        const QModelIndex index = dlg->Combo->model()->index(dlg->Combo->findText(name), 0);
        QVERIFY(index.isValid());
        dlg->Combo->showPopup();
        QAbstractItemView *view = dlg->Combo->view();
        QTRY_VERIFY(view->isVisible());
        if (withMouse) {
            QTest::qWait(QApplication::doubleClickInterval() + 100);
            QTest::mouseMove(view->viewport(), view->visualRect(index).center());
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
        } else {
            view->setCurrentIndex(index);
            QTest::keyClick(view, Qt::Key_Return);
        }
        QTRY_VERIFY(!view->isVisible());
    }
};

// A user's double-click: press, release, then the double-click and its release.
void doubleClick(QWidget *w, QPoint at)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
}

} // namespace

Q_DECLARE_METATYPE(Leave)

class tst_saisie_pre : public QObject
{
    Q_OBJECT

private slots:
    void knownNamesSorted_data()
    {
        QTest::addColumn<QStringList>("inFile");
        QTest::addColumn<int>("tail");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("case ignored, accents in place, spaces trimmed")
            << QStringList{"zoé", "Bernard", "  alice", "Émile", "Chloé", "denis"} << 0
            << QStringList{"alice", "Bernard", "Chloé", "denis", "Émile", "zoé"};
        QTest::newRow("duplicates kept, a stray fragment is no name")
            << QStringList{"Paul", "Anne", "Paul"} << 12 << QStringList{"Anne", "Paul", "Paul"};
    }
    void knownNamesSorted()
    {
        QFETCH(QStringList, inFile);
        QFETCH(int, tail);
        Opened o(inFile, {}, tail);
        QTEST(items(o.dlg->Combo->model()), "offered");
        QCOMPARE(clvglob().FilePlayerCount, inFile.size() + tail / 19.0);
        QCOMPARE(o.dlg->Combo->currentText(), QString());
        QCOMPARE(o.dlg->liste->count(), 0);
    }

    // Without players every way out is refused; with players the way out drops all changes.
    void leaving_data()
    {
        QTest::addColumn<Leave>("how");
        QTest::addColumn<QStringList>("players");
        const QStringList two{"Anne", "Bruno"};
        QTest::newRow("OK refused") << Leave::Ok << QStringList();
        QTest::newRow("Annuler refused") << Leave::Annuler << QStringList();
        QTest::newRow("Escape refused") << Leave::Escape << QStringList();
        QTest::newRow("title-bar close refused") << Leave::TitleBarClose << QStringList();
        QTest::newRow("help") << Leave::Help << QStringList();
        QTest::newRow("Annuler keeps the list") << Leave::Annuler << two;
        QTest::newRow("Escape keeps the list") << Leave::Escape << two;
        QTest::newRow("title-bar close keeps the list") << Leave::TitleBarClose << two;
    }
    void leaving()
    {
        QFETCH(Leave, how);
        QFETCH(QStringList, players);
        Opened o({"Anne"}, players);
        saisie_pre &dlg = *o.dlg;
        if (!players.isEmpty()) {
            o.type("zoé");
            o.press(Qt::Key_Return);
            dlg.liste->setCurrentRow(0);
            dlg.liste_DblClick();
            QCOMPARE(o.chosen(), (QStringList{"Bruno", "Zoé"}));
        }
        switch (how) {
        case Leave::Ok: QTest::mouseClick(dlg.ok, Qt::LeftButton); break;
        case Leave::Annuler: QTest::mouseClick(dlg.annuler, Qt::LeftButton); break;
        case Leave::Escape: o.press(Qt::Key_Escape); break;
        case Leave::TitleBarClose: dlg.close(); break;
        case Leave::Help: QTest::mouseClick(dlg.Command1, Qt::LeftButton); break;
        }
        QCOMPARE(dlg.isVisible(), players.isEmpty());
        QCOMPARE(clvglob().PlayerList, players);
        QCOMPARE(clvglob().PlayerCount, int(players.size()));
        QCOMPARE(clvglob().CurrentPlayer, int(players.size()));
        QCOMPARE(o.prenom.text(), QStringLiteral("Prénom"));
        if (!players.isEmpty()) {
            QCOMPARE(dlg.result(), int(QDialog::Rejected));
            QVERIFY(o.services.boxes.shown.isEmpty());
            return;
        }
        QCOMPARE(o.services.boxes.shown.size(), 1);
        const ScriptedBoxes::Box box = o.services.boxes.shown.first();
        QCOMPARE(box.text, how == Leave::Help ? kHelp : kNeedOnePlayer);
        QCOMPARE(box.title, kTitle);
        QCOMPARE(box.icon, how == Leave::Help ? BoxIcon::Information : BoxIcon::Stop);
        QCOMPARE(box.buttons, BoxButtons::Ok);
    }

    void enterAddsThenValidates_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("at"); // sorted place among the known Anne and Zoé
        QTest::newRow("spaces and case") << "  paul " << "PAUL" << "Paul" << 1;
        QTest::newRow("start of a known name, not completed") << "an" << "AN" << "An" << 0;
        QTest::newRow("accented capital") << "éLODIE" << "élodie" << "Élodie" << 1;
        QTest::newRow("capitals only in the code page") << "œdipe" << "ŒDIPE" << "Œdipe" << 1;
        QTest::newRow("outside the code page") << "Łukasz" << "ŁUKASZ" << "Łukasz" << 1;
    }
    void enterAddsThenValidates()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, name);
        Opened o({"Anne", "Zoé"});
        saisie_pre &dlg = *o.dlg;
        o.type(first);
        o.press(Qt::Key_Return);
        QCOMPARE(o.chosen(), QStringList{name});
        QCOMPARE(dlg.Combo->count(), 3);
        QTEST(int(dlg.Combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive)), "at");
        QCOMPARE(dlg.Combo->lineEdit()->selectedText(), name);
        QVERIFY(dlg.isVisible());

        o.type(second); // replaces the selected name
        o.press(Qt::Key_Enter);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(clvglob().PlayerList, QStringList{name});
        QCOMPARE(clvglob().PlayerCount, 1);
        QCOMPARE(clvglob().CurrentPlayer, 1);
        QCOMPARE(o.prenom.text(), name);
        QVERIFY(o.services.boxes.shown.isEmpty());
    }

    void enterOnBlankDoesNothing()
    {
        Opened o({"Anne"});
        o.type("    ");
        o.press(Qt::Key_Return);
        o.press(Qt::Key_Enter);
        QVERIFY(o.dlg->isVisible());
        QCOMPARE(o.dlg->liste->count(), 0);
        QCOMPARE(items(o.dlg->Combo->model()), QStringList{"Anne"});
        QVERIFY(o.services.boxes.shown.isEmpty());
    }

    void firstSelectionIsSwallowed_data()
    {
        QTest::addColumn<bool>("withMouse");
        QTest::newRow("keys") << false;
        QTest::newRow("mouse") << true;
    }
    void firstSelectionIsSwallowed()
    {
        QFETCH(bool, withMouse);
        Opened o({"Chloé", "Anne", "Bruno"});
        o.pick("Bruno", withMouse);
        QCOMPARE(o.dlg->Combo->currentText(), QStringLiteral("Bruno"));
        QCOMPARE(o.dlg->liste->count(), 0);

        // The window being activated again does not re-arm the swallowing.
        QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::WindowActivate);
        QApplication::sendEvent(o.dlg.get(), &deactivate);
        QApplication::sendEvent(o.dlg.get(), &activate);
        o.pick("Chloé", withMouse);
        o.pick("Chloé", withMouse);
        o.pick("Anne", withMouse);
        QCOMPARE(o.chosen(), (QStringList{"Chloé", "Anne"}));

        // Typing a known name and leaving the box is no selection.
        o.dlg->Combo->setEditText(QString());
        o.type("bruno");
        o.dlg->liste->setFocus();
        QTRY_VERIFY(o.dlg->liste->hasFocus());
        QCOMPARE(o.chosen(), (QStringList{"Chloé", "Anne"}));
    }

    void arrowsBrowseWithoutAdding()
    {
        Opened o({"Chloé", "Anne", "Bruno"});
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up})
            o.press(k);
        QCOMPARE(o.dlg->Combo->currentText(), QStringLiteral("Bruno"));
        QCOMPARE(o.dlg->liste->count(), 0);
        o.press(Qt::Key_Return);
        QCOMPARE(o.chosen(), QStringList{"Bruno"});
        // Each arrow swallowed only the selection it caused: the next one adds.
        o.pick("Anne", false);
        QCOMPARE(o.chosen(), (QStringList{"Bruno", "Anne"}));
    }

    void doubleClicks()
    {
        Opened o({}, {"Anne", "Bruno"});
        QLineEdit *box = o.dlg->Combo->lineEdit();
        o.type(" marie ");
        doubleClick(box, box->rect().center());
        QCOMPARE(o.chosen(), (QStringList{"Anne", "Bruno", "Marie"}));
        QCOMPARE(o.dlg->Combo->count(), 0); // only Enter makes a name known

        QListWidget *liste = o.dlg->liste;
        doubleClick(liste->viewport(), liste->visualItemRect(liste->item(1)).center());
        QCOMPARE(o.chosen(), (QStringList{"Anne", "Marie"}));
        // Below the last name nothing is selected any more: nothing goes.
        doubleClick(liste->viewport(), QPoint(10, liste->viewport()->height() - 5));
        QCOMPARE(liste->count(), 2);
    }

    void okMakesFirstNameCurrent()
    {
        Opened o({"Chloé"}, {"Anne", "Bruno"});
        o.type("une-très-longue-prénom");
        o.press(Qt::Key_Return);
        QTest::mouseClick(o.dlg->ok, Qt::LeftButton);
        QVERIFY(!o.dlg->isVisible());
        QCOMPARE(clvglob().PlayerList, (QStringList{"Anne", "Bruno", "Une-très-longue-prénom"}));
        QCOMPARE(clvglob().PlayerCount, 3);
        QCOMPARE(clvglob().CurrentPlayer, 1);
        QCOMPARE(o.prenom.text(), QStringLiteral("Anne"));
    }
};

QTEST_MAIN(tst_saisie_pre)
#include "tst_saisie_pre.moc"
