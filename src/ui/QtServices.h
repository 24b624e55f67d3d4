#pragma once

#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramEnd.h"
#include "platform/RandomSource.h"
#include "platform/Shell.h"
#include "platform/SoundPlayer.h"

#include "platform/Services.h"
#include "platform/SystemClock.h"
#include "platform/SystemRandom.h"
#include "platform/SystemWallClock.h"

#include <memory>

class QSoundEffect;

// The real side effects that need Qt Gui, Widgets or Multimedia.

class QtBeeper : public Beeper
{
public:
    void beep() override;
};

class QtSoundPlayer : public SoundPlayer
{
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void play(const QString &fileName) override;

private:
    std::unique_ptr<QSoundEffect> effect_;
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
