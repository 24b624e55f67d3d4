#pragma once

#include "platform/Services.h"
#include "platform/Environment.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// Test doubles: clocks moved by the test, random numbers it queued (then `fallback`),
// recorders of beeps, sounds (`remaining`: how long the one playing still lasts), addresses
// opened, ends asked (`atEnd` runs then), given keyboard names and remembered layouts, and
// boxes answered with the queued answers (then OK).
struct ScriptedClock : Clock { qint64 ticks() override { return now; } qint64 now = 1000; };
struct ScriptedWallClock : WallClock
{
    QDateTime nowUtc() override { return now; }
    QDateTime now = QDateTime(QDate(2026, 12, 6), QTime(18, 30, 5, 123), Qt::UTC);
};
struct ScriptedRandom : RandomSource
{
    void seedFromClock() override { ++seeds; }
    double next() override { return values.isEmpty() ? fallback : values.takeFirst(); }
    QList<double> values;
    double fallback = 0.0;
    int seeds = 0;
};
struct CountingBeeper : Beeper { void beep() override { ++count; } int count = 0; };
struct RecordingSound : SoundPlayer
{
    void play(const QString &fileName) override { played << fileName; }
    int remainingMs() const override { return remaining; }
    QStringList played;
    int remaining = 0;
};
struct GivenKeyboardNames : ServerKeyboardNames { QByteArray rulesNames() override { return names; } QByteArray names; };
struct RememberedLayout : LayoutMemory
{
    QString remembered() override { return layout; }
    void remember(const QString &chosen) override { kept << (layout = chosen); }
    QString layout;
    QStringList kept;
};
struct ScriptedBoxes : MessageBoxes
{
    struct Box
    {
        QString text, title;
        BoxButtons buttons;
        BoxIcon icon;
        // The whole box in one line, "text | title | buttons | icon", to compare at once.
        QString toString() const
        {
            return QStringList{text, title, QStringList{"Ok", "OkCancel"}[int(buttons)],
                               QStringList{"None", "Information", "Exclamation", "Question", "Stop"}[int(icon)]}.join(" | ");
        }
    };
    BoxAnswer show(const QString &text, const QString &title, BoxButtons buttons, BoxIcon icon) override
    {
        shown.append({text, title, buttons, icon});
        if (onShow)
            onShow(shown.last()); // for tests that follow what the screen shows then
        return answers.isEmpty() ? BoxAnswer::Ok : answers.takeFirst();
    }
    QStringList texts() const
    {
        QStringList out;
        for (const Box &b : shown)
            out << b.text;
        return out;
    }
    QString last() const { return shown.isEmpty() ? QString() : shown.last().toString(); }
    QList<Box> shown;
    std::function<void(const Box &)> onShow;
    QList<BoxAnswer> answers;
};
struct RecordingShell : Shell
{
    bool open(const QString &address, QString *error) override { return log(opened, address, openSucceeds, error, ""); }
    bool openFallback(const QString &address, QString *error) override { return log(fallbacks, address, fallbackSucceeds, error, " du second essai"); }
    static bool log(QStringList &into, const QString &address, bool succeeds, QString *error, const char *which)
    {
        into << address;
        if (!succeeds && error)
            *error = QStringLiteral("échec simulé") + which;
        return succeeds;
    }
    QStringList opened, fallbacks;
    bool openSucceeds = true, fallbackSucceeds = true;
};
struct RecordingEnd : ProgramEnd
{
    void endNow() override { endAfter(0); }
    void endAfter(int waitMs) override
    {
        ++ended;
        waits << waitMs;
        if (atEnd)
            atEnd();
    }
    int ended = 0;
    QList<int> waits;
    std::function<void()> atEnd;
};

// All the doubles together, handed out as the program's services.
struct TestServices
{
    ScriptedClock clock;
    ScriptedWallClock wallClock;
    ScriptedRandom random;
    CountingBeeper beeper;
    RecordingSound sound;
    ScriptedBoxes boxes;
    RecordingShell shell;
    RecordingEnd end;
    Services services() { return {clock, wallClock, random, beeper, sound, boxes, shell, end}; }
};

// A fresh temporary folder made the working folder for the lifetime of the object.
class ScratchFolder
{
public:
    ScratchFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~ScratchFolder() { QDir::setCurrent(previous_); }
    QString path() const { return dir_.path(); }
    QString file(const QString &name) const { return dir_.filePath(name); }
    QByteArray read(const QString &name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(file(name));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes);
    }

private:
    QTemporaryDir dir_;
    QString previous_;
};
