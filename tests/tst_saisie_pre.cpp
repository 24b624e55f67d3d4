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

enum class Leave { OkButton, AnnulerButton, Escape, TitleBarClose };

// A player file with its two absolute records, then one record per name, then `tail`
// stray bytes; opened as the shared player file.
void openPlayerFile(const QStringList &names, int tail = 0)
{
    {
        PlayerFile f;
        QVERIFY(f.open(QStringLiteral("clvfic1.txt")));
        PlayerRecord absolute;
        absolute.setName(QStringLiteral("xxxxx"));
        absolute.Mini = PlayerRecord::kUnset;
        QVERIFY(f.write(1, absolute));
        absolute.Mini = 0;
        absolute.Average = PlayerRecord::kUnset;
        QVERIFY(f.write(2, absolute));
        qint64 k = 3;
        for (const QString &name : names) {
            PlayerRecord r;
            r.setName(name);
            r.Mini = r.Average = 1234;
            QVERIFY(f.write(k++, r));
        }
        f.close();
    }
    if (tail > 0) {
        QFile raw(QStringLiteral("clvfic1.txt"));
        QVERIFY(raw.open(QIODevice::Append));
        raw.write(QByteArray(tail, 'Z'));
    }
    QVERIFY(clvglob().playerFile.open(QStringLiteral("clvfic1.txt")));
}

void setPlayers(const QStringList &names, int current)
{
    clvglob().PlayerList = names;
    clvglob().PlayerCount = int(names.size());
    clvglob().CurrentPlayer = current;
}

QStringList items(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QStringList items(const QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

// Keys go where the keyboard focus is, as they would for a user.
QWidget *keyTarget(saisie_pre &dlg)
{
    QWidget *w = QApplication::focusWidget();
    return w ? w : dlg.Combo;
}

// One key event per character, carrying the character itself, so that letters outside
// Latin-1 arrive as typed.
void type(saisie_pre &dlg, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, keyTarget(dlg), Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
}

void press(saisie_pre &dlg, Qt::Key key)
{
    QTest::keyClick(keyTarget(dlg), key);
}

// A selection in the drop-down list with the keyboard: open it, move to the name, Enter.
void pickWithKeys(saisie_pre &dlg, const QString &name)
{
    const int row = dlg.Combo->findText(name, Qt::MatchExactly);
    QVERIFY(row >= 0);
    dlg.Combo->showPopup();
    QAbstractItemView *view = dlg.Combo->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(view->model()->index(row, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
}

// The same with the mouse; the drop-down ignores a release that comes too soon after it
// opened, so the click waits like a user's would.
void pickWithMouse(saisie_pre &dlg, const QString &name)
{
    const int row = dlg.Combo->findText(name, Qt::MatchExactly);
    QVERIFY(row >= 0);
    dlg.Combo->showPopup();
    QAbstractItemView *view = dlg.Combo->view();
    QTRY_VERIFY(view->isVisible());
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
    QTest::mouseMove(view->viewport(), at);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTRY_VERIFY(!view->isVisible());
}

// A user's double-click: press, release, then the double-click and its release.
void doubleClick(QWidget *w, QPoint at)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
}

void leave(saisie_pre &dlg, Leave how)
{
    switch (how) {
    case Leave::OkButton: QTest::mouseClick(dlg.ok, Qt::LeftButton); break;
    case Leave::AnnulerButton: QTest::mouseClick(dlg.annuler, Qt::LeftButton); break;
    case Leave::Escape: press(dlg, Qt::Key_Escape); break;
    case Leave::TitleBarClose: dlg.close(); break;
    }
}

void openDialog(saisie_pre &dlg)
{
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QApplication::setActiveWindow(&dlg);
    QTRY_COMPARE(QApplication::focusWidget() != nullptr, true);
}

} // namespace

Q_DECLARE_METATYPE(Leave)

class tst_saisie_pre : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        services_ = std::make_unique<TestServices>();
        scratch_ = std::make_unique<ScratchFolder>();
    }
    void cleanup()
    {
        scratch_.reset();
        services_.reset();
    }

    void knownNamesSortedAndTrimmed_data();
    void knownNamesSortedAndTrimmed();
    void refusesToLeaveWithoutPlayers_data();
    void refusesToLeaveWithoutPlayers();
    void cancelKeepsPreviousList_data();
    void cancelKeepsPreviousList();
    void enterAddsThenValidates_data();
    void enterAddsThenValidates();
    void enterOnBlankDoesNothing_data();
    void enterOnBlankDoesNothing();
    void enterNeverReachesQtDefaults();
    void firstSelectionIsSwallowed_data();
    void firstSelectionIsSwallowed();
    void arrowsBrowseWithoutAdding();
    void doubleClickInBoxAdds();
    void doubleClickRemovesChosenName();
    void okMakesFirstNameCurrent();
    void helpBox();

private:
    std::unique_ptr<TestServices> services_;
    std::unique_ptr<ScratchFolder> scratch_;
};

