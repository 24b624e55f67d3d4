#pragma once

#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramEnd.h"
#include "platform/RandomSource.h"
#include "platform/Shell.h"
#include "platform/SoundPlayer.h"

#include <QElapsedTimer>

#include <memory>
#include <random>

class QSoundEffect;

// The real side effects, on top of Qt and the standard library.

class SystemClock : public Clock
{
public:
    SystemClock();
    qint64 ticks() override;

private:
    QElapsedTimer timer_;
};

class SystemRandom : public RandomSource
{
public:
    void seedFromClock() override;
    double next() override;

private:
    std::mt19937_64 engine_{0};
};

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
