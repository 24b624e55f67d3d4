// Guards the player list dialog: which names it offers, how typing, Enter, selections and
// double-clicks build the list of players, and when OK and Annuler may leave it.
#include "game/records/PlayerFile.h"
#include "platform/Windows1252.h"
#include "support/EntryBytes.h"
#include "support/TestDoubles.h"
#include "ui/PlayerListDialog.h"

#include <QTest>
#include <QtWidgets>

#include <functional>

namespace {

QString items(const QAbstractItemModel *m)
{
    QStringList out;
    for (int i = 0; i < m->rowCount(); ++i)
        out << m->index(i, 0).data().toString();
    return out.join(' ');
}

// Row: the names of the player file ("_" a space; stray bytes follow them), the current
// players, and the words done on the dialog: "t:text" typed where the focus is, ret, ent,
// esc, up, down, "pick:name" chosen in the drop-down list with the keys, "dc:box" or
// "dc:N" a double-click on the name box or on the player N, clear (the box emptied), list
// and box (the focus there), "enter:button", close, or a button clicked by name; "=" and
// the end say what is seen: the box's text, the players, the names offered, the message
// boxes' buttons and icon, and the dialog open, accepted (ok) or refused (no).
QString run(const QString &row)
{
    const QStringList p = row.split('|');
    TestServices services;
    ScratchFolder scratch;
    QByteArray bytes = kPlaceholders;
    for (const QString &name : p[0].split(' ', Qt::SkipEmptyParts))
        bytes += entryBytes(Windows1252::encode(QString(name).replace('_', ' ')), 9999, 9999);
    scratch.write(QStringLiteral("clvfic1.txt"), bytes + "ZZZZZZZZZZZZ");
    PlayerFile file;
    if (!file.open(QStringLiteral("clvfic1.txt")))
        return "no file";
    PlayerListDialog dlg(file, p[1].split(' ', Qt::SkipEmptyParts), services.boxes);
    auto *box = dlg.findChild<QComboBox *>();
    auto *list = dlg.findChild<QListWidget *>();
    QStringList seen;
    auto wait = [&seen](const std::function<bool()> &done) { seen << (QTest::qWaitFor(done) ? "" : "timed out"); };
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    wait([] { return QApplication::focusWidget(); });
    const QHash<QString, Qt::Key> keys{{"ret", Qt::Key_Return}, {"ent", Qt::Key_Enter}, {"esc", Qt::Key_Escape},
                                       {"up", Qt::Key_Up}, {"down", Qt::Key_Down}};
    for (const QString &word : (p[2] + " =").split(' ', Qt::SkipEmptyParts)) {
        const QString arg = word.section(':', 1).replace('_', ' ');
        QStringList boxes;
        for (const ScriptedBoxes::Box &b : services.boxes.shown)
            boxes << b.toString().section(" | ", 2).remove(" | ");
        const QString state = dlg.isVisible() ? "open" : dlg.result() == QDialog::Accepted ? "ok" : "no";
        if (word == "=")
            seen << QStringList{box->currentText(), dlg.players().join(' '), items(box->model()), boxes.join(','), state}.join('/');
        else if (word.startsWith("t:"))
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key(0), arg, Qt::NoModifier);
        else if (keys.contains(word))
            QTest::keyClick(QApplication::focusWidget(), keys[word]);
        else if (word.startsWith("pick:")) {
            box->showPopup();
            wait([box] { return box->view()->isVisible(); });
            box->view()->setCurrentIndex(box->model()->index(box->findText(arg), 0));
            QTest::keyClick(box->view(), Qt::Key_Return);
            wait([box] { return !box->view()->isVisible(); });
        } else if (word == "dc:box") {
            QTest::mouseDClick(box->lineEdit(), Qt::LeftButton);
        } else if (word.startsWith("dc:")) { // the first click of a double-click selects
            list->setCurrentRow(arg.toInt());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->currentItem()).center());
        } else if (word == "clear") {
            box->setEditText(QString());
        } else if (word == "list" || word == "box") {
            QWidget *to = word == "list" ? static_cast<QWidget *>(list) : box;
            to->setFocus();
            wait([to] { return to->hasFocus(); });
        } else if (word == "close") {
            dlg.close();
        } else if (word.startsWith("enter:")) {
            QTest::keyClick(dlg.findChild<QPushButton *>(arg), Qt::Key_Return);
        } else {
            QTest::mouseClick(dlg.findChild<QPushButton *>(word), Qt::LeftButton);
        }
    }
    return seen.filter(QRegularExpression(".")).join(" = ");
}

} // namespace

