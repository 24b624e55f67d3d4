// Guards the wiring of « Apprendre le clavier »: F8 asks for a player first, then opens the
// course of the player named in the main window with the focus on the text to type; the
// space bar shows an item, which is said to screen readers, and typing it times it.
#include "app/GameApplication.h"
#include "support/GameUnderTest.h"
#include "support/WindowDriver.h"
#include "ui/CourseWindow.h"
#include "ui/TypingField.h"

#include <QLabel>
#include <QTest>

class TestCourseWindow : public GameUnderTest
{
    Q_OBJECT

private slots:
    void f8OpensTheCourse()
    {
        setUpGame();
        QVERIFY(startGame());
        QTest::keyClick(main, Qt::Key_F8);
        QVERIFY(ts->boxes.texts().value(0).startsWith(QStringLiteral("Le cours apprend le clavier à un joueur")));
        app->session().setPlayers({QStringLiteral("Léa")});
        QString title, keys, item, progress;
        QStringList spoken;
        whenModal([&](QWidget *w) {
            title = w->windowTitle();
            keys = w->findChild<QLabel *>(QStringLiteral("courseKeys"))->text();
            auto *field = w->findChild<TypingField *>();
            Announcements listener;
            for (QWidget *note : w->findChild<Announcer *>()->findChildren<QWidget *>())
                note->installEventFilter(&listener);
            if (w->focusWidget() == field) { // where the window puts the keyboard focus
                QTest::keyClick(field, Qt::Key_Space);
                item = field->text();
                QTest::keyClicks(field, item.toLower());
                progress = w->findChild<QLabel *>(QStringLiteral("courseProgress"))->text();
            }
            spoken = listener.said;
            w->close();
        });
        QTest::keyClick(main, Qt::Key_F8);
        QCOMPARE(title, QStringLiteral("Apprendre le clavier – Léa"));
        QVERIFY2(keys.startsWith(QStringLiteral("Touches apprises\u00A0: 8 sur ")), qPrintable(keys));
        QVERIFY2(item.size() >= 2 && progress.startsWith(QStringLiteral("Élément 1 sur 20 – ")), qPrintable(item + progress));
        QVERIFY2(spoken.contains(QStringLiteral("Élément 1 sur 20\u00A0: ") + QStringList(item.split(QString(), Qt::SkipEmptyParts)).join(", ")),
                 qPrintable(spoken.join('|')));
    }
};

QTEST_MAIN(TestCourseWindow)
#include "tst_course_window.moc"
