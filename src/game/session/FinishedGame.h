#pragma once

#include <QChar>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QtGlobal>

// One wrong key: the character the player had to type next and the one typed, both in
// upper case as the game compares them. `expected` is null only for an item that has no
// character left to type (an empty item, which the shipped word list never gives).
struct Mistake
{
    QChar expected;
    QChar typed;
};

// One item of a game as it was played.
struct PlayedItem
{
    QString shown;      // as displayed, in upper case
    qint64 rawMs = 0;   // end tick - start tick
    qint64 timeMs = 0;  // with the penalty of the wrong keys
    QList<Mistake> mistakes; // in the order they were typed
};

// A game of 20 items that went to its end, as the history keeps it.
struct FinishedGame
{
    QString player;     // the name as the main window shows it
    int mode = 1;       // 1 or 6
    QDateTime startedAt;  // UTC, when the first item was shown
    QDateTime finishedAt; // UTC, when the last item was completed
    qint64 mini = 0;
    qint64 average = 0;
    QList<PlayedItem> items;
    // A targeted practice game: its items were chosen to be hard, so it sets no record.
    bool practice = false;
    // A lesson of the keyboard course (mode kLessonMode): the keys it was played with and
    // the player's speed target then, in ms per key; 0 for every other game.
    int lessonKeys = 0;
    int lessonTargetMs = 0;
    static constexpr int kLessonMode = 0;
    bool isLesson() const { return lessonKeys > 0; }

    qint64 wrongKeys() const
    {
        qint64 n = 0;
        for (const PlayedItem &item : items)
            n += item.mistakes.size();
        return n;
    }
};
