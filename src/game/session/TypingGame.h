#pragma once

#include "game/session/FinishedGame.h"

#include <QList>
#include <QString>
#include <QtGlobal>

class Clock;
class ItemDraw;
class RandomSource;
class WordList;

// One game of one player in one mode: the item on display, the characters typed so far,
// the wrong keys, the ticks, the item times, the game's best time ("Mini") and its running
// average, and every item played so far with its wrong keys, for the history. It only
// keeps the score; announcing records and showing things is its caller's business.
class TypingGame
{
public:
    static constexpr int kItemsPerGame = 20;
    static constexpr qint64 kUnset = 9999;

    enum class KeyResult { Wrong, Right, Completed };

    struct ItemResult
    {
        qint64 rawMs = 0;      // end tick - start tick
        qint64 time = 0;       // with the penalty of the wrong keys
        bool newGameBest = false;
        qint64 mini = kUnset;  // the game's best item time so far
        qint64 average = 0;    // the game's average so far
        int number = 0;        // 1 to 20
        bool lastOfGame() const { return number == kItemsPerGame; }
    };

    TypingGame(Clock &clock, RandomSource &random);

    // 1 (a letter) or 6 (a word of the word list); an item is done once its last character
    // is typed, whatever its length.
    void setMode(int mode) { mode_ = mode; }
    int mode() const { return mode_; }
    // Where six-letter items come from; may be null or empty.
    void setWordList(const WordList *words) { words_ = words; }
    // Where the items of a practice game or a lesson come from; null for an ordinary game.
    void setItemDraw(ItemDraw *draw) { draw_ = draw; }
    // Whether an item can be drawn in the current mode.
    bool canDrawItem() const;

    // The game's scores back to nothing: no best time, no items, no total.
    void resetScores();
    void setRunning(bool running) { running_ = running; }
    bool isRunning() const { return running_; }

    // Draws the next item and counts it; the item is on display from now on.
    QString drawNextItem();
    // Reads the start tick; called once the item is shown.
    void startTiming();

    // A character typed while an item is shown, compared after upper-casing; a wrong key is
    // counted, a right one advances. Completed means the item's last character was typed.
    KeyResult typeCharacter(QChar c);
    // Reads the end tick before anything else, then computes the item's time and the
    // game's figures. The wrong keys start again from 0 for the next item.
    ItemResult completeItem();

    bool isItemShown() const { return itemShown_; }
    QString item() const { return item_; }
    QString typed() const { return typed_; }
    int itemCount() const { return itemCount_; }
    qint64 wrongKeys() const { return errors_; }
    qint64 gameMini() const { return mini_; }
    qint64 gameAverage() const { return average_; }
    // The items drawn since the scores were reset, the one on display included.
    const QList<PlayedItem> &playedItems() const { return played_; }

private:
    Clock &clock_;
    RandomSource &random_;
    const WordList *words_ = nullptr;
    ItemDraw *draw_ = nullptr;
    int mode_ = 1;

    bool running_ = false;
    bool itemShown_ = false;
    int itemCount_ = 0;
    QString item_;
    QString typed_;
    qint64 errors_ = 0;
    qint64 startTicks_ = 0;
    qint64 endTicks_ = 0;
    qint64 total_ = 0;
    qint64 mini_ = kUnset;
    qint64 average_ = 0;
    QList<PlayedItem> played_;
};
