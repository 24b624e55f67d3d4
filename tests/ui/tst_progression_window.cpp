// Guards the wiring of the progression window: F5 opens it over the main window, the
// player and mode it starts on, the sentence when there is nothing to show, what the
// chart, the table and the keyboard map are given, Tab through every control, the arrow
// keys and hovering on the map, Escape, and the export.
#include "app/GameApplication.h"
#include "ui/SqliteHistory.h"
#include "support/GameSamples.h"
#include "support/RecordBytes.h"
#include "support/TestDoubles.h"
#include "support/WindowDriver.h"
#include "ui/KeyboardMapView.h"
#include "ui/MainWindow.h"
#include "ui/ProgressionWindow.h"

#include <QAbstractSeries>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>

#include <memory>

namespace {

const QDateTime kDay(QDate(2026, 11, 2), QTime(17, 0), Qt::UTC);

// A history in a scratch working folder, filled with made-up games.
struct Folder
{
    ScratchFolder folder;
    ScriptedBoxes boxes;
    ScriptedWallClock clock;
    SqliteHistory history{boxes, clock};
    std::mt19937 random{11};

    void games(const QString &player, int mode, int count)
    {
        for (int i = 0; i < count; ++i)
            history.record(sampleGame(random, player, mode, kDay.addDays(i)));
    }
};

struct Window
{
    explicit Window(Folder &f, const QString &player, int mode)
        : w(f.history, f.boxes, player, mode)
    {
    }
    template <typename T> T *find(const char *name) const { return w.findChild<T *>(QLatin1String(name)); }
    QString player() const { return find<QComboBox>("playerBox")->currentText(); }
    QString mode() const { return find<QComboBox>("modeBox")->currentText(); }
    bool empty() const { return w.findChild<QStackedWidget *>()->currentIndex() == 0; }
    QString sentence() const { return find<QLabel>("emptySentence")->text(); }
    int rows() const { return find<QTableWidget>("lastGames")->rowCount(); }
    QStringList series() const
    {
        QStringList names;
        for (QAbstractSeries *s : find<QChartView>("chart")->chart()->series())
            names << s->name();
        return names;
    }
    ProgressionWindow w;
};

} // namespace