void tst_saisie_pre::knownNamesSortedAndTrimmed_data()
{
    QTest::addColumn<QStringList>("inFile");
    QTest::addColumn<int>("tail");
    QTest::addColumn<QStringList>("offered");

    QTest::newRow("only the absolute records") << QStringList() << 0 << QStringList();
    QTest::newRow("case ignored, accents in place, spaces trimmed")
        << QStringList{QStringLiteral("zoé"), QStringLiteral("Bernard"),
                       QStringLiteral("  alice"), QStringLiteral("Émile"),
                       QStringLiteral("Chloé"), QStringLiteral("denis")}
        << 0
        << QStringList{QStringLiteral("alice"), QStringLiteral("Bernard"),
                       QStringLiteral("Chloé"), QStringLiteral("denis"),
                       QStringLiteral("Émile"), QStringLiteral("zoé")};
    QTest::newRow("duplicates kept, a stray fragment is no name")
        << QStringList{QStringLiteral("Paul"), QStringLiteral("Anne"), QStringLiteral("Paul")}
        << 12
        << QStringList{QStringLiteral("Anne"), QStringLiteral("Paul"), QStringLiteral("Paul")};
}

void tst_saisie_pre::knownNamesSortedAndTrimmed()
{
    QFETCH(QStringList, inFile);
    QFETCH(int, tail);
    QFETCH(QStringList, offered);
    openPlayerFile(inFile, tail);

    QLabel prenom(QStringLiteral("Prénom"));
    saisie_pre dlg(&prenom);

    QCOMPARE(items(dlg.Combo), offered);
    QCOMPARE(clvglob().FilePlayerCount, double(inFile.size()) + tail / 19.0);
    QCOMPARE(dlg.Combo->currentIndex(), -1);
    QCOMPARE(dlg.Combo->currentText(), QString());
    QCOMPARE(dlg.liste->count(), 0);
}

void tst_saisie_pre::refusesToLeaveWithoutPlayers_data()
{
    QTest::addColumn<Leave>("how");
    QTest::newRow("OK") << Leave::OkButton;
    QTest::newRow("Annuler") << Leave::AnnulerButton;
    QTest::newRow("Escape") << Leave::Escape;
    QTest::newRow("title-bar close") << Leave::TitleBarClose;
}

void tst_saisie_pre::refusesToLeaveWithoutPlayers()
{
    QFETCH(Leave, how);
    openPlayerFile({});
    QLabel prenom(QStringLiteral("Prénom"));
    saisie_pre dlg(&prenom);
    openDialog(dlg);

    leave(dlg, how);

    QCOMPARE(services_->boxes.shown.size(), 1);
    const ScriptedBoxes::Box box = services_->boxes.shown.first();
    QCOMPARE(box.text, kNeedOnePlayer);
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.icon, BoxIcon::Stop);
    QCOMPARE(box.buttons, BoxButtons::Ok);
    QVERIFY(dlg.isVisible());
    QCOMPARE(clvglob().PlayerCount, 0);
    QCOMPARE(prenom.text(), QStringLiteral("Prénom"));
}

void tst_saisie_pre::cancelKeepsPreviousList_data()
{
    QTest::addColumn<Leave>("how");
    QTest::newRow("Annuler") << Leave::AnnulerButton;
    QTest::newRow("Escape") << Leave::Escape;
    QTest::newRow("title-bar close") << Leave::TitleBarClose;
}