class TestPlayerListDialog : public QObject
{
    Q_OBJECT

private slots:
    void rows()
    {
        const char *rows[][2] = {
            // The names offered: case ignored, accents in their place, duplicates kept.
            {"zoé Paul __alice Émile Chloé Paul denis||", "//alice Chloé denis Émile Paul Paul zoé//open"},
            // Without players every way out is refused with a box; the help box leaves nothing.
            {"Anne||ok", "//Anne/OkStop/open"},
            {"Anne||cancel", "//Anne/OkStop/open"},
            {"Anne||esc", "//Anne/OkStop/open"},
            {"Anne||close", "//Anne/OkStop/open"},
            {"Anne||enter:cancel", "//Anne/OkStop/open"},
            {"Anne||help", "//Anne/OkInformation/open"},
            // With players, every way out but OK refuses the list (the caller keeps its own).
            {"Anne|Anne Bruno|t:zoé ret cancel", "Zoé/Anne Bruno Zoé/Anne Zoé//no"},
            {"Anne|Anne Bruno|t:zoé ret esc", "Zoé/Anne Bruno Zoé/Anne Zoé//no"},
            {"Anne|Anne Bruno|t:zoé ret close", "Zoé/Anne Bruno Zoé/Anne Zoé//no"},
            {"Anne|Anne Bruno|t:zoé ret enter:cancel", "Zoé/Anne Bruno Zoé/Anne Zoé//no"},
            // A blank name adds nothing; the first Enter adds the name as names are shown, and
            // among the known ones; Enter on the same name again, typed otherwise, validates.
            {"Anne Zoé||t:___ ret t:__paul_ ret = t:PAUL ent", "Paul/Paul/Anne Paul Zoé//open = Paul/Paul/Anne Paul Zoé//ok"},
            {"Anne Zoé||t:an ret = t:AN ent", "An/An/An Anne Zoé//open = An/An/An Anne Zoé//ok"},
            {"Anne Zoé||t:éLODIE ret = t:élodie ent", "Élodie/Élodie/Anne Élodie Zoé//open = Élodie/Élodie/Anne Élodie Zoé//ok"},
            {"Anne Zoé||t:anne ret = t:ANNE ent", "Anne/Anne/Anne Zoé//open = Anne/Anne/Anne Zoé//ok"},
            {"Anne Zoé||t:œdipe ret = t:ŒDIPE ent", "Œdipe/Œdipe/Anne Œdipe Zoé//open = Œdipe/Œdipe/Anne Œdipe Zoé//ok"},
            // The first selection only comes into the box, a second of the same name adds it
            // once; a known name typed and left is no selection; the arrows browse without
            // adding; Enter adds the name shown, the next selection adds.
            {"Chloé Anne Bruno||pick:Bruno = pick:Chloé pick:Chloé clear t:Anne list box up down down up = "
             "ret pick:Anne",
             "Bruno//Anne Bruno Chloé//open = Bruno/Chloé/Anne Bruno Chloé//open = Anne/Chloé Bruno Anne/Anne Bruno Chloé//open"},
            // A double-click on the box adds the name without making it known; on a player, removes it.
            {"|Anne Bruno Chloé|t:_marie-charlotte-EUGÉNIE_ dc:box = dc:1 ok",
             "Marie-charlotte-eugénie/Anne Bruno Chloé Marie-charlotte-eugénie///open = "
             "Marie-charlotte-eugénie/Anne Chloé Marie-charlotte-eugénie///ok"},
        };
        for (const auto &[row, wanted] : rows) {
            const QString found = run(QString::fromUtf8(row));
            QVERIFY2(found == QString::fromUtf8(wanted), qPrintable(QString::fromUtf8(row) + "\n   found: " + found));
        }
    }
};

QTEST_MAIN(TestPlayerListDialog)
#include "tst_player_list_dialog.moc"
