#pragma once

#include "platform/Services.h"

#include "platform/SystemClock.h"
#include "platform/SystemRandom.h"
#include "platform/SystemWallClock.h"

#include "platform/WavSound.h"

#include <QBuffer>
#include <QHash>

#include <memory>

class QAudioSink;

// The real side effects that need Qt Gui, Widgets or Multimedia.

class QtBeeper : public Beeper
{
public:
    void beep() override;
};

// Plays the samples of the .wav file through an audio output of its own. The output is
// left running once every sample is written, until they have all been played: it tells it
// has nothing more to read before the sound server has played the last of them, and
// stopping it then would drop the cue's end.
class QtSoundPlayer : public SoundPlayer
{
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void play(const QString &fileName) override;
    int remainingMs() const override;

private:
    void stop();

    // The files read so far, by name: a cue is read once.
    QHash<QString, WavSound> sounds_;
    std::unique_ptr<QAudioSink> sink_;
    QBuffer source_;
    qint64 lengthUs_ = 0;
};

class QtMessageBoxes : public MessageBoxes
{
public:
    BoxAnswer show(const QString &text, const QString &title, BoxButtons buttons,
                   BoxIcon icon) override;
};

class QtShell : public Shell
{
public:
    bool open(const QString &address, QString *error) override;
    bool openFallback(const QString &address, QString *error) override;
};

class QtProgramEnd : public ProgramEnd
{
public:
    void endNow() override;
    // Hides every window, then ends the process from the event loop, which plays the sound
    // meanwhile.
    void endAfter(int waitMs) override;
};

// Every real service, owned together by the composition root.
struct QtServiceSet
{
    SystemClock clock;
    SystemWallClock wallClock;
    SystemRandom random;
    QtBeeper beeper;
    QtSoundPlayer sound;
    QtMessageBoxes boxes;
    QtShell shell;
    QtProgramEnd end;

    Services services() { return {clock, wallClock, random, beeper, sound, boxes, shell, end}; }
};
