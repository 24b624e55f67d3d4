#include "players/saisie_pre.h"

#include "ui/Artwork.h"

#include "app/Clvglob.h"
#include "platform/MessageBoxes.h"
#include "platform/Services.h"
#include "platform/Twips.h"
#include "platform/Windows1252.h"
#include "ui/Fonts.h"
#include "ui/Screen.h"

#include <QCloseEvent>
#include <QCollator>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

const QString kTitle = QStringLiteral("Liste des joueurs");
const QString kNeedOnePlayer = QStringLiteral("Il faut au moins un joueur !");
const QString kHelp = QStringLiteral(
    "Tapez votre (ou vos) prénom(s)  ou choisissez le(s) dans la liste si vous avez déjà "
    "joué puis OK pour valider la liste des joueurs ou ANNULER pour reconduire la liste "
    "précédente");

// Only spaces are removed, not other blanks: names are stored padded with spaces.
QString trimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

void placeIn(QWidget *w, double left, double top, double width, double height)
{
    w->setGeometry(twipsRect(left, top, width, height));
}

QPushButton *makeButton(const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    // Enter belongs to the combo box's own handling, never to a default button.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

saisie_pre::saisie_pre(QLabel *prenom, QWidget *parent)
    : QDialog(parent)
    , prenom_(prenom)
{
    setWindowTitle(kTitle);
    setFixedSize(twipsToPixels(4470), twipsToPixels(5055));
    const QFont windowFont = designFont(QStringLiteral("MS Sans Serif"), 8.25, true);
    setFont(windowFont);

    SSFrame1 = new QGroupBox(QStringLiteral("Prénom"), this);
    placeIn(SSFrame1, 0, 0, 3330, 900);

    Combo = new QComboBox(SSFrame1);
    Combo->setObjectName(QStringLiteral("Combo"));
    Combo->setEditable(true);
    Combo->setInsertPolicy(QComboBox::NoInsert);
    // No completion while typing: the box shows exactly what was typed.
    Combo->setCompleter(nullptr);
    placeIn(Combo, 105, 315, 3165, 315);
    QPalette comboPalette = Combo->palette();
    comboPalette.setColor(QPalette::Base, Qt::white);
    Combo->setPalette(comboPalette);
    // A known name is added by a selection in the list only, not by leaving the box
    // with matching text in it.
    QObject::disconnect(Combo->lineEdit(), &QLineEdit::editingFinished, Combo, nullptr);

    Picture1 = new QLabel(this);
    Picture1->setPixmap(playersIcon());
    placeIn(Picture1, 3720, 240, 540, 540);

    Support_liste = new QGroupBox(QStringLiteral("Liste des joueurs"), this);
    placeIn(Support_liste, 0, 960, 4410, 3300);

    liste = new QListWidget(Support_liste);
    liste->setObjectName(QStringLiteral("liste"));
    // Its own font, so that the smaller caption font of its frame does not reach it.
    liste->setFont(windowFont);
    liste->setSelectionMode(QAbstractItemView::SingleSelection);
    liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    placeIn(liste, 120, 360, 4110, 2400);
    QPalette listPalette = liste->palette();
    listPalette.setColor(QPalette::Base, QColor(192, 192, 192));
    liste->setPalette(listPalette);

    ok = makeButton(QStringLiteral("&OK"), this);
    placeIn(ok, 720, 4440, 885, 405);
    annuler = makeButton(QStringLiteral("&Annuler"), this);
    placeIn(annuler, 1920, 4440, 855, 405);
    Command1 = makeButton(QStringLiteral("&?"), this);
    placeIn(Command1, 3120, 4440, 855, 405);

    setTabOrder(ok, annuler);
    setTabOrder(annuler, Command1);
    setTabOrder(Command1, Combo);
    setTabOrder(Combo, liste);

    Combo->installEventFilter(this);
    Combo->lineEdit()->installEventFilter(this);
    liste->viewport()->installEventFilter(this);
    for (QPushButton *button : {ok, annuler, Command1})
        button->installEventFilter(this);

    connect(Combo, &QComboBox::activated, this, [this] { Combo_Click(); });
    connect(ok, &QPushButton::clicked, this, [this] { ok_Click(); });
    connect(annuler, &QPushButton::clicked, this, [this] { annuler_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    Form_Load();
}

void saisie_pre::Form_Load()
{
    centreOnScreen(this);

    // The player records, records 3 on, in one read; a trailing fragment is no player.
    Clvglob &g = clvglob();
    g.FilePlayerCount = g.playerFile.playerCount();
    if (g.FilePlayerCount >= 1) {
        for (const PlayerRecord &r : g.playerFile.read(3, qint64(g.FilePlayerCount))) {
            g.RecordBuffer = r;
            addKnownName(trimSpaces(r.Name));
        }
    }
    const int chosen = qMin(g.PlayerCount, int(g.PlayerList.size()));
    for (int i = 1; i <= chosen; ++i)
        liste->addItem(g.PlayerList[i - 1]);

    Combo->setCurrentIndex(-1);
    Combo->setEditText(QString());
}

void saisie_pre::Form_Activate()
{
    Combo->setFocus();
    SuppressClick = true;
    if (Combo->currentIndex() != -1) {
        Combo->setCurrentIndex(0);
        // A change of selection made here is a selection event too, and it is the one
        // that SuppressClick swallows.
        Combo_Click();
    }
    QFont captionFont = Support_liste->font();
    captionFont.setPointSizeF(6);
    Support_liste->setFont(captionFont);
    Combo->lineEdit()->selectAll();
}

void saisie_pre::Combo_Click()
{
    if (SuppressClick) {
        SuppressClick = false;
        return;
    }
    AddName();
}

void saisie_pre::Combo_DblClick()
{
    AddName();
}

void saisie_pre::Combo_KeyDown(int KeyCode, [[maybe_unused]] int Shift)
{
    if (KeyCode == KeyUp || KeyCode == KeyDown) {
        SuppressClick = true;
        return;
    }
    if (KeyCode != KeyEnter)
        return;

    AddName();
    const QString text = Combo->currentText();
    if (text.isEmpty())
        return;
    if (Found) {
        ok_Click();
        return;
    }
    Found = false;
    for (int i = 0; i < Combo->count(); ++i) {
        if (Combo->itemText(i) == text) {
            Found = true;
            break;
        }
    }
    if (!Found)
        addKnownName(text);
    Combo->lineEdit()->selectAll();
}

void saisie_pre::liste_DblClick()
{
    const QList<QListWidgetItem *> selected = liste->selectedItems();
    if (selected.isEmpty())
        return;
    delete liste->takeItem(liste->row(selected.first()));
    liste->clearSelection();
    liste->setCurrentRow(-1);
}

void saisie_pre::ok_Click()
{
    if (liste->count() == 0) {
        services().boxes->show(kNeedOnePlayer, kTitle, BoxButtons::Ok, BoxIcon::Stop);
        return;
    }
    Clvglob &g = clvglob();
    QStringList names;
    for (int i = 0; i < liste->count(); ++i)
        names << liste->item(i)->text();
    g.PlayerList = names;
    g.PlayerCount = int(names.size());
    g.CurrentPlayer = 1;
    if (prenom_)
        prenom_->setText(g.PlayerList[0]);
    QDialog::accept();
}

void saisie_pre::annuler_Click()
{
    if (clvglob().PlayerCount == 0) {
        services().boxes->show(kNeedOnePlayer, kTitle, BoxButtons::Ok, BoxIcon::Stop);
        return;
    }
    QDialog::reject();
}

void saisie_pre::Command1_Click()
{
    services().boxes->show(kHelp, kTitle, BoxButtons::Ok, BoxIcon::Information);
}

void saisie_pre::reject()
{
    annuler_Click();
}

void saisie_pre::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Activation here means the first showing only: a message box closing over the
    // dialog must not select the text again nor re-arm SuppressClick.
    if (!activated_) {
        activated_ = true;
        Form_Activate();
    }
}

void saisie_pre::closeEvent(QCloseEvent *event)
{
    if (!isVisible()) {
        event->accept();
        return;
    }
    annuler_Click();
    if (isVisible())
        event->ignore();
    else
        event->accept();
}

bool saisie_pre::eventFilter(QObject *watched, QEvent *event)
{
    // No button is a default one (Enter in the name box is the box's own business), but
    // Enter on a button that has the focus presses it, as a keyboard user expects.
    if (auto *button = qobject_cast<QPushButton *>(watched); button && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            button->click();
            return true;
        }
    }
    const bool inCombo = watched == Combo || watched == Combo->lineEdit();
    if (inCombo && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const int shift = key->modifiers().testFlag(Qt::ShiftModifier) ? 1 : 0;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Consumed: neither the combo box's own insertion nor a default button.
            Combo_KeyDown(KeyEnter, shift);
            return true;
        case Qt::Key_Up:
            Combo_KeyDown(KeyUp, shift);
            return false;
        case Qt::Key_Down:
            Combo_KeyDown(KeyDown, shift);
            return false;
        default:
            return false;
        }
    }
    if (watched == Combo->lineEdit() && event->type() == QEvent::MouseButtonDblClick) {
        Combo_DblClick();
        return false;
    }
    if (watched == liste->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        liste_DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void saisie_pre::AddName()
{
    const QString text = Windows1252::initialCapital(trimSpaces(Combo->currentText()));
    Combo->setEditText(text);
    if (text.isEmpty())
        return;
    Found = false;
    for (int i = 0; i < liste->count(); ++i) {
        if (liste->item(i)->text() == text) {
            Found = true;
            break;
        }
    }
    if (!Found)
        liste->addItem(text);
}

void saisie_pre::addKnownName(const QString &name)
{
    // Alphabetical with case ignored, accents in their French places; an equal entry
    // keeps its place before the new one.
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::French, QLocale::France));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    int at = 0;
    while (at < Combo->count() && collator.compare(Combo->itemText(at), name) <= 0)
        ++at;
    const int current = Combo->currentIndex();
    const QString text = Combo->currentText();
    Combo->insertItem(at, name);
    // Adding to the list never changes what the box shows or which entry is selected
    // (the combo box would select the first entry it gets).
    if (current == -1 && Combo->currentIndex() != -1) {
        Combo->setCurrentIndex(-1);
        Combo->setEditText(text);
    }
}
