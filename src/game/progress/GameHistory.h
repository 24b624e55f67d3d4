#pragma once

struct FinishedGame;

// Where finished games are kept. Recording never fails from the caller's point of view: a
// store that cannot keep the game says so to the player itself and the game goes on.
class GameHistory
{
public:
    virtual ~GameHistory() = default;
    virtual void record(const FinishedGame &game) = 0;
};
