#pragma once

#include "game/course/CourseKeys.h"
#include "game/course/MovingOn.h"
#include "game/progress/HistoryRows.h"

#include <QChar>
#include <QList>

struct FinishedGame;

// A player's place in the keyboard course: the keys of the layout in course order, how
// many are in play (the home row at first, one more each time the moving-on rule holds,
// never fewer), the key worked on (the newest unless the player chose a learnt one) and
// the speed target, chosen once and kept with each lesson in the history.
class Course
{
public:
    // The lessons the moving-on rule reads: enough for 20 appearances of each key of a
    // long course, where an old key comes in a lesson once or twice.
    static constexpr int kLessonsRead = 60;

    Course(QList<CourseKey> order, LessonHistory history);

    const QList<CourseKey> &order() const { return order_; }
    int keysInPlay() const { return keys_; }
    bool isComplete() const { return keys_ >= order_.size() && verdict().ready; }
    QList<QChar> characters() const;
    // The key brought in last; on the home row, its last key (the whole row is new); a
    // blank key when the layout gave no key at all.
    const CourseKey &newKey() const;
    bool onHomeRow() const { return keys_ <= CourseKeys::kHomeRow; }
    qint64 lessonCount() const { return history_.count; }

    // The key the lessons work on: the new key unless the player chose another in play.
    QChar focus() const;
    void setFocus(QChar key);

    int targetMs() const { return targetMs_; }
    // True once a lesson was played: the target was chosen then.
    bool hasTarget() const { return !history_.latest.isEmpty(); }
    void setTargetMs(int ms);
    MovingOn::Verdict verdict() const;

    // A lesson played to its end: kept with the others. True when it brought in a new key.
    bool addLesson(const FinishedGame &game);

    // What the progression windows say of a player's lessons, apart from the games:
    // "Apprendre le clavier : 3 leçons, 10 touches apprises"; empty without a lesson.
    static QString summary(const LessonHistory &history);

private:
    QList<CourseKey> order_;
    LessonHistory history_;
    int targetMs_ = MovingOn::kDefaultTargetMs;
    int keys_ = 0;
    QChar focus_;
};
