#pragma once

#include <QString>
#include <QStringList>

// The players of the series in playing order, and whose turn it is. Turns are numbered
// from 1; 0 means no list has been made yet.
class PlayerTurns
{
public:
    const QStringList &players() const { return players_; }
    int count() const { return int(players_.size()); }
    int current() const { return current_; }
    QString currentName() const { return players_.value(current_ - 1); }

    // A new list; the first player's turn.
    void setPlayers(const QStringList &names);
    // The next player's turn, back to the first after the last.
    void advance();
    // No list, as at start-up.
    void clear();

private:
    QStringList players_;
    int current_ = 0;
};
