#pragma once

#include <QByteArray>
#include <QString>

// Tells a folder on another computer (a network or cluster file system) from one on this
// computer's own disks. SQLite's WAL mode and its locks are not safe on the former, so the
// history file is kept elsewhere when the game plays in such a folder.
class FolderKinds
{
public:
    virtual ~FolderKinds() = default;
    virtual bool isRemote(const QString &folder) const = 0;
};

// What the display server says about the keyboard in use: the bytes of the X server's
// `_XKB_RULES_NAMES` root-window property (rules, model, layouts, variants and options,
// each ended by a zero byte), or nothing where there is no X server to ask.
class ServerKeyboardNames
{
public:
    virtual ~ServerKeyboardNames() = default;
    virtual QByteArray rulesNames() = 0;
};

// The keyboard layout last chosen in the progression window, kept between runs.
class LayoutMemory
{
public:
    virtual ~LayoutMemory() = default;
    virtual QString remembered() = 0; // empty when none was chosen
    virtual void remember(const QString &layout) = 0;
};
