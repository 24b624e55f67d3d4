#pragma once

#include "game/progress/GameHistory.h"
#include "game/practice/PracticeDraw.h"
#include "game/records/PlayerFile.h"
#include "game/session/PlayerTurns.h"
#include "game/records/RecordKeeper.h"
#include "game/session/SettingsFile.h"
#include "game/session/SoundCues.h"
#include "game/session/TypingGame.h"
#include "game/words/WordList.h"
#include "platform/Services.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class HistoryReader;

// The game as the main window offers it: the mode and its files, the sound switch, the
// series of players and their turns, one typing game at a time and the records it is
// measured against. Every command of the window is a method here; what the window must
// show is reported through signals, in the order in which it is to be shown. Message
// boxes, sounds, beeps and the end of the program go through the services. A game played
// to its 20th item is handed to the history, once its records are announced and written.
class GameSession : public QObject
{
    Q_OBJECT

public:
    // The caption the player name label has while nobody is named.
    static inline const QString kNoPlayer = QStringLiteral("Prénom");

    explicit GameSession(const Services &services, QObject *parent = nullptr);
    ~GameSession() override;

    // Where finished games go; none by default. The history outlives the session.
    void setHistory(GameHistory *history) { history_ = history; }
    // Where a practice game reads the player's weak characters from; none by default.
    void setHistoryReader(HistoryReader *reader) { reader_ = reader; }

    // Start-up: no players yet, the random generator seeded once.
    void prepare();
    // Opens the one-letter record file and the settings file, which stay open for the
    // whole run, and loads the sound switch. When a file cannot be opened the player is
    // told why, every file is closed and false is returned: the program must end.
    bool openFiles();
    void playStartCue();

    // The main window's activation: at its first showing (returns true; the window then
    // maximises itself) and each time one of the program's modal windows over it closes.
    bool activate(bool afterHandOver);

    // Menu commands. newGame() and newPractice() expect a named player.
    void newGame();
    // A targeted practice game for the current player in the current mode, its items drawn
    // from the player's weak characters; it follows the turns like an ordinary game, each
    // player practising their own, until another command. It sets no record and writes
    // nothing to the record files; the history keeps it marked as practice.
    void newPractice();
    void selectMode(int mode);
    void toggleSound();
    void help();
    void quit();
    // The window is being closed: goodbye, then the end.
    void sayGoodbye();
    // Ends the program: every file closed and no handler of the game run any more at once,
    // the process ended once the cue being played has been heard (at once with the sound
    // off or nothing playing).
    void endProgram();
    // How long the end waits after the cue's last sample is due, for the sound server to
    // have played it out.
    static constexpr int kEndMarginMs = 150;

    // The player list dialog's choice: the first player's turn.
    void setPlayers(const QStringList &names);
    // After the player list dialog: a fresh game's scores and the player's records.
    void afterPlayersChosen();

    // A character typed in the main window (13 Enter, 8 Backspace, 27 Escape).
    void typeKey(QChar key);

    bool hasPlayer() const { return shownName_ != kNoPlayer; }
    QString shownName() const { return shownName_; }
    bool isEnded() const { return ended_; }
    bool soundChecked() const { return soundChecked_; }
    int mode() const { return game_.mode(); }

    const PlayerFile &playerFile() const { return playerFile_; }
    // The date and time of day, for the windows that speak of "today".
    WallClock &wallClock() const { return services_.wallClock; }
    const PlayerTurns &turns() const { return turns_; }
    const TypingGame &game() const { return game_; }
    bool isPractice() const { return practice_ != nullptr; }
    RecordKeeper &records() { return records_; }
    const RecordKeeper &records() const { return records_; }

signals:
    // The scores of a fresh game in this mode ("?" or "??????" waiting to be replaced).
    void gameReset(int mode);
    void promptChanged(const QString &caption, bool visible);
    void itemShown(const QString &item, int number);
    void typedChanged(const QString &typed);
    void itemCompleted(qint64 time);
    void gameMiniShown(const QString &caption);
    void gameAverageShown(const QString &caption);
    void playerShown(const QString &name);
    void soundSwitched(bool on);
    // The last item is done and the turn has passed on; nextPlayer is empty when there
    // is only one player.
    void gameOver(const QString &nextPlayer);
    // The program ends now: no handler may run any more.
    void ending();

private:
    void resetGame();
    void startPractice(const QString &player);
    // Tells the player when the practice just started has no history of theirs to draw from.
    void tellIfNoHistory(const QString &player);
    // Back to ordinary games, the prompt with it when it showed the practice.
    void leavePractice();
    bool openPlayerFile();
    void nextItem();
    void completeItem();
    void finishGame();
    void showPlayer(const QString &name);
    void findPlayer();

    Services services_;
    PlayerFile playerFile_;
    WordList wordList_;
    SettingsFile settingsFile_;
    SoundCues cues_;
    PlayerTurns turns_;
    TypingGame game_;
    RecordKeeper records_;
    GameHistory *history_ = nullptr;
    HistoryReader *reader_ = nullptr;
    std::unique_ptr<PracticeDraw> practice_;
    QString practiceCaption_;

    // When the game's first item was shown and its last one completed.
    QDateTime startedAt_;
    QDateTime finishedAt_;
    QString shownName_ = kNoPlayer;
    bool soundChecked_ = true;
    bool activated_ = false;
    bool ended_ = false;
};
