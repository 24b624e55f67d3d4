#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

// A monotonic millisecond counter. Item times are differences of two readings, so only
// the forward movement matters; 64 bits never wrap.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual qint64 ticks() = 0;
};

// The date and time of day, in UTC, for what is kept with a date (the game history). Item
// times never come from here: they are measured with the monotonic Clock.
class WallClock
{
public:
    virtual ~WallClock() = default;
    virtual QDateTime nowUtc() = 0;
};

// Uniform numbers in [0, 1), from one generator seeded once at start-up.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual void seedFromClock() = 0;
    virtual double next() = 0;
};

// The system beep.
class Beeper
{
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

// Plays one .wav file in the background without waiting for it. A new sound stops the one
// still playing; a file that is missing or cannot be played fails silently.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString &fileName) = 0;
    // How long the sound being played still lasts until it has been heard to its end, in
    // milliseconds: 0 when none plays, or when the last one could not be played.
    virtual int remainingMs() const = 0;
};

enum class BoxButtons { Ok, OkCancel };
enum class BoxIcon { None, Information, Exclamation, Question, Stop };
enum class BoxAnswer { Ok, Cancel };

// Modal message boxes with French button texts ("OK", "Annuler").
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual BoxAnswer show(const QString &text, const QString &title, BoxButtons buttons,
                           BoxIcon icon) = 0;
};

// Hands an address (web page, mailto:) to the system's default handler without waiting.
class Shell
{
public:
    virtual ~Shell() = default;

    // First attempt. Returns false with a French description in *error when it failed.
    virtual bool open(const QString &address, QString *error) = 0;

    // Second attempt through another route of the platform (for example xdg-open).
    virtual bool openFallback(const QString &address, QString *error) = 0;
};

// Ends the program: no further handler of the game runs. Files must be closed before.
class ProgramEnd
{
public:
    virtual ~ProgramEnd() = default;
    // At once.
    virtual void endNow() = 0;
    // The windows go at once, the program ends after waitMs milliseconds, so that a sound
    // still playing is heard to its end. The caller returns meanwhile.
    virtual void endAfter(int waitMs) = 0;
};

// The side effects the program uses, handed from the composition root to whoever needs
// them. The objects behind the references outlive every user.
struct Services
{
    Clock &clock;
    WallClock &wallClock;
    RandomSource &random;
    Beeper &beeper;
    SoundPlayer &sound;
    MessageBoxes &boxes;
    Shell &shell;
    ProgramEnd &end;
};
