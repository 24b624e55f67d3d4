#include "game/session/GameSession.h"

#include "game/session/FileProblems.h"
#include "game/practice/PracticeReport.h"
#include "game/session/Statistics.h"
#include "platform/Services.h"
#include "platform/DataPaths.h"
#include "platform/Windows1252.h"

namespace {

const QString kTitle = QStringLiteral("Clavimo");
const QString kPressSpace = QStringLiteral("Barre espace pour continuer");
constexpr QChar kEscape(27);

} // namespace

GameSession::GameSession(const Services &services, QObject *parent)
    : QObject(parent)
    , services_(services)
    , cues_(services.sound)
    , game_(services.clock, services.random)
    , records_(playerFile_, cues_, services.boxes)
{
    game_.setWordList(&wordList_);
}

GameSession::~GameSession()
{
    playerFile_.close();
    wordList_.close();
    settingsFile_.close();
}

void GameSession::prepare()
{
    turns_.clear();
    services_.random.seedFromClock();
}

bool GameSession::openFiles()
{
    const QString playerFileName = PlayerFile::fileNameFor(1);
    if (!playerFile_.open(playerFileName)) {
        reportOpenProblem(services_.boxes, playerFileName, playerFile_.errorString());
        playerFile_.close();
        return false;
    }
    if (!settingsFile_.open(SettingsFile::fileName())) {
        reportOpenProblem(services_.boxes, SettingsFile::fileName(), settingsFile_.errorString());
        playerFile_.close();
        settingsFile_.close();
        return false;
    }
    qint16 soundOn = SettingsFile::kSoundOn;
    if (!settingsFile_.loadOrCreate(&soundOn))
        reportWriteProblem(services_.boxes, SettingsFile::fileName(), settingsFile_.errorString());
    cues_.setSwitchValue(soundOn);
    soundChecked_ = soundOn == SettingsFile::kSoundOn;
    return true;
}

void GameSession::playStartCue()
{
    cues_.play(Cue::Start);
}

bool GameSession::activate(bool afterHandOver)
{
    if (ended_)
        return false;
    if (!activated_) {
        selectMode(1);
        if (ended_)
            return false;
        game_.setRunning(false);
        activated_ = true;
        return true;
    }
    if (turns_.current() == 0)
        return false;
    // Only the return from the hand-over window starts the next player's game; closing
    // the records list or the About window must not throw away a game in progress.
    if (turns_.current() > 1 && afterHandOver) {
        if (practice_) {
            // The next player is on screen, and welcomed when new, before the box that
            // may tell them their practice has no history to draw from.
            startPractice(turns_.currentName());
            showPlayer(turns_.currentName());
            findPlayer();
            tellIfNoHistory(turns_.currentName());
            return false;
        }
        newGame();
    }
    showPlayer(turns_.currentName());
    findPlayer();
    return false;
}

void GameSession::newGame()
{
    leavePractice();
    game_.setRunning(true);
    resetGame();
    emit promptChanged(kPressSpace, true);
}

void GameSession::newPractice()
{
    startPractice(shownName_);
    tellIfNoHistory(shownName_);
}

void GameSession::startPractice(const QString &player)
{
    const int mode = game_.mode();
    practice_ = std::make_unique<PracticeDraw>(PracticeDraw::forPlayer(reader_, player, mode, wordList_));
    game_.setItemDraw(practice_.get());
    practiceCaption_ = PracticeReport::caption(practice_->plan());
    game_.setRunning(true);
    resetGame();
    emit promptChanged(practiceCaption_, true);
}

void GameSession::tellIfNoHistory(const QString &player)
{
    const int mode = game_.mode();
    if (!practice_->plan().hasHistory()) {
        services_.boxes.show(
            QStringLiteral("%1 n'a pas encore de partie en %2 dans l'historique : l'entraînement tire les %3 "
                           "au hasard, comme une partie ordinaire. Les prochaines parties diront quelles touches "
                           "travailler.")
                .arg(player, mode == 1 ? QStringLiteral("1 lettre") : QStringLiteral("6 lettres"),
                     mode == 1 ? QStringLiteral("lettres") : QStringLiteral("mots")),
            kTitle, BoxButtons::Ok, BoxIcon::Information);
    }
}

void GameSession::leavePractice()
{
    if (!practice_)
        return;
    game_.setItemDraw(nullptr);
    practice_.reset();
    emit promptChanged(kPressSpace, game_.isRunning());
}

void GameSession::selectMode(int mode)
{
    leavePractice();
    game_.setMode(mode);
    if (mode == 1)
        wordList_.close();
    playerFile_.close();
    if (!openPlayerFile())
        return;
    // A missing word list is not reported here: the space bar says so when it is needed.
    if (mode == 6 && !wordList_.isOpen())
        wordList_.open(locateDataFile(WordList::fileName()));
    records_.loadAbsolute();
    resetGame();
    if (hasPlayer())
        findPlayer();
}

void GameSession::toggleSound()
{
    soundChecked_ = !soundChecked_;
    cues_.setSwitchValue(soundChecked_ ? SettingsFile::kSoundOn : SettingsFile::kSoundOff);
    emit soundSwitched(soundChecked_);
    if (!settingsFile_.save(cues_.switchValue()))
        reportWriteProblem(services_.boxes, SettingsFile::fileName(), settingsFile_.errorString());
}

