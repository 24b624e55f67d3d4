// Guards the wiring of the progression window: F5 opens it over the main window on the
// current player and mode, the sentence when there is nothing to show, what the chart and
// the keyboard map are given, Tab through every control, the arrow keys and hovering on
// the map, the arrow keys on the chart and its choice of all games, Escape, and the export
// handing the CSV to the chosen file.
#include "app/GameApplication.h"
#include "game/progress/HistoryCsv.h"
#include "history/SqliteHistory.h"
#include "support/GameSamples.h"
#include "support/EntryBytes.h"
#include "support/TestDoubles.h"
#include "support/WindowDriver.h"
#include "ui/KeyboardMapView.h"
#include "ui/MainWindow.h"
#include "ui/ProgressionWindow.h"
#include "adapters/XkbKeyboards.h"
#include "game/keyboard/KeyboardLayouts.h"

#include <QAbstractSeries>
#include <QXYSeries>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>

namespace {

const QDateTime kDay(QDate(2026, 11, 2), QTime(17, 0), Qt::UTC);

// The arrow keys from "²" down to A, then right to E; then the tooltip of the "é" key,
// found through the map's own hit test.
QString walkTheMap(ProgressionWindow *w)
{
    auto *map = w->findChild<KeyboardMapView *>();
    map->setFocus();
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right})
        QTest::keyClick(map, k);
    QPoint onE;
    for (int y = 0; y < map->height() && onE.isNull(); ++y)
        for (int x = 0; x < map->width() && onE.isNull(); ++x)
            if (map->keyAt(QPointF(x, y)) >= 0 && map->figures()[map->keyAt(QPointF(x, y))].label == QStringLiteral("é"))
                onE = QPoint(x + 3, y + 3);
    QHelpEvent hover(QEvent::ToolTip, onE, map->mapToGlobal(onE));
    QApplication::sendEvent(map, &hover);
    return QStringList{w->findChild<QLabel *>(QStringLiteral("keyFigures"))->text(),
                       w->findChild<QLabel *>(QStringLiteral("mostMissed"))->text(), QToolTip::text()}
        .join(QLatin1Char('\n'));
}

// What the open window shows, one part per line: title, player, mode, the sentence or the
// chart's lines and the table's rows, the controls Tab visits from the player, the page
// after choosing the last player, then the other mode, and with the first choices back,
// what the keyboard map shows.
QString describe(ProgressionWindow *w)
{
    auto *player = w->findChild<QComboBox *>(QStringLiteral("playerBox"));
    auto *mode = w->findChild<QComboBox *>(QStringLiteral("modeBox"));
    auto page = [w] {
        if (w->data().isEmpty())
            return w->findChild<QLabel *>(QStringLiteral("emptySentence"))->text();
        QStringList series;
        for (QAbstractSeries *s : w->findChild<QChartView *>()->chart()->series())
            series << s->name();
        return series.join(QLatin1Char(',')) + QStringLiteral(", %1 rows").arg(w->findChild<QTableWidget *>()->rowCount());
    };
    QStringList out{w->windowTitle(), player->currentText(), mode->currentText(), page()};
    QStringList visited{QApplication::focusWidget()->objectName()};
    while (visited.size() < 9 && (visited.size() == 1 || visited.last() != visited.first())) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    out << visited.join(QLatin1Char(' '));
    const int firstPlayer = player->currentIndex(), firstMode = mode->currentIndex();
    player->setCurrentIndex(player->count() - 1);
    out << page();
    mode->setCurrentIndex(1 - firstMode);
    out << page();
    player->setCurrentIndex(firstPlayer);
    mode->setCurrentIndex(firstMode);
    if (!w->data().isEmpty())
        out << walkTheMap(w);
    return out.join(QLatin1Char('\n'));
}

} // namespace

class TestProgressionWindow : public QObject
{
    Q_OBJECT

private slots:
    // The layout remembered between runs goes to a settings folder of the test's own.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", configFolder_.path().toLocal8Bit()); }

