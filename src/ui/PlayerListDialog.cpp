#include "ui/PlayerListDialog.h"

#include "game/records/PlayerFile.h"
#include "platform/Services.h"
#include "ui/Artwork.h"
#include "ui/Fonts.h"
#include "ui/Screen.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringListModel>

namespace {

const QString kTitle = QStringLiteral("Liste des joueurs");
const QString kNeedOnePlayer = QStringLiteral("Il faut au moins un joueur !");
const QString kHelp = QStringLiteral(
    "Tapez votre (ou vos) prénom(s)  ou choisissez le(s) dans la liste si vous avez déjà "
    "joué puis OK pour valider la liste des joueurs ou ANNULER pour reconduire la liste "
    "précédente");

void placeIn(QWidget *w, double left, double top, double width, double height)
{
    w->setGeometry(twipsRect(left, top, width, height));
}

QPushButton *makeButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    // Enter belongs to the name box's own handling, never to a default button.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

PlayerListDialog::PlayerListDialog(const PlayerFile &file, const QStringList &currentPlayers,
                                   MessageBoxes &boxes, QWidget *parent)
    : QDialog(parent)
    , boxes_(boxes)
    , hadPlayers_(!currentPlayers.isEmpty())
{
    setWindowTitle(kTitle);
    setFixedSize(twipsToPixels(4470), twipsToPixels(5055));
    const QFont windowFont = designFont(QStringLiteral("MS Sans Serif"), 8.25, true);
    setFont(windowFont);

    nameFrame_ = new QGroupBox(QStringLiteral("Prénom"), this);
    placeIn(nameFrame_, 0, 0, 3330, 900);

    nameBox_ = new QComboBox(nameFrame_);
    nameBox_->setObjectName(QStringLiteral("nameBox"));
    nameBox_->setEditable(true);
    nameBox_->setInsertPolicy(QComboBox::NoInsert);
    // No completion while typing: the box shows exactly what was typed.
    nameBox_->setCompleter(nullptr);
    nameBox_->lineEdit()->setAccessibleName(QStringLiteral("Prénom"));
    placeIn(nameBox_, 105, 315, 3165, 315);
    QPalette boxPalette = nameBox_->palette();
    boxPalette.setColor(QPalette::Base, Qt::white);
    nameBox_->setPalette(boxPalette);
    // A known name is added by a selection in the list only, not by leaving the box
    // with matching text in it.
    QObject::disconnect(nameBox_->lineEdit(), &QLineEdit::editingFinished, nameBox_, nullptr);

    auto *picture = new QLabel(this);
    picture->setPixmap(playersIcon());
    picture->setAccessibleName(QStringLiteral("Image des joueurs"));
    placeIn(picture, 3720, 240, 540, 540);

    listFrame_ = new QGroupBox(QStringLiteral("Liste des joueurs"), this);
    placeIn(listFrame_, 0, 960, 4410, 3300);

    list_ = new QListWidget(listFrame_);
    list_->setObjectName(QStringLiteral("players"));
    list_->setAccessibleName(QStringLiteral("Liste des joueurs"));
    // Its own font, so that the smaller caption font of its frame does not reach it.
    list_->setFont(windowFont);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    placeIn(list_, 120, 360, 4110, 2400);
    QPalette listPalette = list_->palette();
    listPalette.setColor(QPalette::Base, QColor(192, 192, 192));
    list_->setPalette(listPalette);

    okButton_ = makeButton(QStringLiteral("ok"), QStringLiteral("&OK"), this);
    placeIn(okButton_, 720, 4440, 885, 405);
    cancelButton_ = makeButton(QStringLiteral("cancel"), QStringLiteral("&Annuler"), this);
    placeIn(cancelButton_, 1920, 4440, 855, 405);
    helpButton_ = makeButton(QStringLiteral("help"), QStringLiteral("&?"), this);
    placeIn(helpButton_, 3120, 4440, 855, 405);
    // Its caption is a bare "?": a screen reader says what it does.
    helpButton_->setAccessibleName(QStringLiteral("Aide"));

    setTabOrder(okButton_, cancelButton_);
    setTabOrder(cancelButton_, helpButton_);
    setTabOrder(helpButton_, nameBox_);
    setTabOrder(nameBox_, list_);

    nameBox_->installEventFilter(this);
    nameBox_->lineEdit()->installEventFilter(this);
    list_->viewport()->installEventFilter(this);
    for (QPushButton *button : {okButton_, cancelButton_, helpButton_})
        button->installEventFilter(this);

    connect(nameBox_, &QComboBox::activated, this, &PlayerListDialog::nameSelected);
    connect(okButton_, &QPushButton::clicked, this, &PlayerListDialog::acceptList);
    connect(cancelButton_, &QPushButton::clicked, this, &PlayerListDialog::cancel);
    connect(helpButton_, &QPushButton::clicked, this, &PlayerListDialog::showHelp);

    centreOnScreen(this);
    // The drop-down list is filled in one go, already in order, into a plain list model:
    // a class's file may hold a hundred thousand names.
    nameBox_->setModel(new QStringListModel(PlayerNames::known(file, order_), nameBox_));
    list_->addItems(currentPlayers);
    nameBox_->setCurrentIndex(-1);
    nameBox_->setEditText(QString());
}

QStringList PlayerListDialog::players() const
{
    QStringList names;
    for (int i = 0; i < list_->count(); ++i)
        names << list_->item(i)->text();
    return names;
}

void PlayerListDialog::activateOnce()
{
    nameBox_->setFocus();
    suppressSelection_ = true;
    if (nameBox_->currentIndex() != -1) {
        nameBox_->setCurrentIndex(0);
        // A change of selection made here is a selection event too, and it is the one
        // that suppressSelection_ swallows.
        nameSelected();
    }
    QFont captionFont = listFrame_->font();
    captionFont.setPointSizeF(6);
    listFrame_->setFont(captionFont);
    nameBox_->lineEdit()->selectAll();
}

void PlayerListDialog::nameSelected()
{
    if (suppressSelection_) {
        suppressSelection_ = false;
        return;
    }
    addName();
}

void PlayerListDialog::enterPressed()
{
    addName();
    const QString text = nameBox_->currentText();
    if (text.isEmpty())
        return;
    if (found_) {
        acceptList();
        return;
    }
    if (!knownNames().contains(text))
        addKnownName(text);
    nameBox_->lineEdit()->selectAll();
}

void PlayerListDialog::removeSelectedPlayer()
{
    const QList<QListWidgetItem *> selected = list_->selectedItems();
    if (selected.isEmpty())
        return;
    delete list_->takeItem(list_->row(selected.first()));
    list_->clearSelection();
    list_->setCurrentRow(-1);
}

void PlayerListDialog::acceptList()
{
    if (list_->count() == 0) {
        boxes_.show(kNeedOnePlayer, kTitle, BoxButtons::Ok, BoxIcon::Stop);
        return;
    }
    QDialog::accept();
}

void PlayerListDialog::cancel()
{
    if (!hadPlayers_) {
        boxes_.show(kNeedOnePlayer, kTitle, BoxButtons::Ok, BoxIcon::Stop);
        return;
    }
    QDialog::reject();
}

void PlayerListDialog::showHelp()
{
    boxes_.show(kHelp, kTitle, BoxButtons::Ok, BoxIcon::Information);
}

void PlayerListDialog::reject()
{
    cancel();
}

void PlayerListDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Activation here means the first showing only: a message box closing over the
    // dialog must not select the text again nor re-arm the swallowed selection.
    if (!activated_) {
        activated_ = true;
        activateOnce();
    }
}