void GameSession::help()
{
    if (cues_.isOn())
        services_.beeper.beep();
    services_.boxes.show(
        QStringLiteral("C'est pas assez clair ?..... Désolé j'ai rien d'autre pour le moment !"), kTitle,
        BoxButtons::Ok, BoxIcon::Question);
}

void GameSession::quit()
{
    const BoxAnswer answer = services_.boxes.show(QStringLiteral("Allez, encore un peu !"), kTitle,
                                                  BoxButtons::OkCancel, BoxIcon::Exclamation);
    if (answer != BoxAnswer::Ok)
        return;
    cues_.play(Cue::Goodbye);
    endProgram();
}

void GameSession::sayGoodbye()
{
    if (ended_)
        return;
    cues_.play(Cue::Goodbye);
    services_.boxes.show(QStringLiteral("Au revoir et à bientôt !"), kTitle, BoxButtons::Ok,
                         BoxIcon::None);
    endProgram();
}

void GameSession::setPlayers(const QStringList &names)
{
    turns_.setPlayers(names);
    showPlayer(turns_.currentName());
}

void GameSession::afterPlayersChosen()
{
    leavePractice();
    resetGame();
    showPlayer(Windows1252::initialCapital(shownName_));
    findPlayer();
}

void GameSession::typeKey(QChar key)
{
    if (ended_)
        return;
    if (key == kEscape) {
        quit();
        if (ended_)
            return;
    }
    if (game_.isItemShown()) {
        switch (game_.typeCharacter(key)) {
        case TypingGame::KeyResult::Wrong:
            services_.beeper.beep();
            break;
        case TypingGame::KeyResult::Right:
            emit typedChanged(game_.typed());
            break;
        case TypingGame::KeyResult::Completed:
            emit typedChanged(game_.typed());
            completeItem();
            break;
        }
    } else if (game_.isRunning() && key == QLatin1Char(' ')) {
        if (!game_.canDrawItem()) {
            services_.boxes.show(
                QStringLiteral("La liste de mots «\u00A0%1\u00A0» est absente ou vide\u00A0: le jeu en 6 lettres "
                               "ne peut pas tirer de mot. Choisissez le jeu en 1 lettre dans le menu Options.")
                    .arg(WordList::fileName()),
                kTitle, BoxButtons::Ok, BoxIcon::Exclamation);
            return;
        }
        // A practice game keeps its characters on show while the items are typed.
        if (practice_)
            emit promptChanged(practiceCaption_, true);
        else
            emit promptChanged(kPressSpace, false);
        nextItem();
    }
}

void GameSession::resetGame()
{
    game_.resetScores();
    emit gameReset(game_.mode());
}

bool GameSession::openPlayerFile()
{
    const QString name = PlayerFile::fileNameFor(game_.mode());
    if (playerFile_.open(name))
        return true;
    reportOpenProblem(services_.boxes, name, playerFile_.errorString());
    endProgram();
    return false;
}

void GameSession::nextItem()
{
    if (game_.itemCount() == 0)
        startedAt_ = services_.wallClock.nowUtc();
    const QString item = game_.drawNextItem();
    emit itemShown(item, game_.itemCount());
    game_.startTiming();
}

void GameSession::completeItem()
{
    // The end tick first, before any display, sound or file work.
    const TypingGame::ItemResult result = game_.completeItem();
    if (result.lastOfGame())
        finishedAt_ = services_.wallClock.nowUtc();
    emit itemCompleted(result.time);
    if (result.newGameBest) {
        cues_.play(Cue::GameBest);
        emit gameMiniShown(Statistics::gameMiniCaption(result.mini));
    }
    emit gameAverageShown(Statistics::gameAverageCaption(result.average));
    // A practice game's items are chosen to be hard: its times are not comparable.
    if (!practice_)
        records_.afterItem(result.mini, shownName_);
    if (result.lastOfGame())
        finishGame();
}

void GameSession::finishGame()
{
    if (!practice_)
        records_.afterGame(game_.gameAverage(), shownName_);
    // The record files come first; the history is written once they are.
    if (history_) {
        history_->record(FinishedGame{shownName_, game_.mode(), startedAt_, finishedAt_, game_.gameMini(),
                                      game_.gameAverage(), game_.playedItems(), practice_ != nullptr});
    }
    if (practice_) {
        const QString summary = PracticeReport::summary(practice_->plan(), game_.playedItems());
        if (!summary.isEmpty())
            services_.boxes.show(summary, shownName_, BoxButtons::Ok, BoxIcon::Information);
    }
    game_.setRunning(false);
    turns_.advance();
    emit gameOver(turns_.count() > 1 ? turns_.currentName() : QString());
}

void GameSession::showPlayer(const QString &name)
{
    shownName_ = name;
    emit playerShown(name);
}

void GameSession::findPlayer()
{
    records_.findPlayer(shownName_);
}

void GameSession::endProgram()
{
    ended_ = true;
    emit ending();
    playerFile_.close();
    wordList_.close();
    settingsFile_.close();
    const int cueLeft = cues_.remainingMs();
    if (cueLeft > 0)
        services_.end.endAfter(cueLeft + kEndMarginMs);
    else
        services_.end.endNow();
}
