// Guards the order in which the keyboard course brings in the keys of each offered layout,
// made from the system's XKB data and the shipped letter weights: the home row, then the
// letters by frequency, then the accented letters typed directly, then the dead keys.
#include "adapters/XkbKeyboards.h"
#include "game/course/CourseKeys.h"
#include "game/course/LetterWeights.h"

#include <QtTest>

class TestCourseOrder : public QObject
{
    Q_OBJECT

private slots:
    void firstTwelveKeysOfEachLayout()
    {
        XkbKeyboards keyboards;
        const LetterWeights weights = LetterWeights::load();
        QVERIFY(!weights.isEmpty());
        const QStringList expected{"fr        QSDFJKLMEATR", "fr(afnor) QSDFJKLMEATR", "be        QSDFJKLMEATR",
                                   "ch(fr)    ASDFJKLÉETRU", "ca        ASDFJKL;ETRU", "fr(bepo)  AUIETSRNODLP"};
        QStringList made;
        for (const QString &row : expected) {
            const QString layout = row.section(QLatin1Char(' '), 0, 0);
            const std::optional<Keyboard> keyboard = keyboards.keyboard(layout);
            if (!keyboard)
                QSKIP("the system's XKB data cannot make the offered layouts (xkb-data missing)");
            QString first;
            for (const CourseKey &key : CourseKeys::order(*keyboard, weights).mid(0, 12))
                first += key.character;
            made << layout.leftJustified(10) + first;
        }
        QCOMPARE(made, expected);
    }

    // Every layout ends with the accented letters, those typed directly before the dead
    // keys', and each key with the finger of its column.
    void accentsComeLastWithTheirFingers()
    {
        XkbKeyboards keyboards;
        const std::optional<Keyboard> fr = keyboards.keyboard(QStringLiteral("fr"));
        if (!fr)
            QSKIP("the system's XKB data cannot make the French layout (xkb-data missing)");
        QString tail, fingers;
        const QList<CourseKey> order = CourseKeys::order(*fr, LetterWeights::load());
        for (const CourseKey &key : order.mid(26))
            tail += key.character;
        QCOMPARE(tail, QStringLiteral("ÉÈÇÀÙÊÔÛÎÂÏËÜ"));
        for (const CourseKey &key : order.mid(0, 8))
            fingers += key.finger.left(3) + key.finger.section(' ', 1).left(1) + ' ';
        QCOMPARE(fingers, QStringLiteral("aurg anng majg indg indd majd annd aurd "));
    }
};

QTEST_MAIN(TestCourseOrder)
#include "tst_course_order.moc"
