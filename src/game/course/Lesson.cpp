#include "game/course/Lesson.h"

#include "game/progress/GameHistory.h"
#include "game/session/FinishedGame.h"

Lesson::Lesson(const Services &services, GameHistory *history, QObject *parent)
    : QObject(parent)
    , services_(services)
    , history_(history)
    , game_(services.clock, services.random)
{
    game_.setMode(FinishedGame::kLessonMode);
}

void Lesson::start(const QString &player, std::unique_ptr<LessonDraw> draw, int keys, int targetMs)
{
    draw_ = std::move(draw);
    game_.setItemDraw(draw_.get());
    player_ = player;
    keys_ = keys;
    targetMs_ = targetMs;
    game_.resetScores();
    game_.setRunning(draw_ != nullptr);
}

void Lesson::typeKey(QChar key)
{
    if (game_.isItemShown()) {
        const TypingGame::KeyResult result = game_.typeCharacter(key);
        if (result == TypingGame::KeyResult::Wrong) {
            services_.beeper.beep();
            return;
        }
        emit typedChanged(game_.typed());
        if (result != TypingGame::KeyResult::Completed)
            return;
        // The end tick first, before anything is shown.
        const TypingGame::ItemResult r = game_.completeItem();
        emit itemCompleted(r.time, r.number);
        if (!r.lastOfGame())
            return;
        game_.setRunning(false);
        FinishedGame lesson{player_, FinishedGame::kLessonMode, startedAt_, services_.wallClock.nowUtc(),
                            game_.gameMini(), game_.gameAverage(), game_.playedItems(), false, keys_, targetMs_};
        if (history_)
            history_->record(lesson);
        emit finished(lesson);
    } else if (game_.isRunning() && key == QLatin1Char(' ')) {
        if (game_.itemCount() == 0)
            startedAt_ = services_.wallClock.nowUtc();
        const QString item = game_.drawNextItem();
        emit itemShown(item, game_.itemCount());
        game_.startTiming();
    }
}
