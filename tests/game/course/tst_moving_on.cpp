// Guards the moving-on rule of the keyboard course: every learnt key right 95 % of the time
// over its last 20 appearances and the latest lesson's mean time per key under the target;
// the course never takes a key back and brings in one key at a time.
#include "game/course/Course.h"
#include "game/session/FinishedGame.h"

#include <QtTest>

namespace {

// A lesson written "ms per key: item item ...", an item "shown" or "shown/missed".
LessonGame lesson(const QString &text, int keys = 2)
{
    LessonGame g{keys, 600, {}};
    const qint64 ms = text.section(QLatin1Char(':'), 0, 0).toLongLong();
    for (const QString &item : text.section(QLatin1Char(':'), 1).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString shown = item.section(QLatin1Char('/'), 0, 0);
        g.items << LessonItem{shown, ms * shown.size(), item.section(QLatin1Char('/'), 1)};
    }
    return g;
}

QString repeated(const QString &item, int times)
{
    return QStringList(times, item).join(QLatin1Char(' '));
}

} // namespace

class TestMovingOn : public QObject
{
    Q_OBJECT

private slots:
    // Keys F and J, target 600 ms: "lessons (newest first, separated by |) > ready".
    void rule()
    {
        const QString twenty = repeated(QStringLiteral("FJ"), 20);
        for (const QString &row : {
                 QString("599:" + twenty + " > yes"),
                 QString("600:" + twenty + " > no"), // the mean must be under the target
                 QString("500:" + repeated("FJ", 19) + " > no"), // 19 appearances only
                 QString("500:FJ/F " + repeated("FJ", 19) + " > yes"), // 1 wrong in 20: 95 %
                 QString("500:FJ/F FJ/F " + repeated("FJ", 18) + " > no"), // 2 wrong in 20
                 QString("500:FJ/FFF " + repeated("FJ", 19) + " > yes"), // one appearance, many keys
                 QString("500:FJ/F FJ/F " + twenty + " > yes"), // older than the last 20: not counted
                 QString("500:" + repeated("FJ", 10) + "|900:" + repeated("FJ", 10) + " > yes"), // the latest lesson's time
                 QString("900:" + repeated("FJ", 10) + "|500:" + repeated("FJ", 10) + " > no"),
                 QString("500:FJ/J " + repeated("FJ", 9) + "|500:" + repeated("FJ", 9) + " FJ/J > no"), // J: 2 wrong over two lessons
                 QString("500:FFFF/JJ JJJJ JJJJ JJJJ JJJJ JJJJ > no"), // a key never shown: not ready
                 QString(" > no"),
             }) {
            QList<LessonGame> latest;
            for (const QString &text : row.section(" > ", 0, 0).split(QLatin1Char('|'), Qt::SkipEmptyParts))
                latest << lesson(text);
            const MovingOn::Verdict v = MovingOn::judge({QChar(u'F'), QChar(u'J')}, latest, 600);
            QVERIFY2(v.ready == (row.section(" > ", 1) == QLatin1String("yes")), qPrintable(row.left(60)));
        }
    }

    // The course starts on the home row, keeps the most keys a lesson had, and brings in
    // one key when the keys in play pass the rule.
    void keysInPlay()
    {
        const QList<QChar> order{'Q', 'S', 'D', 'F', 'J', 'K', 'L', 'M', 'E', 'A', 'T'};
        const QString home = repeated(QStringLiteral("QSDFJKLM"), 20);
        for (const auto &[most, text, expected] : QList<std::tuple<int, QString, int>>{
                 {0, "", 8}, {8, "900:" + home, 8}, {8, "500:" + home, 9}, {10, "", 10}, {10, "500:" + home, 10},
                 {11, "500:QSDFJKLMEAT", 11}}) {
            LessonHistory h{1, most, {}};
            if (!text.isEmpty())
                h.latest << lesson(text, most);
            QCOMPARE(MovingOn::keysInPlay(h, order, 600), expected);
        }
    }

    // A lesson finished through the course: kept with its keys, and the next key brought in.
    void courseBringsInTheNextKey()
    {
        QList<CourseKey> order;
        for (QChar c : QStringLiteral("QSDFJKLME"))
            order << CourseKey{c, {}, QString()};
        Course course(order, {});
        QCOMPARE(course.keysInPlay(), 8);
        QCOMPARE(course.focus(), QChar(u'M'));
        FinishedGame slow{"Léa", 0, {}, {}, 0, 0, {}, false, 8, 600};
        for (int i = 0; i < 20; ++i)
            slow.items << PlayedItem{"QSDFJKLM", 0, 8 * 700, {}};
        QVERIFY(!course.addLesson(slow));
        FinishedGame fast = slow;
        for (PlayedItem &item : fast.items)
            item.timeMs = 8 * 400;
        QVERIFY(course.addLesson(fast));
        QCOMPARE(course.keysInPlay(), 9);
        QCOMPARE(course.newKey().character, QChar(u'E'));
        QVERIFY(!course.addLesson(fast)); // E was never typed yet
        QCOMPARE(course.keysInPlay(), 9);
    }
};

QTEST_MAIN(TestMovingOn)
#include "tst_moving_on.moc"