class TestProgressionWindow : public QObject
{
    Q_OBJECT

private slots:
    void f5OpensItOverTheMainWindow_data()
    {
        QTest::addColumn<QString>("games"); // player and mode of three games, or nothing
        QTest::addColumn<QString>("player");
        QTest::addColumn<QString>("sentence"); // empty: the charts are shown
        QTest::newRow("nothing yet") << "" << "" << "Aucune partie terminée pour l'instant.";
        QTest::newRow("games in the other mode") << "Zoé 6" << "Zoé"
                                                 << "Aucune partie terminée pour ce joueur dans ce mode.";
        QTest::newRow("games in this mode") << "Zoé 1" << "Zoé" << "";
    }
    void f5OpensItOverTheMainWindow()
    {
        QFETCH(QString, games);
        QFETCH(QString, player);
        QFETCH(QString, sentence);
        ScratchFolder folder;
        TestServices ts;
        if (!games.isEmpty()) {
            SqliteHistory before(ts.boxes, ts.wallClock);
            std::mt19937 random(3);
            for (int i = 0; i < 3; ++i)
                before.record(sampleGame(random, games.section(' ', 0, 0), games.section(' ', 1).toInt(), kDay));
        }
        GameApplication app(ts.services());
        app.start();
        QVERIFY(QTest::qWaitFor([&] { return app.mainWindow() != nullptr; }, 5000));
        MainWindow *main = app.mainWindow();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));

        QString title, chosen, mode, shown;
        bool charts = false;
        whenModal([&](QWidget *w) {
            title = w->windowTitle();
            chosen = w->findChild<QComboBox *>(QStringLiteral("playerBox"))->currentText();
            mode = w->findChild<QComboBox *>(QStringLiteral("modeBox"))->currentText();
            shown = w->findChild<QLabel *>(QStringLiteral("emptySentence"))->text();
            charts = w->findChild<QStackedWidget *>()->currentIndex() == 1;
            QTest::keyClick(w, Qt::Key_Escape);
        });
        QTest::keyClick(main, Qt::Key_F5);
        QCOMPARE(title, QStringLiteral("Progression"));
        QTEST(chosen, "player");
        QCOMPARE(mode, QStringLiteral("1 lettre"));
        QCOMPARE(charts, sentence.isEmpty());
        if (!sentence.isEmpty())
            QCOMPARE(shown, sentence);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(ts.boxes.shown.isEmpty());
        QVERIFY(main->isVisible() && ts.end.ended == 0);
    }

    // The choices reload the chart and the table; the personal records come from the mode's
    // record file, which is only read.
    void playerAndModeChoices()
    {
        Folder f;
        f.games(QStringLiteral("Paul"), 1, 3);
        f.games(QStringLiteral("Paul"), 6, 1);
        f.games(QStringLiteral("Anne"), 1, 2);
        const QByteArray records = recordBytes("Paul", 300, 0) + recordBytes("Paul", 0, 400) + recordBytes("Paul", 300, 400);
        f.folder.write(QStringLiteral("clvfic1.txt"), records);
        Window w(f, QStringLiteral("Paul"), 6);
        QCOMPARE(w.player(), QStringLiteral("Paul"));
        QCOMPARE(w.mode(), QStringLiteral("6 lettres"));
        QCOMPARE(w.rows(), 1);
        QCOMPARE(w.series(), (QStringList{"Moyenne", "Mini"})); // no record file for six letters
        w.find<QComboBox>("modeBox")->setCurrentIndex(0);
        QCOMPARE(w.rows(), 3);
        QCOMPARE(w.series(), (QStringList{"Moyenne", "Mini", "Record moyenne", "Record mini"}));
        auto *dates = qobject_cast<QDateTimeAxis *>(w.find<QChartView>("chart")->chart()->axes(Qt::Horizontal).value(0));
        QVERIFY(dates && dates->format() == QStringLiteral("dd/MM/yyyy"));
        QTableWidget *table = w.find<QTableWidget>("lastGames");
        QStringList headers;
        for (int c = 0; c < table->columnCount(); ++c)
            headers << table->horizontalHeaderItem(c)->text();
        QCOMPARE(headers, (QStringList{"Date", "Mini", "Moyenne", "Fautes"}));
        QCOMPARE(table->item(0, 2)->text(), QString::number(w.w.data().games.last().average)); // newest first
        w.find<QComboBox>("playerBox")->setCurrentText(QStringLiteral("Anne"));
        QCOMPARE(w.rows(), 2);
        QCOMPARE(w.series(), (QStringList{"Moyenne", "Mini"}));
        QCOMPARE(f.folder.read(QStringLiteral("clvfic1.txt")), records);
        QVERIFY(!QFile::exists(f.folder.file(QStringLiteral("clvfic6.txt"))));

        Window newcomer(f, QStringLiteral("Zoé"), 1); // named, no game yet
        QCOMPARE(newcomer.player(), QStringLiteral("Zoé"));
        QVERIFY(newcomer.empty());
        QCOMPARE(newcomer.sentence(), QStringLiteral("Aucune partie terminée pour ce joueur dans ce mode."));
    }

    // Tab goes through every control; the arrow keys walk the keyboard map, whose figures
    // show below it and on hover; Escape closes.
    void keyboardMap()
    {
        Folder f;
        FinishedGame game = sampleGame(f.random, QStringLiteral("Léa"), 6, kDay, 600, 0.0);
        for (PlayedItem &item : game.items)
            item = {QStringLiteral("ÉTÊTER"), 600, 660, {{u'É', u'E'}}};
        f.history.record(game);
        Window w(f, QStringLiteral("Léa"), 6);
        w.w.show();
        w.w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.w));
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, (QStringList{"playerBox", "modeBox", "lastGames", "keyboardMap", "exportButton", "closeButton",
                                       "playerBox"}));

        auto *map = w.find<KeyboardMapView>("keyboardMap");
        map->setFocus();
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right}) // from "²" down to A, then to E
            QTest::keyClick(map, k);
        QCOMPARE(w.find<QLabel>("keyFigures")->text(), QStringLiteral("E : 0 faute sur 40 (0,0 %)"));
        QCOMPARE(w.find<QLabel>("mostMissed")->text(),
                 QStringLiteral("Caractères les plus manqués :\nÉ : 20 fautes sur 20 (100,0 %)"));
        QPoint onE; // a point on the "é" key, found through the map's own hit test
        for (int y = 0; y < map->height() && onE.isNull(); ++y) {
            for (int x = 0; x < map->width() && onE.isNull(); ++x) {
                const int key = map->keyAt(QPointF(x, y));
                if (key >= 0 && map->figures()[key].label == QStringLiteral("é"))
                    onE = QPoint(x + 3, y + 3);
            }
        }
        QHelpEvent hover(QEvent::ToolTip, onE, map->mapToGlobal(onE));
        QApplication::sendEvent(map, &hover);
        QCOMPARE(QToolTip::text(), QStringLiteral("é : 20 fautes sur 20 (100,0 %)"));
        QTest::keyClick(map, Qt::Key_Escape);
        QVERIFY(!w.w.isVisible());
        QCOMPARE(w.w.result(), int(QDialog::Rejected));
    }

    void exportThroughTheSaveDialog_data()
    {
        QTest::addColumn<QString>("chosen"); // the path the save dialog gives back
        QTest::addColumn<int>("lines");      // in the file; -1: no file
        QTest::addColumn<QString>("box");
        QTest::newRow("saved") << "parties.csv" << 1 + 3 * 20 << "3 parties de Paul exportées dans « ";
        QTest::newRow("cancelled") << "" << -1 << "";
        QTest::newRow("not writable") << "fichier/parties.csv" << -1 << "n'a pas pu être écrit";
    }
    void exportThroughTheSaveDialog()
    {
        QFETCH(QString, chosen);
        QFETCH(int, lines);
        QFETCH(QString, box);
        Folder f;
        f.games(QStringLiteral("Paul"), 1, 2);
        f.games(QStringLiteral("Paul"), 6, 1);
        f.games(QStringLiteral("Anne"), 1, 1);
        f.folder.write(QStringLiteral("fichier"), "garde");
        Window w(f, QStringLiteral("Paul"), 1);
        QString suggested;
        w.w.setFileChooser([&](QWidget *, const QString &offered) {
            suggested = offered;
            return chosen.isEmpty() ? QString() : f.folder.file(chosen);
        });
        w.find<QPushButton>("exportButton")->click();
        QCOMPARE(QFileInfo(suggested).fileName(), QStringLiteral("Clavimo - Paul.csv"));
        const QByteArray csv = f.folder.read(chosen);
        if (lines < 0) {
            QVERIFY(chosen.isEmpty() || !QFile::exists(f.folder.file(chosen)));
        } else {
            QVERIFY(csv.startsWith("\xEF\xBB\xBFPartie;Joueur;Mode;"));
            QCOMPARE(csv.count("\r\n"), lines);
            QVERIFY(!csv.contains("Anne"));
        }
        if (box.isEmpty()) {
            QVERIFY(f.boxes.shown.isEmpty());
        } else {
            QCOMPARE(f.boxes.shown.size(), 1);
            QVERIFY2(f.boxes.shown[0].text.contains(box), qPrintable(f.boxes.shown[0].text));
            QCOMPARE(f.boxes.shown[0].title, QStringLiteral("Clavimo"));
        }
        QCOMPARE(f.folder.read(QStringLiteral("fichier")), QByteArray("garde"));
    }
};

QTEST_MAIN(TestProgressionWindow)
#include "tst_progression_window.moc"
