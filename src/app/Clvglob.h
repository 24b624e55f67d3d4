#pragma once

#include "game/SettingsFile.h"
#include "game/WordList.h"
#include "game/PlayerFile.h"
#include "game/PlayerRecord.h"
#include "ui/MainLayout.h"

#include <QStringList>

// State shared by the windows. The open files stay open under their fixed roles:
// the current mode's player file, the word list while six-letter mode is selected, and
// the settings file; they are all closed together when the program ends.
struct Clvglob
{
    qint16 GameMode = 1;
    qint16 SoundOn = -1;

    // PlayerList(i) of the game, i from 1 to PlayerCount, is PlayerList[i - 1].
    QStringList PlayerList;
    int PlayerCount = 0;
    int CurrentPlayer = 0;

    PlayerRecord RecordBuffer;
    double FilePlayerCount = 0;

    // Reference size of the main window's layout and the ratios of the last layout.
    LayoutReference Layout;

    PlayerFile playerFile;     // file 1
    WordList wordFile;         // file 2
    SettingsFile settingsFile; // file 5

    QString currentPlayerName() const { return PlayerList.value(CurrentPlayer - 1); }
    void closeAll();
};

Clvglob &clvglob();

// Puts the shared state back as at program start, files closed (for tests).
void resetClvglob();
