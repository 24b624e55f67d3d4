// Guards the About window: its captions and French date, the scrolling line and faces, the keys that close it and how it opens the two addresses.
#include "platform/ProgramInfo.h"
#include "support/TestServices.h"
#include "ui/apropos.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QString kVersion = QStringLiteral("%1.%2.%3")
                             .arg(CLAVIMO_VERSION_MAJOR)
                             .arg(CLAVIMO_VERSION_MINOR)
                             .arg(CLAVIMO_VERSION_PATCH);

// Steps the animation by hand; the window's own timer stays out of the way.
void step(apropos &w, int times)
{
    w.Timer1->stop();
    for (int i = 0; i < times; ++i)
        w.Timer1_Timer();
}

} // namespace

class TestApropos : public QObject
{
    Q_OBJECT

private slots:
    void init() { apropos::ScrollPos = 0; }

    void captions()
    {
        TestServices services;
        apropos w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Clavimo"));
        QCOMPARE(w.Label1->text(), QStringLiteral(" Clavimo"));
        QCOMPARE(w.Label5->text(), QStringLiteral("Version ") + kVersion);
        QCOMPARE(versionText(), kVersion);
        QCOMPARE(w.Label2->text(), QStringLiteral(" 2026 Équipe Clavimo   "));
        QCOMPARE(w.ScrollText, QStringLiteral("© 2026 Équipe Clavimo   "));
        QCOMPARE(w.Command1->text(), QStringLiteral("&OK"));
        QCOMPARE(w.Timer1->interval(), 120);
        QVERIFY(w.Timer1->isActive());
        const QDateTime built = QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
        QCOMPARE(w.Label6->text(), apropos::dateCaption(built));
        QVERIFY(!w.Label6->text().isEmpty());
    }

