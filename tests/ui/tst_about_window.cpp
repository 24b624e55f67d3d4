// Guards the About window: its French date, the scrolling line and faces, the keys that
// close it and how it opens the two addresses.
#include "support/TestDoubles.h"
#include "ui/AboutWindow.h"
#include "ui/Faces.h"

#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QTimer>

class TestAboutWindow : public QObject
{
    Q_OBJECT

    TestServices services;
    int scroll = 0;
    static QString text(QWidget &w, const char *label) { return w.findChild<QLabel *>(QLatin1String(label))->text(); }

private slots:
    void dateCaption()
    {
        AboutWindow w(services.boxes, services.shell, scroll);
        QCOMPARE(text(w, "date"), AboutWindow::dateCaption(QFileInfo(QCoreApplication::applicationFilePath()).lastModified()));
        QCOMPARE(AboutWindow::dateCaption(QDateTime(QDate(2020, 8, 3), QTime(9, 5, 7))), "3 Août 2020 09:05:07");
        QCOMPARE(AboutWindow::dateCaption(QDateTime(QDate(1999, 12, 31), QTime(0, 59, 9))), "31 Décembre 1999 00:59:09");
        QCOMPARE(AboutWindow::dateCaption(QDateTime()), QString());
    }

    // The line scrolls a character a tick and comes round; the faces take turns; the next
    // window goes on from where this one left the line.
    void scrollAndFaces()
    {
        QStringList texts;
        QList<int> faces;
        {
            AboutWindow w(services.boxes, services.shell, scroll);
            QCOMPARE(w.findChild<QTimer *>()->interval(), 120);
            for (int i = 0; i < 24; ++i, w.animate()) {
                texts << text(w, "authorLine");
                const QImage shown = w.findChild<QLabel *>("face")->pixmap().toImage();
                faces << 0;
                for (int face = 1; face <= kFaceCount; ++face)
                    faces.last() = shown == facePixmap(face).toImage() ? face : faces.last();
            }
        }
        QCOMPARE(faces.first(7), (QList<int>{1, 3, 4, 5, 1, 2, 3}));
        QCOMPARE(texts.mid(1, 2), (QStringList{"© 2026 Équipe Clavimo  ", " 2026 Équipe Clavimo  ©"}));
        QCOMPARE(texts[12], QStringLiteral("pe Clavimo  © 2026 Équi"));
        AboutWindow next(services.boxes, services.shell, scroll);
        QCOMPARE(text(next, "authorLine"), " 2026 Équipe Clavimo   ");
        next.animate();
        QCOMPARE(text(next, "authorLine"), texts[2]);
    }

    // Escape and Enter close the window and stop its animation; other keys do not.
    void keys()
    {
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_A}) {
            AboutWindow w(services.boxes, services.shell, scroll);
            w.show();
            QTest::keyClick(w.focusWidget(), key);
            QVERIFY2(w.isVisible() == (key == Qt::Key_A) && w.findChild<QTimer *>()->isActive() == w.isVisible(), qPrintable(QString::number(key)));
        }
    }

    // The system's handler, then the fallback, then a box only when both failed.
    void addresses()
    {
        AboutWindow w(services.boxes, services.shell, scroll);
        w.show();
        const QString web = QStringLiteral("http://www.example.org/clavimo/");
        QTest::mouseClick(w.findChild<QLabel *>("mailAddress"), Qt::LeftButton);
        QTest::mouseClick(w.findChild<QLabel *>("webAddress"), Qt::LeftButton);
        QCOMPARE(services.shell.opened, (QStringList{"mailto:clavimo@example.org?subject=Clavimo_2.0.20", web}));
        services.shell.openSucceeds = false;
        QTest::mouseClick(w.findChild<QLabel *>("webAddress"), Qt::LeftButton);
        QCOMPARE(services.shell.fallbacks, QStringList{web});
        QVERIFY(services.boxes.shown.isEmpty());
        services.shell.fallbackSucceeds = false;
        QTest::mouseClick(w.findChild<QLabel *>("webAddress"), Qt::LeftButton);
        QCOMPARE(services.boxes.last(), "Erreur : 53\r\néchec simulé du second essai | Problème Start | Ok | Exclamation");
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_about_window.moc"
