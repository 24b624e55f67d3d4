#pragma once

#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramEnd.h"
#include "platform/RandomSource.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/SoundPlayer.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// A clock that moves only when the test says so.
class ScriptedClock : public Clock
{
public:
    qint64 ticks() override { return now; }
    qint64 now = 1000;
};

// Hands out the numbers the test queued, then `fallback`.
class ScriptedRandom : public RandomSource
{
public:
    void seedFromClock() override { ++seeds; }
    double next() override { return values.isEmpty() ? fallback : values.takeFirst(); }
    QList<double> values;
    double fallback = 0.0;
    int seeds = 0;
};

class CountingBeeper : public Beeper
{
public:
    void beep() override { ++count; }
    int count = 0;
};

class RecordingSound : public SoundPlayer
{
public:
    void play(const QString &fileName) override { played << fileName; }
    QStringList played;
};

// Records every box and answers with the queued answers (OK once the queue is empty).
// `onShow` runs while the box is "open", for tests that look at the windows then.
class ScriptedBoxes : public MessageBoxes
{
public:
    struct Box
    {
        QString text;
        QString title;
        BoxButtons buttons;
        BoxIcon icon;
    };
    BoxAnswer show(const QString &text, const QString &title, BoxButtons buttons,
                   BoxIcon icon) override
    {
        shown.append({text, title, buttons, icon});
        if (onShow)
            onShow(shown.last());
        return answers.isEmpty() ? BoxAnswer::Ok : answers.takeFirst();
    }
    QStringList texts() const
    {
        QStringList out;
        for (const Box &b : shown)
            out << b.text;
        return out;
    }
    QList<Box> shown;
    QList<BoxAnswer> answers;
    std::function<void(const Box &)> onShow;
};

class RecordingShell : public Shell
{
public:
    bool open(const QString &address, QString *error) override
    {
        opened << address;
        if (!openSucceeds && error)
            *error = QStringLiteral("échec simulé");
        return openSucceeds;
    }
    bool openFallback(const QString &address, QString *error) override
    {
        fallbacks << address;
        if (!fallbackSucceeds && error)
            *error = QStringLiteral("échec simulé du second essai");
        return fallbackSucceeds;
    }
    QStringList opened;
    QStringList fallbacks;
    bool openSucceeds = true;
    bool fallbackSucceeds = true;
};

class RecordingEnd : public ProgramEnd
{
public:
    void endNow() override { ++ended; }
    int ended = 0;
};

// All the doubles together, installed for the lifetime of the object.
struct TestServices
{
    TestServices();
    ~TestServices();

    ScriptedClock clock;
    ScriptedRandom random;
    CountingBeeper beeper;
    RecordingSound sound;
    ScriptedBoxes boxes;
    RecordingShell shell;
    RecordingEnd end;
};

// A fresh temporary folder made the working folder for the lifetime of the object.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString &name) const { return dir_.filePath(name); }
    QByteArray read(const QString &name) const;
    void write(const QString &name, const QByteArray &bytes) const;

private:
    QTemporaryDir dir_;
    QString previous_;
};