    void dateCaption_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("caption");
        QTest::newRow("day without zero, hour with")
            << QDateTime(QDate(2020, 8, 3), QTime(9, 5, 7)) << "3 Août 2020 09:05:07";
        QTest::newRow("evening") << QDateTime(QDate(2021, 3, 1), QTime(22, 26, 54))
                                 << "1 Mars 2021 22:26:54";
        QTest::newRow("February") << QDateTime(QDate(2024, 2, 29), QTime(0, 0, 0))
                                  << "29 Février 2024 00:00:00";
        QTest::newRow("December") << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))
                                  << "31 Décembre 1999 23:59:59";
        QTest::newRow("no date") << QDateTime() << "";
    }

    void dateCaption()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, caption);
        QCOMPARE(apropos::dateCaption(when), caption);
    }

    void scrollText_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("shown");
        QTest::newRow("first step") << 1 << "© 2026 Équipe Clavimo  ";
        QTest::newRow("twelve steps") << 12 << "pe Clavimo  © 2026 Équi";
        QTest::newRow("last position") << 23 << " © 2026 Équipe Clavimo ";
        QTest::newRow("wraps to the start") << 24 << "© 2026 Équipe Clavimo  ";
        QTest::newRow("and goes on") << 25 << " 2026 Équipe Clavimo  ©";
    }

    void scrollText()
    {
        QFETCH(int, steps);
        QFETCH(QString, shown);
        TestServices services;
        apropos w;
        step(w, steps);
        QCOMPARE(w.Label2->text(), shown);
    }

    void facesOrder()
    {
        TestServices services;
        apropos w;
        QList<int> faces{w.shownFace()};
        for (int i = 0; i < 10; ++i) {
            step(w, 1);
            faces << w.shownFace();
        }
        QCOMPARE(faces, (QList<int>{1, 3, 4, 5, 1, 2, 3, 4, 5, 1, 2}));
        QCOMPARE(w.Picture1[0]->pixmap().size(), QSize(32, 32));
    }

    void scrollGoesOnInTheNextWindow()
    {
        TestServices services;
        {
            apropos first;
            step(first, 5);
            first.fin();
        }
        apropos second;
        QCOMPARE(second.Label2->text(), QStringLiteral(" 2026 Équipe Clavimo   "));
        QCOMPARE(second.shownFace(), 1);
        step(second, 1);
        QCOMPARE(apropos::ScrollPos, qint16(6));
        QCOMPARE(second.Label2->text(), QStringLiteral("6 Équipe Clavimo  © 202"));
        QCOMPARE(second.shownFace(), 3);
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier) << true;
        QTest::newRow("Shift+Escape") << int(Qt::Key_Escape) << int(Qt::ShiftModifier) << true;
        QTest::newRow("Enter on OK") << int(Qt::Key_Return) << int(Qt::NoModifier) << true;
        QTest::newRow("Space on OK") << int(Qt::Key_Space) << int(Qt::NoModifier) << true;
        QTest::newRow("a letter") << int(Qt::Key_A) << int(Qt::NoModifier) << false;
    }

    void keys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, closes);
        TestServices services;
        apropos w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.focusWidget(), w.Command1);
        QTest::keyClick(w.Command1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(w.isVisible(), !closes);
        QCOMPARE(w.Timer1->isActive(), !closes);
    }

    void addresses()
    {
        TestServices services;
        apropos w;
        w.show();
        QCOMPARE(w.Label4->text(), QStringLiteral("clavimo@example.org"));
        QCOMPARE(w.Label3->text(), QStringLiteral("http://www.example.org/clavimo"));
        QCOMPARE(w.Label3->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(w.Label4->cursor().shape(), Qt::PointingHandCursor);

        QTest::mouseClick(w.Label4, Qt::LeftButton);
        QTest::mouseClick(w.Label3, Qt::LeftButton);
        QCOMPARE(services.shell.opened,
                 (QStringList{QStringLiteral("mailto:clavimo@example.org?subject=Clavimo_") + kVersion,
                              QStringLiteral("http://www.example.org/clavimo/")}));
        QVERIFY(services.shell.fallbacks.isEmpty());
        QVERIFY(services.boxes.shown.isEmpty());
        QVERIFY(w.isVisible());
    }

    void failedStart_data()
    {
        QTest::addColumn<bool>("fallbackSucceeds");
        QTest::addColumn<int>("boxes");
        QTest::newRow("second route opens it") << true << 0;
        QTest::newRow("both routes fail") << false << 1;
    }

    void failedStart()
    {
        QFETCH(bool, fallbackSucceeds);
        QFETCH(int, boxes);
        TestServices services;
        services.shell.openSucceeds = false;
        services.shell.fallbackSucceeds = fallbackSucceeds;
        apropos w;
        w.Label3_Click();
        const QString web = QStringLiteral("http://www.example.org/clavimo/");
        QCOMPARE(services.shell.opened, QStringList{web});
        QCOMPARE(services.shell.fallbacks, QStringList{web});
        QCOMPARE(services.boxes.shown.size(), boxes);
        if (boxes == 1) {
            const ScriptedBoxes::Box box = services.boxes.shown.first();
            QCOMPARE(box.title, QStringLiteral("Problème Start"));
            QCOMPARE(box.text, QStringLiteral("Erreur : 53\r\néchec simulé du second essai"));
            QCOMPARE(box.buttons, BoxButtons::Ok);
            QCOMPARE(box.icon, BoxIcon::Exclamation);
        }
    }

    void layoutFitsTheWindow()
    {
        TestServices services;
        apropos w;
        step(w, 12);
        QCOMPARE(w.size(), QSize(311, 105));
        const QList<QWidget *> controls{w.Picture1[0], w.Label1, w.Label2, w.Label3, w.Label4,
                                        w.Label5, w.Label6, w.Command1};
        for (QWidget *c : controls)
            QVERIFY2(w.rect().contains(c->geometry()), qPrintable(c->objectName()));
        for (QLabel *text : {w.Label1, w.Label2, w.Label5, w.Label6}) {
            QVERIFY2(!text->geometry().intersects(w.Picture1[0]->geometry()),
                     qPrintable(text->objectName()));
            QVERIFY2(text->width() >= text->sizeHint().width(), qPrintable(text->objectName()));
        }
        QVERIFY(w.Label3->width() >= w.Label3->sizeHint().width());
        QVERIFY(w.Label4->width() >= w.Label4->sizeHint().width());
        QVERIFY(!w.Label3->geometry().intersects(w.Command1->geometry()));
    }
};

QTEST_MAIN(TestApropos)
#include "tst_apropos.moc"
