// Guards the About window: its captions and French date, the scrolling line and faces, the keys that close it and how it opens the two addresses.
#include "support/TestServices.h"
#include "ui/apropos.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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
        QCOMPARE(w.Label5->text(), QStringLiteral("Version 2.0.20"));
        QCOMPARE(w.Label2->text(), QStringLiteral(" 2026 Équipe Clavimo   "));
        QCOMPARE(w.Command1->text(), QStringLiteral("&OK"));
        QVERIFY(w.Timer1->isActive() && w.Timer1->interval() == 120);
        const QFileInfo program(QCoreApplication::applicationFilePath());
        QCOMPARE(w.Label6->text(), apropos::dateCaption(program.lastModified()));
    }

    void dateCaption()
    {
        QCOMPARE(apropos::dateCaption(QDateTime(QDate(2020, 8, 3), QTime(9, 5, 7))), "3 Août 2020 09:05:07");
        QCOMPARE(apropos::dateCaption(QDateTime(QDate(2024, 2, 29), QTime(22, 0))), "29 Février 2024 22:00:00");
        QCOMPARE(apropos::dateCaption(QDateTime(QDate(1999, 12, 31), QTime(0, 59, 9))), "31 Décembre 1999 00:59:09");
        QCOMPARE(apropos::dateCaption(QDateTime()), QString());
    }

    void scrollAndFaces()
    {
        TestServices services;
        apropos w;
        w.Timer1->stop();
        QStringList texts{w.Label2->text()};
        QList<int> faces{w.shownFace()};
        for (int i = 0; i < 24; ++i, texts << w.Label2->text(), faces << w.shownFace())
            w.Timer1_Timer();
        QCOMPARE(faces.first(11), (QList<int>{1, 3, 4, 5, 1, 2, 3, 4, 5, 1, 2}));
        QCOMPARE(texts[1], QStringLiteral("© 2026 Équipe Clavimo  "));
        QCOMPARE(texts[12], QStringLiteral("pe Clavimo  © 2026 Équi"));
        QCOMPARE(texts[23], QStringLiteral(" © 2026 Équipe Clavimo "));
        QCOMPARE(texts[24], texts[1]);

        // The next window goes on from where this one left the line, with its own faces.
        apropos next;
        next.Timer1_Timer();
        QCOMPARE(next.Label2->text(), texts[2]);
        QCOMPARE(next.shownFace(), 3);
    }

    void keys()
    {
        TestServices services;
        for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_A}) {
            apropos w;
            w.show();
            QCOMPARE(w.focusWidget(), w.Command1);
            QTest::keyClick(w.Command1, Qt::Key(key));
            QVERIFY2(w.isVisible() == (key == Qt::Key_A), qPrintable(QKeySequence(key).toString()));
            QCOMPARE(w.Timer1->isActive(), w.isVisible());
        }
    }

    void addresses()
    {
        TestServices services;
        apropos w;
        w.show();
        QTest::mouseClick(w.Label4, Qt::LeftButton);
        QTest::mouseClick(w.Label3, Qt::LeftButton);
        QCOMPARE(services.shell.opened, (QStringList{QStringLiteral("mailto:clavimo@example.org?subject=Clavimo_2.0.20"),
                                                     QStringLiteral("http://www.example.org/clavimo/")}));
        QVERIFY(services.shell.fallbacks.isEmpty() && services.boxes.shown.isEmpty());

        services.shell.openSucceeds = false;
        w.Label3_Click();
        QCOMPARE(services.shell.fallbacks, QStringList{QStringLiteral("http://www.example.org/clavimo/")});
        QVERIFY(services.boxes.shown.isEmpty());
        services.shell.fallbackSucceeds = false;
        w.Label3_Click();
        QCOMPARE(services.boxes.texts(), QStringList{QStringLiteral("Erreur : 53\r\néchec simulé du second essai")});
        QCOMPARE(services.boxes.shown[0].title, QStringLiteral("Problème Start"));
        QCOMPARE(services.boxes.shown[0].icon, BoxIcon::Exclamation);
    }
};

QTEST_MAIN(TestApropos)
#include "tst_apropos.moc"
