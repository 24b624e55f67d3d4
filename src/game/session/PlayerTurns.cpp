#include "game/session/PlayerTurns.h"

void PlayerTurns::setPlayers(const QStringList &names)
{
    players_ = names;
    current_ = 1;
}

void PlayerTurns::advance()
{
    ++current_;
    if (current_ > count())
        current_ = 1;
}

void PlayerTurns::clear()
{
    players_.clear();
    current_ = 0;
}