void tst_saisie_pre::cancelKeepsPreviousList()
{
    QFETCH(Leave, how);
    openPlayerFile({QStringLiteral("Anne")});
    const QStringList before{QStringLiteral("Anne"), QStringLiteral("Bruno")};
    setPlayers(before, 2);
    QLabel prenom(QStringLiteral("Bruno"));

    {
        saisie_pre dlg(&prenom);
        openDialog(dlg);
        QCOMPARE(items(dlg.liste), before);
        type(dlg, QStringLiteral("zoé"));
        press(dlg, Qt::Key_Return);
        dlg.liste->setCurrentRow(0);
        dlg.liste_DblClick();
        QCOMPARE(items(dlg.liste), (QStringList{QStringLiteral("Bruno"), QStringLiteral("Zoé")}));

        leave(dlg, how);

        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }
    QVERIFY(services_->boxes.shown.isEmpty());
    QCOMPARE(clvglob().PlayerList, before);
    QCOMPARE(clvglob().PlayerCount, 2);
    QCOMPARE(clvglob().CurrentPlayer, 2);
    QCOMPARE(prenom.text(), QStringLiteral("Bruno"));

    // The next showing starts from the same list, without the forgotten new name.
    saisie_pre again(&prenom);
    QCOMPARE(items(again.liste), before);
    QCOMPARE(items(again.Combo), QStringList{QStringLiteral("Anne")});
}

void tst_saisie_pre::enterAddsThenValidates_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("name");

    QTest::newRow("spaces and case") << "  paul " << "PAUL" << "Paul";
    QTest::newRow("start of a known name, not completed") << "an" << "AN" << "An";
    QTest::newRow("inner characters kept") << " jean-PIERRE " << "Jean-Pierre" << "Jean-pierre";
    QTest::newRow("accented capital") << "éLODIE" << "élodie" << "Élodie";
    QTest::newRow("capitals only in the code page") << "œdipe" << "ŒDIPE" << "Œdipe";
    QTest::newRow("outside the code page") << "Łukasz" << "ŁUKASZ" << "Łukasz";
    QTest::newRow("no letter case") << "李" << " 李" << "李";
}

void tst_saisie_pre::enterAddsThenValidates()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, name);
    openPlayerFile({QStringLiteral("Anne"), QStringLiteral("Zoé")});
    QLabel prenom(QStringLiteral("Prénom"));
    saisie_pre dlg(&prenom);
    openDialog(dlg);

    type(dlg, first);
    press(dlg, Qt::Key_Return);

    QCOMPARE(items(dlg.liste), QStringList{name});
    QVERIFY(dlg.Combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0);
    QCOMPARE(dlg.Combo->count(), 3);
    QCOMPARE(dlg.Combo->lineEdit()->selectedText(), name);
    QVERIFY(dlg.isVisible());

    // The selected text is replaced by what comes next.
    type(dlg, second);
    press(dlg, Qt::Key_Return);

    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(clvglob().PlayerList, QStringList{name});
    QCOMPARE(clvglob().PlayerCount, 1);
    QCOMPARE(clvglob().CurrentPlayer, 1);
    QCOMPARE(prenom.text(), name);
    QVERIFY(services_->boxes.shown.isEmpty());
}

void tst_saisie_pre::enterOnBlankDoesNothing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("empty") << QString();
    QTest::newRow("blank") << QStringLiteral("    ");
}

void tst_saisie_pre::enterOnBlankDoesNothing()
{
    QFETCH(QString, typed);
    openPlayerFile({QStringLiteral("Anne")});
    QLabel prenom(QStringLiteral("Prénom"));
    saisie_pre dlg(&prenom);
    openDialog(dlg);

    type(dlg, typed);
    press(dlg, Qt::Key_Return);
    press(dlg, Qt::Key_Enter);

    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.liste->count(), 0);
    QCOMPARE(items(dlg.Combo), QStringList{QStringLiteral("Anne")});
    QVERIFY(services_->boxes.shown.isEmpty());
}

