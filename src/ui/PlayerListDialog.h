#pragma once

#include "game/session/PlayerNames.h"

#include <QDialog>
#include <QStringList>

class MessageBoxes;
class PlayerFile;
class QComboBox;
class QGroupBox;
class QListWidget;
class QPushButton;

// The player list dialog: names the players of the coming games in their order of turns.
// OK is accepted with at least one player, and players() is then the new list; Annuler
// (also Escape and the title-bar close) leaves the list as it was, once there is one.
class PlayerListDialog : public QDialog
{
    Q_OBJECT

public:
    PlayerListDialog(const PlayerFile &file, const QStringList &currentPlayers, MessageBoxes &boxes,
                     QWidget *parent = nullptr);

    // The players in the list, in order.
    QStringList players() const;

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void activateOnce();
    void nameSelected();
    void enterPressed();
    void removeSelectedPlayer();
    void acceptList();
    void cancel();
    void showHelp();
    // Adds the name in the box to the players unless it is there already.
    void addName();
    QStringList knownNames() const;
    // Adds a name to the drop-down list in its alphabetical place.
    void addKnownName(const QString &name);

    MessageBoxes &boxes_;
    bool hadPlayers_ = false;
    PlayerNames::Order order_;

    QGroupBox *nameFrame_ = nullptr;
    QComboBox *nameBox_ = nullptr;
    QGroupBox *listFrame_ = nullptr;
    QListWidget *list_ = nullptr;
    QPushButton *okButton_ = nullptr;
    QPushButton *cancelButton_ = nullptr;
    QPushButton *helpButton_ = nullptr;

    // A selection event to swallow: the one the dialog makes itself at its showing, or the
    // one the arrow keys make while moving through the drop-down list.
    bool suppressSelection_ = false;
    // The last name added was in the list already: a second Enter validates the list.
    bool found_ = false;
    bool activated_ = false;
};