    void f5OpensItOverTheMainWindow_data()
    {
        QTest::addColumn<QString>("named");  // the main window's player and mode; empty: nobody yet
        QTest::addColumn<QString>("chosen"); // the path the save dialog gives back; empty: cancelled
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("box"); // the export's message as a pattern; empty: none
        const QString none = QStringLiteral("Aucune partie terminée pour ce joueur dans ce mode.");
        const QString notPlayed = "Progression\nZoé\n6 lettres\n" + none
            + "\nplayerBox modeBox exportButton closeButton playerBox\n" + none + "\nMoyenne,Mini,Partie choisie, 2 rows";
        const QString nothing = QStringLiteral("Aucune partie terminée pour l'instant.");
        QTest::newRow("nothing yet") << "" << "parties.csv"
                                     << "Progression\n\n1 lettre\n" + nothing + "\nplayerBox modeBox closeButton playerBox\n"
                                            + nothing + "\n" + nothing
                                     << "";
        QTest::newRow("games in the other mode, export cancelled") << "Zoé 6" << "" << notPlayed << "";
        QTest::newRow("export refused") << "Zoé 6" << "fichier/parties.csv" << notPlayed
                                        << "^Le fichier «\u00A0.*/fichier/parties.csv\u00A0» n'a pas pu être écrit \\(.+\\)\u00A0: rien "
                                           "n'est exporté. \\| Clavimo \\| Ok \\| Exclamation$";
        QTest::newRow("games in this mode, exported")
            << "Paul 1" << "parties.csv"
            << "Progression\nPaul\n1 lettre\nMoyenne,Mini,Record moyenne,Record mini,Partie choisie, 3 rows\n"
               "playerBox modeBox chart lastGames layoutBox keyboardMap exportButton closeButton playerBox\n"
               "Moyenne,Mini,Partie choisie, 2 rows\n"
                + none + "\nE\u00A0: 0 faute sur 30 (0,0\u00A0%)\nCaractères les plus manqués\u00A0:\nÉ\u00A0: 30 fautes sur 30 (100,0\u00A0%)\n"
                         "é\u00A0: 30 fautes sur 30 (100,0\u00A0%)"
            << "^3 parties de Paul exportées dans «\u00A0.*/parties.csv\u00A0». \\| Clavimo \\| Ok \\| Information$";
    }
    void f5OpensItOverTheMainWindow()
    {
        QFETCH(QString, named);
        QFETCH(QString, chosen);
        QFETCH(QString, box);
        ScratchFolder folder;
        folder.write(QStringLiteral("clvfic1.txt"), entryBytes("Paul", 300, 0) + entryBytes("Paul", 0, 400)
                                                        + entryBytes("Paul", 300, 400));
        folder.write(QStringLiteral("fichier"), "garde");
        TestServices ts;
        GameApplication app(ts.services());
        app.start();
        QVERIFY(QTest::qWaitFor([&] { return app.mainWindow() != nullptr; }, 5000));
        MainWindow *main = app.mainWindow();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        if (!named.isEmpty()) {
            // Three games of Paul in which É, every other item, is always missed for an E, and
            // two of Zoé; the players named after them, as the player list dialog does.
            std::mt19937 random(3);
            for (int i = 0; i < 5; ++i) {
                FinishedGame game = sampleGame(random, i < 3 ? "Paul" : "Zoé", 1, kDay.addDays(i));
                for (int n = 0; n < 20; ++n)
                    game.items[n] = n % 2 ? PlayedItem{"É", 600, 660, {{u'É', u'E'}}} : PlayedItem{"E", 600, 600, {}};
                app.history().record(game);
            }
            app.session().setPlayers({named.section(' ', 0, 0)});
            app.session().afterPlayersChosen();
            app.session().selectMode(named.section(' ', 1).toInt());
        }
        const qsizetype boxesBefore = ts.boxes.shown.size();

        QString shown, suggested;
        bool escaped = false;
        whenModal([&](QWidget *modal) {
            auto *w = qobject_cast<ProgressionWindow *>(modal);
            QVERIFY(QTest::qWaitFor([w] { return w->isAncestorOf(QApplication::focusWidget()); }));
            w->setFileChooser([&](QWidget *, const QString &offered) {
                suggested = QFileInfo(offered).fileName();
                return chosen.isEmpty() ? QString() : folder.file(chosen);
            });
            w->findChild<QPushButton *>(QStringLiteral("exportButton"))->click();
            shown = describe(w);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); // the keyboard map's, when shown
            escaped = w->isHidden();
            w->reject(); // so that a failure does not hang the test
        });
        QTest::keyClick(main, Qt::Key_F5);
        QTEST(shown, "shown");
        QVERIFY(escaped && main->isVisible() && ts.end.ended == 0);