void tst_saisie_pre::enterNeverReachesQtDefaults()
{
    openPlayerFile({QStringLiteral("Anne"), QStringLiteral("Chloé")});
    QLabel prenom(QStringLiteral("Prénom"));
    saisie_pre dlg(&prenom);
    openDialog(dlg);

    // Enter in the box: one insertion at the sorted place, made by the dialog alone.
    type(dlg, QStringLiteral("bruno"));
    press(dlg, Qt::Key_Enter);
    QCOMPARE(items(dlg.Combo), (QStringList{QStringLiteral("Anne"), QStringLiteral("Bruno"),
                                            QStringLiteral("Chloé")}));
    QCOMPARE(items(dlg.liste), QStringList{QStringLiteral("Bruno")});

    // Typing a known name and leaving the box is no selection.
    pickWithKeys(dlg, QStringLiteral("Anne")); // swallowed first selection
    dlg.Combo->setEditText(QString());
    type(dlg, QStringLiteral("chloé"));
    dlg.liste->setFocus();
    QTRY_VERIFY(dlg.liste->hasFocus());
    QCOMPARE(items(dlg.liste), QStringList{QStringLiteral("Bruno")});

    // Enter on a button does not press it: OK would close the dialog, Annuler refuse.
    for (QPushButton *b : {dlg.ok, dlg.annuler}) {
        b->setFocus();
        QTRY_VERIFY(b->hasFocus());
        QTest::keyClick(b, Qt::Key_Return);
        QVERIFY2(dlg.isVisible(), qPrintable(b->text()));
        QVERIFY2(services_->boxes.shown.isEmpty(), qPrintable(b->text()));
    }
}

void tst_saisie_pre::firstSelectionIsSwallowed_data()
{
    QTest::addColumn<bool>("withMouse");
    QTest::newRow("keys") << false;
    QTest::newRow("mouse") << true;
}

void tst_saisie_pre::firstSelectionIsSwallowed()
{
    QFETCH(bool, withMouse);
    const auto pick = withMouse ? pickWithMouse : pickWithKeys;
    openPlayerFile({QStringLiteral("Chloé"), QStringLiteral("Anne"), QStringLiteral("Bruno")});
    QLabel prenom(QStringLiteral("Prénom"));
    saisie_pre dlg(&prenom);
    openDialog(dlg);

    pick(dlg, QStringLiteral("Bruno"));
    QCOMPARE(dlg.Combo->currentText(), QStringLiteral("Bruno"));
    QCOMPARE(dlg.liste->count(), 0);

    // The window being activated again does not re-arm the swallowing.
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&dlg, &deactivate);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&dlg, &activate);

    pick(dlg, QStringLiteral("Chloé"));
    QCOMPARE(items(dlg.liste), QStringList{QStringLiteral("Chloé")});
    pick(dlg, QStringLiteral("Chloé"));
    QCOMPARE(items(dlg.liste), QStringList{QStringLiteral("Chloé")});
    pick(dlg, QStringLiteral("Anne"));
    QCOMPARE(items(dlg.liste), (QStringList{QStringLiteral("Chloé"), QStringLiteral("Anne")}));
    QVERIFY(dlg.isVisible());
}

void tst_saisie_pre::arrowsBrowseWithoutAdding()
{
    openPlayerFile({QStringLiteral("Chloé"), QStringLiteral("Anne"), QStringLiteral("Bruno")});
    QLabel prenom(QStringLiteral("Prénom"));
    saisie_pre dlg(&prenom);
    openDialog(dlg);

    press(dlg, Qt::Key_Down);
    press(dlg, Qt::Key_Down);
    press(dlg, Qt::Key_Down);
    press(dlg, Qt::Key_Up);
    QCOMPARE(dlg.Combo->currentText(), QStringLiteral("Bruno"));
    QCOMPARE(dlg.liste->count(), 0);

    press(dlg, Qt::Key_Return);
    QCOMPARE(items(dlg.liste), QStringList{QStringLiteral("Bruno")});
    QCOMPARE(dlg.Combo->count(), 3);

    // Each arrow swallowed only the selection it caused: the next one adds.
    pickWithKeys(dlg, QStringLiteral("Anne"));
    QCOMPARE(items(dlg.liste), (QStringList{QStringLiteral("Bruno"), QStringLiteral("Anne")}));
}

