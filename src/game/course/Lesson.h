#pragma once

#include "game/course/LessonDraw.h"
#include "game/session/TypingGame.h"
#include "platform/Services.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <memory>

class GameHistory;
struct FinishedGame;

// One lesson of the keyboard course being played: 20 items, each shown with the space bar
// and timed as the game times them (the same clock, the same penalty for wrong keys, a beep
// for each). It sets no record; once the 20th item is typed the lesson goes to the history
// as a lesson game (mode FinishedGame::kLessonMode, with its keys and target) and is reported.
class Lesson : public QObject
{
    Q_OBJECT

public:
    Lesson(const Services &services, GameHistory *history, QObject *parent = nullptr);

    // A new lesson for `player`: no item shown yet, the space bar shows the first.
    void start(const QString &player, std::unique_ptr<LessonDraw> draw, int keys, int targetMs);
    // A character typed in the course window: the space bar shows the next item; while an
    // item is shown, the characters are compared with it.
    void typeKey(QChar key);

    bool isRunning() const { return game_.isRunning(); }
    bool isItemShown() const { return game_.isItemShown(); }
    const TypingGame &game() const { return game_; }

signals:
    void itemShown(const QString &item, int number);
    void typedChanged(const QString &typed);
    void itemCompleted(qint64 timeMs, int number);
    // The 20th item is done and the lesson kept.
    void finished(const FinishedGame &game);

private:
    Services services_;
    GameHistory *history_;
    TypingGame game_;
    std::unique_ptr<LessonDraw> draw_;
    QString player_;
    int keys_ = 0;
    int targetMs_ = 0;
    QDateTime startedAt_;
};
