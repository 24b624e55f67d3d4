// Guards a whole lesson as the course window plays it: 20 items shown by the space bar,
// timed by the game's clock with the game's penalty, a beep per wrong key, no file
// written, the lesson kept in the history marked as a lesson with its keys and target,
// and the course bringing in the next key after it.
#include "game/course/Course.h"
#include "game/course/Lesson.h"
#include "game/session/Statistics.h"
#include "platform/SystemRandom.h"
#include "support/SessionHarness.h"

#include <QDir>
#include <QtTest>

class TestLesson : public QObject
{
    Q_OBJECT

private slots:
    void wholeLesson()
    {
        Harness h;
        QList<CourseKey> order;
        for (QChar c : QStringLiteral("QSDFJKLME"))
            order << CourseKey{c, {}, QString()};
        Course course(order, {});
        Lesson lesson(h.ts.services(), &h.history);
        QList<qint64> times;
        QObject::connect(&lesson, &Lesson::itemCompleted, [&times](qint64 ms, int) { times << ms; });
        QObject::connect(&lesson, &Lesson::finished, [&course](const FinishedGame &g) { course.addLesson(g); });
        const QList<QChar> keys = course.characters();
        SystemRandom numbers;
        for (int i = 0; i < 10000; ++i)
            h.ts.random.values << numbers.next();
        auto play = [&](bool withWrongKey) {
            lesson.start("Léa", std::make_unique<LessonDraw>(keys, course.focus(), QStringList(), LetterWeights()),
                         course.keysInPlay(), 400);
            lesson.typeKey(QLatin1Char('x')); // nothing shown yet: ignored
            for (int i = 0; i < 20; ++i) {
                lesson.typeKey(QLatin1Char(' '));
                const QString item = lesson.game().item();
                QVERIFY(lesson.isItemShown() && item.size() >= LessonDraw::kShortest);
                if (i == 0 && withWrongKey)
                    lesson.typeKey(QLatin1Char('#'));
                h.ts.clock.now += 300 * item.size();
                for (QChar c : item.toLower())
                    lesson.typeKey(c);
                QCOMPARE(lesson.game().typed(), item); // done at its last character, not before
            }
            QVERIFY(!lesson.isRunning());
        };
        play(true);
        QCOMPARE(h.ts.beeper.count, 1);
        QCOMPARE(times.size(), 20);
        QCOMPARE(times[0], Statistics::itemTime(300 * h.history.games[0].items[0].shown.size(), 1));
        QCOMPARE(h.history.games.size(), 1);
        const FinishedGame &g = h.history.games[0];
        QVERIFY(g.isLesson() && !g.practice);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(g.mode).arg(g.lessonKeys).arg(g.lessonTargetMs).arg(g.items.size()),
                 "0 8 400 20");
        QCOMPARE(g.items[0].mistakes.size(), 1);
        QVERIFY(QDir(h.folder.path()).entryList(QDir::Files).isEmpty()); // no record file
        // Each home-row key came about 10 times in one lesson: not yet 20. A few more
        // lessons at 300 ms a key, under the 400 ms target, bring in E.
        QCOMPARE(course.keysInPlay(), 8);
        for (int n = 0; n < 6 && course.keysInPlay() == 8; ++n)
            play(false);
        QCOMPARE(course.keysInPlay(), 9);
        QVERIFY(h.history.games.size() >= 2 && h.history.games.last().lessonKeys == 8);
    }
};

QTEST_MAIN(TestLesson)
#include "tst_lesson.moc"