void PlayerListDialog::closeEvent(QCloseEvent *event)
{
    if (!isVisible()) {
        event->accept();
        return;
    }
    cancel();
    if (isVisible())
        event->ignore();
    else
        event->accept();
}

bool PlayerListDialog::eventFilter(QObject *watched, QEvent *event)
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
    const bool inNameBox = watched == nameBox_ || watched == nameBox_->lineEdit();
    if (inNameBox && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Consumed: neither the combo box's own insertion nor a default button.
            enterPressed();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            suppressSelection_ = true;
            return false;
        default:
            return false;
        }
    }
    if (watched == nameBox_->lineEdit() && event->type() == QEvent::MouseButtonDblClick) {
        addName();
        return false;
    }
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        removeSelectedPlayer();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PlayerListDialog::addName()
{
    const QString text = PlayerNames::normalised(nameBox_->currentText());
    nameBox_->setEditText(text);
    if (text.isEmpty())
        return;
    found_ = players().contains(text);
    if (!found_)
        list_->addItem(text);
}

QStringList PlayerListDialog::knownNames() const
{
    QStringList known;
    known.reserve(nameBox_->count());
    for (int i = 0; i < nameBox_->count(); ++i)
        known << nameBox_->itemText(i);
    return known;
}

void PlayerListDialog::addKnownName(const QString &name)
{
    const int at = order_.insertPosition(knownNames(), name);
    const int current = nameBox_->currentIndex();
    const QString text = nameBox_->currentText();
    nameBox_->insertItem(at, name);
    // Adding to the list never changes what the box shows or which entry is selected
    // (the combo box would select the first entry it gets).
    if (current == -1 && nameBox_->currentIndex() != -1) {
        nameBox_->setCurrentIndex(-1);
        nameBox_->setEditText(text);
    }
}
