#include "game/course/Course.h"

#include "game/session/FinishedGame.h"

Course::Course(QList<CourseKey> order, LessonHistory history)
    : order_(std::move(order))
    , history_(std::move(history))
{
    if (!history_.latest.isEmpty() && history_.latest.first().targetMs > 0)
        targetMs_ = history_.latest.first().targetMs;
    QList<QChar> all;
    for (const CourseKey &k : order_)
        all << k.character;
    keys_ = MovingOn::keysInPlay(history_, all, targetMs_);
}

QList<QChar> Course::characters() const
{
    QList<QChar> out;
    for (int i = 0; i < keys_ && i < order_.size(); ++i)
        out << order_[i].character;
    return out;
}

const CourseKey &Course::newKey() const
{
    static const CourseKey none;
    return keys_ > 0 ? order_.at(keys_ - 1) : none;
}

QChar Course::focus() const
{
    return characters().contains(focus_) ? focus_ : (keys_ > 0 ? newKey().character : QChar());
}

void Course::setFocus(QChar key)
{
    focus_ = key;
}

void Course::setTargetMs(int ms)
{
    targetMs_ = ms;
}

MovingOn::Verdict Course::verdict() const
{
    return MovingOn::judge(characters(), history_.latest, targetMs_);
}

QString Course::summary(const LessonHistory &history)
{
    if (history.count == 0)
        return QString();
    return QStringLiteral("Apprendre le clavier\u00A0: %1 leçon%2, %3 touches apprises")
        .arg(history.count)
        .arg(history.count > 1 ? QStringLiteral("s") : QString())
        .arg(history.mostKeys);
}

bool Course::addLesson(const FinishedGame &game)
{
    LessonGame lesson{game.lessonKeys, game.lessonTargetMs, {}};
    for (const PlayedItem &item : game.items) {
        QString missed;
        for (const Mistake &m : item.mistakes)
            missed += m.expected;
        lesson.items << LessonItem{item.shown, item.timeMs, missed};
    }
    history_.latest.prepend(lesson);
    if (history_.latest.size() > kLessonsRead)
        history_.latest.removeLast();
    ++history_.count;
    history_.mostKeys = std::max(history_.mostKeys, game.lessonKeys);
    const bool ready = keys_ < order_.size() && verdict().ready;
    if (ready)
        ++keys_;
    return ready;
}