void tst_saisie_pre::doubleClickInBoxAdds()
{
    openPlayerFile({});
    QLabel prenom(QStringLiteral("Prénom"));
    saisie_pre dlg(&prenom);
    openDialog(dlg);

    type(dlg, QStringLiteral(" marie "));
    doubleClick(dlg.Combo->lineEdit(), dlg.Combo->lineEdit()->rect().center());
    QCOMPARE(items(dlg.liste), QStringList{QStringLiteral("Marie")});
    QCOMPARE(dlg.Combo->currentText(), QStringLiteral("Marie"));
    // Only Enter makes a name known.
    QCOMPARE(dlg.Combo->count(), 0);
}

void tst_saisie_pre::doubleClickRemovesChosenName()
{
    openPlayerFile({});
    const QStringList before{QStringLiteral("Anne"), QStringLiteral("Bruno"),
                             QStringLiteral("Chloé")};
    setPlayers(before, 1);
    QLabel prenom(QStringLiteral("Anne"));
    saisie_pre dlg(&prenom);
    openDialog(dlg);

    QAbstractItemView *view = dlg.liste;
    auto dclickRow = [&](int row) {
        const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
        doubleClick(view->viewport(), at);
    };
    dclickRow(1);
    QCOMPARE(items(dlg.liste), (QStringList{QStringLiteral("Anne"), QStringLiteral("Chloé")}));

    // Below the last name nothing is selected any more: nothing goes.
    doubleClick(view->viewport(), QPoint(10, view->viewport()->height() - 5));
    QCOMPARE(dlg.liste->count(), 2);

    dclickRow(0);
    dclickRow(0);
    QCOMPARE(dlg.liste->count(), 0);

    QTest::mouseClick(dlg.ok, Qt::LeftButton);
    QCOMPARE(services_->boxes.texts(), QStringList{kNeedOnePlayer});
    QVERIFY(dlg.isVisible());
    QCOMPARE(clvglob().PlayerList, before);
    QCOMPARE(clvglob().PlayerCount, 3);
}

void tst_saisie_pre::okMakesFirstNameCurrent()
{
    openPlayerFile({QStringLiteral("Chloé")});
    setPlayers({QStringLiteral("Anne"), QStringLiteral("Bruno")}, 2);
    QLabel prenom(QStringLiteral("Bruno"));
    saisie_pre dlg(&prenom);
    openDialog(dlg);

    type(dlg, QStringLiteral("une-très-longue-prénom"));
    press(dlg, Qt::Key_Return);
    QTest::mouseClick(dlg.ok, Qt::LeftButton);

    QVERIFY(!dlg.isVisible());
    QCOMPARE(clvglob().PlayerList,
             (QStringList{QStringLiteral("Anne"), QStringLiteral("Bruno"),
                          QStringLiteral("Une-très-longue-prénom")}));
    QCOMPARE(clvglob().PlayerCount, 3);
    QCOMPARE(clvglob().CurrentPlayer, 1);
    QCOMPARE(prenom.text(), QStringLiteral("Anne"));
}

void tst_saisie_pre::helpBox()
{
    openPlayerFile({QStringLiteral("Anne")});
    QLabel prenom(QStringLiteral("Prénom"));
    saisie_pre dlg(&prenom);
    openDialog(dlg);

    QTest::mouseClick(dlg.Command1, Qt::LeftButton);

    QCOMPARE(services_->boxes.shown.size(), 1);
    const ScriptedBoxes::Box box = services_->boxes.shown.first();
    QCOMPARE(box.text,
             QStringLiteral("Tapez votre (ou vos) prénom(s)  ou choisissez le(s) dans la liste "
                            "si vous avez déjà joué puis OK pour valider la liste des joueurs "
                            "ou ANNULER pour reconduire la liste précédente"));
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.icon, BoxIcon::Information);
    QCOMPARE(box.buttons, BoxButtons::Ok);
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.liste->count(), 0);
}

QTEST_MAIN(tst_saisie_pre)
#include "tst_saisie_pre.moc"