        // The export: offered under the player's name, the player's CSV in the file chosen.
        const QString player = named.section(' ', 0, 0);
        QCOMPARE(suggested, player.isEmpty() ? QString() : "Clavimo - " + player + ".csv"); // no export without a player
        QCOMPARE(ts.boxes.shown.size() - boxesBefore, box.isEmpty() ? 0 : 1);
        QVERIFY2(box.isEmpty() || QRegularExpression(box).match(ts.boxes.last()).hasMatch(), qPrintable(ts.boxes.last()));
        const bool written = !box.isEmpty() && box.contains(QStringLiteral("exportées"));
        QCOMPARE(folder.read(chosen), written ? HistoryCsv::build(app.history().itemLines(player)) : QByteArray());
        QCOMPARE(folder.read(QStringLiteral("fichier")), QByteArray("garde"));
    }

    // Practice games: hollow dots of their own, out of the Moyenne and Mini lines, and
    // marked in the table of the last games. Over 50 games the chart shows the latest 50
    // and offers all; the arrow keys on the chart go from game to game, each told under
    // the chart and to a screen reader.
    void practiceGamesAndTheLatest()
    {
        ScratchFolder folder;
        TestServices ts;
        SqliteHistory history(ts.boxes, ts.wallClock);
        std::mt19937 random(5);
        for (int i = 0; i < 55; ++i) {
            FinishedGame game = sampleGame(random, "Paul", 1, kDay.addSecs(600 * i));
            game.practice = i == 53;
            history.record(game);
        }
        XkbKeyboards keyboards;
        GivenKeyboardNames serverKeyboard;
        RememberedLayout memory;
        KeyboardLayouts layouts(keyboards, serverKeyboard, memory);
        ProgressionWindow w(history, ts.boxes, layouts, ts.wallClock, QStringLiteral("Paul"), 1);
        auto *view = w.findChild<QChartView *>();
        auto series = [view] {
            QStringList out;
            for (QAbstractSeries *s : view->chart()->series())
                out << QStringLiteral("%1 %2").arg(s->name()).arg(static_cast<QXYSeries *>(s)->count());
            return out.join(QLatin1Char(','));
        };
        QCOMPARE(series(), QStringLiteral("Moyenne 49,Mini 49,Entraînement (moyenne) 1,Partie choisie 0"));
        auto *table = w.findChild<QTableWidget *>(QStringLiteral("lastGames"));
        QList<int> practiceRows;
        for (int row = 0; row < table->rowCount(); ++row)
            if (table->item(row, 0)->text().endsWith(QStringLiteral(" (entraînement)")))
                practiceRows << row;
        QCOMPARE(practiceRows, QList<int>{1});

        QStringList chosen;
        for (Qt::Key key : {Qt::Key_End, Qt::Key_Left, Qt::Key_Home}) {
            QTest::keyClick(view, key);
            chosen << QString::number(w.currentGame());
        }
        QCOMPARE(chosen.join(' '), QStringLiteral("55 54 6"));
        QCOMPARE(view->accessibleDescription(), w.findChild<QLabel *>(QStringLiteral("gameFigures"))->text());
        QVERIFY(view->accessibleDescription().startsWith(QStringLiteral("Partie 6, ")));
        auto *all = w.findChild<QCheckBox *>(QStringLiteral("allGames"));
        QVERIFY(all->isVisibleTo(&w));
        all->click();
        QCOMPARE(series(), QStringLiteral("Moyenne 54,Mini 54,Entraînement (moyenne) 1,Partie choisie 0"));
    }

private:
    QTemporaryDir configFolder_;
};

QTEST_MAIN(TestProgressionWindow)
#include "tst_progression_window.moc"
