// Guards the items of a lesson: only the keys in play ever come, the key worked on is in
// at least 70 % of them, real words are used once there are enough, and groups read like
// French (the most frequent pair of the keys comes more often than a rare one).
#include "game/course/CourseWords.h"
#include "game/course/LessonDraw.h"
#include "platform/SystemRandom.h"

#include <algorithm>

#include <QtTest>

class TestLessonDraw : public QObject
{
    Q_OBJECT

private slots:
    // "keys in play, key worked on, words drawn?" for a few stages of the French course.
    void tenThousandItemsHoldOnlyTheKeysInPlay()
    {
        const QStringList words = CourseWords::load();
        const LetterWeights weights = LetterWeights::load();
        QVERIFY(words.size() > 1000 && !weights.isEmpty());
        for (const QString row : {"QSDFJKLM M groups", "QSDFJKLME E words", "QSDFJKLMEATRUINO O words",
                                  "QSDFJKLMEATRUINOÉ É words"}) {
            const QStringList fields = row.split(QLatin1Char(' '));
            const QString keys = fields[0];
            const QChar focus = fields[1].at(0);
            LessonDraw draw(QList<QChar>(keys.cbegin(), keys.cend()), focus, words, weights);
            QCOMPARE(draw.focusWords().size() >= LessonDraw::kEnoughWords, fields[2] == QLatin1String("words"));
            SystemRandom random;
            int withFocus = 0;
            for (int i = 0; i < 10000; ++i) {
                const QString item = draw.next(random);
                QVERIFY2(item.size() >= 2 && item.size() <= 8, qPrintable(item));
                for (QChar c : item)
                    QVERIFY2(keys.contains(c), qPrintable(row + " drew " + item));
                withFocus += item.contains(focus) ? 1 : 0;
                if (fields[2] == QLatin1String("words"))
                    QVERIFY2(draw.anyWords().contains(item), qPrintable(item));
            }
            // Some items lack the key worked on, unless every word in play holds it: past
            // "E" the course's list has no word of the home row alone ("mm", "km" are not
            // words a child types).
            const bool someWithout = fields[2] != QLatin1String("words")
                || std::any_of(draw.anyWords().cbegin(), draw.anyWords().cend(),
                               [focus](const QString &w) { return !w.contains(focus); });
            QVERIFY2(withFocus >= 7000 && (withFocus < 9900 || !someWithout),
                     qPrintable(row + " " + QString::number(withFocus)));
        }
    }

    // Groups follow the pairs' weights: "LS" (heavy) comes far more often than "LQ" (of no
    // weight, only the small weight every key keeps), where an even draw makes them alike.
    void groupsFollowFrenchPairs()
    {
        const LetterWeights weights = LetterWeights::fromText("Q 10\nS 10\nL 10\nSL 0\nQS 0\nLS 1000\n");
        LessonDraw draw({QChar(u'Q'), QChar(u'S'), QChar(u'L')}, QChar(u'L'), {}, weights);
        SystemRandom random;
        int ls = 0, lq = 0;
        for (int i = 0; i < 10000; ++i) {
            const QString item = draw.next(random);
            ls += int(item.count(QStringLiteral("LS")));
            lq += int(item.count(QStringLiteral("LQ")));
        }
        QVERIFY2(ls > 5 * lq, qPrintable(QStringLiteral("LS %1, LQ %2").arg(ls).arg(lq)));
    }
};

QTEST_MAIN(TestLessonDraw)
#include "tst_lesson_draw.moc"
