// Guards the lessons of the keyboard course in the history file: a file of the previous
// version gains the lesson columns in place, its games kept as they were, and a lesson is
// kept apart (mode 0, its keys and target) and read back with its wrong keys.
#include "game/session/FinishedGame.h"
#include "history/SqliteHistory.h"
#include "support/SqlitePeek.h"
#include "support/TestDoubles.h"

#include <QtTest>

namespace {

// 20 items "QSD", "FJK"..., the first missed once on its first letter.
FinishedGame lessonOf(int keys, const QDateTime &finished)
{
    FinishedGame game{"Léa", FinishedGame::kLessonMode, finished.addSecs(-60), finished, 900, 1200, {}, false, keys, 600};
    for (int i = 0; i < 20; ++i)
        game.items << PlayedItem{i % 2 ? "FJK" : "QSD", 1100, i == 0 ? 1300 : 1100, {}};
    game.items[0].mistakes << Mistake{u'Q', u'A'};
    return game;
}

} // namespace

class TestLessonHistory : public QObject
{
    Q_OBJECT

private slots:
    void previousVersionGainsTheLessons()
    {
        ScratchFolder folder;
        ScriptedBoxes boxes;
        ScriptedWallClock clock;
        const QString path = folder.file(SqliteHistory::fileName());
        const QDateTime morning(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC);
        FinishedGame ordinary{"Léa", 1, morning, morning.addSecs(30), 400, 420, {}, false};
        for (int i = 0; i < 20; ++i)
            ordinary.items << PlayedItem{"K", 400, 420, {}};
        SqliteHistory(boxes, clock, path).record(ordinary);
        const QString schema = peek(path, "SELECT group_concat(name) FROM pragma_table_info('games')");
        // The file as the previous version left it: the lesson columns are this version's step.
        QCOMPARE(peek(path, "ALTER TABLE games DROP COLUMN lesson_keys"), QString());
        QCOMPARE(peek(path, "ALTER TABLE games DROP COLUMN lesson_target_ms"), QString());
        QCOMPARE(peek(path, "PRAGMA user_version = 3"), QString());
        {
            SqliteHistory history(boxes, clock, path);
            history.record(lessonOf(8, morning.addSecs(600)));
            history.record(lessonOf(9, morning.addSecs(1200)));
            const LessonHistory lessons = history.lessons("Léa", 1);
            QCOMPARE(QStringLiteral("%1 %2 %3").arg(lessons.count).arg(lessons.mostKeys).arg(lessons.latest.size()), "2 9 1");
            const LessonGame &latest = lessons.latest.first();
            QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5").arg(latest.keys).arg(latest.targetMs).arg(latest.items.size())
                         .arg(latest.items[0].missed, latest.items[1].shown), "9 600 20 Q FJK");
            QCOMPARE(latest.items[0].timeMs, 1300);
            QCOMPARE(history.games("Léa", 1).size(), 1); // lessons stay out of the modes' games
        }
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(peek(path, "PRAGMA user_version"), QString::number(SqliteHistory::kSchemaVersion));
        QCOMPARE(peek(path, "SELECT group_concat(name) FROM pragma_table_info('games')"), schema);
        QCOMPARE(peek(path, "SELECT mode, lesson_keys, lesson_target_ms FROM games ORDER BY id"), "1|| / 0|8|600 / 0|9|600");
    }
};

QTEST_MAIN(TestLessonHistory)
#include "tst_lesson_history.moc"
