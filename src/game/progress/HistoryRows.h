#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QtGlobal>

// What the history gives back to the progression window and the export.

// One finished game as the games table holds it. finishedAt is invalid when the stored
// text is not a date (a file edited by hand).
struct GameSummary
{
    qint64 id = 0;
    QDateTime finishedAt;
    qint64 mini = 0;
    qint64 average = 0;
    qint64 wrongKeys = 0;
    bool practice = false; // a targeted practice game, kept out of the record lines
};

// How often a character was due over a player's games of one mode, and how many wrong keys
// were typed while it was due.
struct CharacterCount
{
    QString character;
    qint64 expected = 0;
    qint64 wrong = 0;
};

// A character's figures over a player's latest games of one mode, for targeted practice:
// the times it was due and the wrong keys typed then, and the items that showed it alone
// (the one-letter mode) with their total time without the penalty.
struct RecentCharacter
{
    QString character;
    qint64 expected = 0;
    qint64 wrong = 0;
    qint64 items = 0;
    qint64 itemMs = 0;
};

// One item of one game, with its game's figures, as the export writes it: a line per item.
// Dates stay the text the file holds (ISO 8601, UTC).
struct ItemLine
{
    qint64 gameId = 0;
    QString player;
    int mode = 1;
    QString startedAt;
    QString finishedAt;
    qint64 mini = 0;
    qint64 average = 0;
    qint64 gameWrongKeys = 0;
    int position = 0;
    QString shown;
    qint64 timeMs = 0;
    qint64 rawMs = 0;
    qint64 wrongKeys = 0;
};

// One player's figures in one mode for the class overview, as the history computes them.
// Practice games are counted apart and kept out of the averages and the wrong keys; the
// characters cover the latest games of the mode, practice included, as targeted practice
// reads them.
struct PlayerFigures
{
    QString player;
    qint64 gamesThisWeek = 0; // ordinary games finished since the start given
    qint64 games = 0;         // ordinary games
    qint64 practiceGames = 0;
    QDateTime lastPlayed; // the latest game, practice included; invalid when unreadable
    qint64 bestAverage = 0; // the lowest ordinary average; 0 without an ordinary game
    // The latest ordinary games' averages, oldest first (the last is the latest game's),
    // and over them the wrong keys and the keys due.
    QList<qint64> recentAverages;
    qint64 recentWrong = 0;
    qint64 recentDue = 0;
    QList<RecentCharacter> characters;
};

// One item of a lesson of the keyboard course: what was shown, its time with the penalty,
// and for each wrong key the character that was due, in the order they were typed.
struct LessonItem
{
    QString shown;
    qint64 timeMs = 0;
    QString missed;
};

// One lesson: the number of keys it was played with, the player's speed target then (ms
// per key) and its items in order.
struct LessonGame
{
    int keys = 0;
    int targetMs = 0;
    QList<LessonItem> items;
};

// A player's lessons: how many there are, the most keys any was played with, and the
// latest ones, the newest first.
struct LessonHistory
{
    qint64 count = 0;
    int mostKeys = 0;
    QList<LessonGame> latest;
};
