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
