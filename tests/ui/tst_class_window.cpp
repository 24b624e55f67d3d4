// Guards the wiring of « La classe »: F7 opens it over the main window, its columns sort,
// Enter on a row opens that player's progression, and the export writes the table shown.
#include "app/GameApplication.h"
#include "history/SqliteHistory.h"
#include "support/GameSamples.h"
#include "support/TestDoubles.h"
#include "support/WindowDriver.h"
#include "ui/ClassTableModel.h"
#include "ui/ClassWindow.h"
#include "ui/MainWindow.h"
#include "ui/ProgressionWindow.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

QString column(QTableView *table, int c)
{
    QStringList out;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        out << table->model()->index(row, c).data().toString();
    return out.join(QLatin1Char(','));
}

} // namespace

class TestClassWindow : public QObject
{
    Q_OBJECT

private slots:
    void sortOpenExport()
    {
        ScratchFolder folder;
        TestServices ts;
        GameApplication app(ts.services());
        app.start();
        QVERIFY(QTest::qWaitFor([&] { return app.mainWindow() != nullptr; }, 5000));
        MainWindow *main = app.mainWindow();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        // Paul played yesterday; Zoé, more games, not for ten days.
        std::mt19937 random(5);
        for (int i = 0; i < 5; ++i)
            app.history().record(sampleGame(random, i < 2 ? "Paul" : "Zoé", 1, ts.wallClock.now.addDays(i < 2 ? -1 : -10)));

        QString shown, opened, exported;
        whenModal([&](QWidget *modal) {
            auto *w = qobject_cast<ClassWindow *>(modal);
            QVERIFY(w);
            QTableView *table = w->table();
            shown = column(table, ClassTableModel::Player) + " " + column(table, ClassTableModel::Attention);
            table->sortByColumn(ClassTableModel::Player, Qt::AscendingOrder);
            shown += " / " + column(table, ClassTableModel::Player);
            table->sortByColumn(ClassTableModel::Games, Qt::DescendingOrder);
            shown += " / " + column(table, ClassTableModel::Games);
            whenModal([&](QWidget *progression) {
                auto *p = qobject_cast<ProgressionWindow *>(progression);
                opened = p ? p->findChild<QComboBox *>(QStringLiteral("playerBox"))->currentText() : "?";
                progression->close();
            });
            table->setFocus();
            QTest::keyClick(table, Qt::Key_Return);
            w->setFileChooser([&](QWidget *, const QString &) { return folder.file("classe.csv"); });
            w->findChild<QPushButton *>(QStringLiteral("exportButton"))->click();
            exported = QString::fromUtf8(folder.read("classe.csv")).section(QLatin1Char('\n'), 1, 1);
            w->reject();
        });
        QTest::keyClick(main, Qt::Key_F7);
        QCOMPARE(shown, QStringLiteral("Zoé,Paul \u26A0 aucune partie depuis 7\u00A0jours, / Paul,Zoé / 3,2"));
        QCOMPARE(opened, QStringLiteral("Zoé"));
        QVERIFY2(exported.startsWith(QStringLiteral("Zoé;aucune partie depuis 7\u00A0jours;0;3;0;2026-11-26T18:30:05.123Z;596;596;")),
                 qPrintable(exported));
        QCOMPARE(ts.boxes.texts().last().left(40), QStringLiteral("La classe (2\u00A0joueurs, mode 1 lettre) exp"));
    }
};

QTEST_MAIN(TestClassWindow)
#include "tst_class_window.moc"
