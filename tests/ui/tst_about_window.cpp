// Guards the About window: its captions and French date, the scrolling line and faces, the keys that close it and how it opens the two addresses.
#include "support/TestDoubles.h"
#include "ui/AboutWindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestAboutWindow : public QObject
{
    Q_OBJECT

    int scroll = 0;
    static QLabel *label(QWidget &w, const char *name) { return w.findChild<QLabel *>(QLatin1String(name)); }
    static QTimer *timer(QWidget &w) { return w.findChild<QTimer *>(); }

private slots:
    void init() { scroll = 0; }

    void captions()
    {
        TestServices services;
        AboutWindow w(services.boxes, services.shell, scroll);
        QStringList texts{w.windowTitle(), w.findChild<QPushButton *>()->text()};
        for (const char *name : {"title", "version", "authorLine"})
            texts << label(w, name)->text();
        QCOMPARE(texts.join(QLatin1Char('|')), "Clavimo|&OK| Clavimo|Version 2.0.20| 2026 Équipe Clavimo   ");
        QVERIFY(timer(w)->isActive() && timer(w)->interval() == 120);
        const QFileInfo program(QCoreApplication::applicationFilePath());
        QCOMPARE(label(w, "date")->text(), AboutWindow::dateCaption(program.lastModified()));
    }

    void dateCaption()
    {
        QCOMPARE(AboutWindow::dateCaption(QDateTime(QDate(2020, 8, 3), QTime(9, 5, 7))), "3 Août 2020 09:05:07");
        QCOMPARE(AboutWindow::dateCaption(QDateTime(QDate(2024, 2, 29), QTime(22, 0))), "29 Février 2024 22:00:00");
        QCOMPARE(AboutWindow::dateCaption(QDateTime(QDate(1999, 12, 31), QTime(0, 59, 9))), "31 Décembre 1999 00:59:09");
        QCOMPARE(AboutWindow::dateCaption(QDateTime()), QString());
    }

    void scrollAndFaces()
    {
        TestServices services;
        AboutWindow w(services.boxes, services.shell, scroll);
        timer(w)->stop();
        QStringList texts{label(w, "authorLine")->text()};
        QList<int> faces{w.shownFace()};
        for (int i = 0; i < 24; ++i, texts << label(w, "authorLine")->text(), faces << w.shownFace())
            w.animate();
        QCOMPARE(faces.first(11), (QList<int>{1, 3, 4, 5, 1, 2, 3, 4, 5, 1, 2}));
        QCOMPARE(texts[1], QStringLiteral("© 2026 Équipe Clavimo  "));
        QCOMPARE(texts[12], QStringLiteral("pe Clavimo  © 2026 Équi"));
        QCOMPARE(texts[23], QStringLiteral(" © 2026 Équipe Clavimo "));
        QCOMPARE(texts[24], texts[1]);

        // The next window goes on from where this one left the line, with its own faces.
        AboutWindow next(services.boxes, services.shell, scroll);
        next.animate();
        QCOMPARE(label(next, "authorLine")->text(), texts[2]);
        QCOMPARE(next.shownFace(), 3);
    }

    void keys()
    {
        TestServices services;
        for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_A}) {
            AboutWindow w(services.boxes, services.shell, scroll);
            w.show();
            auto *ok = w.findChild<QPushButton *>();
            QCOMPARE(w.focusWidget(), ok);
            QTest::keyClick(ok, Qt::Key(key));
            QVERIFY2(w.isVisible() == (key == Qt::Key_A), qPrintable(QKeySequence(key).toString()));
            QCOMPARE(timer(w)->isActive(), w.isVisible());
        }
    }

    void addresses()
    {
        TestServices services;
        AboutWindow w(services.boxes, services.shell, scroll);
        w.show();
        QTest::mouseClick(label(w, "mailAddress"), Qt::LeftButton);
        QTest::mouseClick(label(w, "webAddress"), Qt::LeftButton);
        QCOMPARE(services.shell.opened, (QStringList{QStringLiteral("mailto:clavimo@example.org?subject=Clavimo_2.0.20"),
                                                     QStringLiteral("http://www.example.org/clavimo/")}));
        QVERIFY(services.shell.fallbacks.isEmpty() && services.boxes.shown.isEmpty());

        services.shell.openSucceeds = false;
        QTest::mouseClick(label(w, "webAddress"), Qt::LeftButton);
        QCOMPARE(services.shell.fallbacks, QStringList{QStringLiteral("http://www.example.org/clavimo/")});
        QVERIFY(services.boxes.shown.isEmpty());
        services.shell.fallbackSucceeds = false;
        QTest::mouseClick(label(w, "webAddress"), Qt::LeftButton);
        QCOMPARE(services.boxes.shown.size(), 1);
        QCOMPARE(services.boxes.last(), "Erreur : 53\r\néchec simulé du second essai | Problème Start | Ok | Exclamation");
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_about_window.moc"
