// Guards the wiring of the progression window: F5 opens it over the main window on the
// current player and mode, the sentence when there is nothing to show, what the chart and
// the keyboard map are given, Tab through every control, the arrow keys and hovering on
// the map, the arrow keys on the chart and its choice of all games, Escape, and the export
// handing the CSV to the chosen file.
#include "adapters/XkbKeyboards.h"
#include "game/keyboard/KeyboardLayouts.h"
#include "game/progress/HistoryCsv.h"
#include "support/EntryBytes.h"
#include "support/GameSamples.h"
#include "support/GameUnderTest.h"
#include "support/WindowDriver.h"
#include "ui/KeyboardMapView.h"
#include "ui/ProgressionWindow.h"

#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QToolTip>
#include <QXYSeries>

namespace {

const QDateTime kDay(QDate(2026, 11, 2), QTime(17, 0), Qt::UTC);

QString text(QWidget *w, const char *label) { return w->findChild<QLabel *>(QLatin1String(label))->text(); }

// The series of the chart with their points, or the sentence shown in its place; the rows of the table.
QString page(QWidget *w)
{
    if (w->findChild<QLabel *>(QStringLiteral("emptySentence"))->isVisibleTo(w))
        return text(w, "emptySentence");
    QStringList series;
    for (QAbstractSeries *s : w->findChild<QChartView *>()->chart()->series())
        series << QStringLiteral("%1 %2").arg(s->name()).arg(static_cast<QXYSeries *>(s)->count());
    return series.join(',') + QStringLiteral(", %1 rows").arg(w->findChild<QTableWidget *>()->rowCount());
}

// What the open window shows, one part per line: title, player, mode, the page, the
// controls Tab visits from the player, the page after choosing the last player, then the
// other mode, and with the first choices back, what the keyboard map shows after the arrow
// keys from "²" down to A and right to E, then the tooltip of the "é" key.
QString describe(QWidget *w)
{
    auto *player = w->findChild<QComboBox *>(QStringLiteral("playerBox"));
    auto *mode = w->findChild<QComboBox *>(QStringLiteral("modeBox"));
    QStringList out{w->windowTitle(), player->currentText(), mode->currentText(), page(w)};
    QStringList visited{QApplication::focusWidget()->objectName()};
    while (visited.size() < 9 && (visited.size() == 1 || visited.last() != visited.first())) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    out << visited.join(' ');
    const int firstPlayer = player->currentIndex(), firstMode = mode->currentIndex();
    player->setCurrentIndex(player->count() - 1);
    out << page(w);
    mode->setCurrentIndex(1 - firstMode);
    out << page(w);
    player->setCurrentIndex(firstPlayer);
    mode->setCurrentIndex(firstMode);
    auto *map = w->findChild<KeyboardMapView *>();
    if (!map->isVisibleTo(w))
        return out.join('\n');
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
    return (out << text(w, "keyFigures") << text(w, "mostMissed") << QToolTip::text()).join('\n');
}

} // namespace

class TestProgressionWindow : public GameUnderTest
{
    Q_OBJECT

private slots:
    // The layout remembered between runs goes to a settings folder of the test's own.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", configFolder_.path().toLocal8Bit()); }
    void cleanup() { tearDownGame(); }

    // Rows: the main window's player and mode (empty: nobody yet), the path the save dialog
    // gives back (empty: cancelled), what the window shows, the export's box as a pattern.
    void f5OpensItOverTheMainWindow()
    {
        const QString none = QStringLiteral("Aucune partie terminée pour ce joueur dans ce mode.");
        const QString zoe = "Progression\nZoé\n6 lettres\n" + none + "\nplayerBox modeBox exportButton closeButton playerBox\n" + none
            + "\nMoyenne 2,Mini 2,Partie choisie 0, 2 rows";
        const QString nothing = QStringLiteral("Aucune partie terminée pour l'instant.");
        const QString rows[][4] = {
            {"", "parties.csv", "Progression\n\n1 lettre\n" + nothing + "\nplayerBox modeBox closeButton playerBox\n" + nothing + "\n" + nothing, ""},
            {"Zoé 6", "", zoe, ""},
            {"Zoé 6", "fichier/parties.csv", zoe,
             "^Le fichier «\u00A0.*/fichier/parties.csv\u00A0» n'a pas pu être écrit \\(.+\\)\u00A0: rien n'est exporté. \\| Clavimo \\| Ok \\| Exclamation$"},
            {"Paul 1", "parties.csv",
             "Progression\nPaul\n1 lettre\nMoyenne 3,Mini 3,Record moyenne 2,Record mini 2,Partie choisie 0, 3 rows\n"
             "playerBox modeBox chart lastGames layoutBox keyboardMap exportButton closeButton playerBox\n"
             "Moyenne 2,Mini 2,Partie choisie 0, 2 rows\n" + none
                 + "\nE\u00A0: 0 faute sur 30 (0,0\u00A0%)\nCaractères les plus manqués\u00A0:\nÉ\u00A0: 30 fautes sur 30 (100,0\u00A0%)\n"
                   "é\u00A0: 30 fautes sur 30 (100,0\u00A0%)",
             "^3 parties de Paul exportées dans «\u00A0.*/parties.csv\u00A0». \\| Clavimo \\| Ok \\| Information$"}};
        for (const auto &[named, chosen, wanted, box] : rows) {
            setUpGame();
            folder->write("clvfic1.txt", entryBytes("Paul", 300, 0) + entryBytes("Paul", 0, 400) + entryBytes("Paul", 300, 400));
            folder->write("fichier", "garde");
            QVERIFY(startGame());
            const QString player = named.section(' ', 0, 0);
            if (!named.isEmpty()) {
                // Three games of Paul in which É, every other item, is always missed for an E, and
                // two of Zoé; the players named after them, as the player list dialog does.
                std::mt19937 random(3);
                for (int i = 0; i < 5; ++i) {
                    FinishedGame game = sampleGame(random, i < 3 ? "Paul" : "Zoé", 1, kDay.addDays(i));
                    for (int n = 0; n < 20; ++n)
                        game.items[n] = n % 2 ? PlayedItem{"É", 600, 660, {{u'É', u'E'}}} : PlayedItem{"E", 600, 600, {}};
                    app->history().record(game);
                }
                app->session().setPlayers({player});
                app->session().afterPlayersChosen();
                app->session().selectMode(named.section(' ', 1).toInt());
            }
            const qsizetype boxesBefore = ts->boxes.shown.size();
            QString shown, suggested;
            bool escaped = false;
            whenModal([&](QWidget *modal) {
                auto *w = qobject_cast<ProgressionWindow *>(modal);
                QVERIFY(QTest::qWaitFor([w] { return w->isAncestorOf(QApplication::focusWidget()); }));
                w->setFileChooser([&](QWidget *, const QString &offered) {
                    suggested = QFileInfo(offered).fileName();
                    return chosen.isEmpty() ? QString() : folder->file(chosen);
                });
                w->findChild<QPushButton *>(QStringLiteral("exportButton"))->click();
                shown = describe(w);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); // the keyboard map's, when shown
                escaped = w->isHidden();
                w->reject(); // so that a failure does not hang the test
            });
            QTest::keyClick(main, Qt::Key_F5);
            QCOMPARE(shown, wanted);
            QVERIFY(escaped && main->isVisible() && ts->end.ended == 0);
            // The export: offered under the player's name (none without a player), the CSV in the file chosen.
            QCOMPARE(suggested, player.isEmpty() ? QString() : "Clavimo - " + player + ".csv");
            QCOMPARE(ts->boxes.shown.size() - boxesBefore, box.isEmpty() ? 0 : 1);
            QVERIFY2(box.isEmpty() || QRegularExpression(box).match(ts->boxes.last()).hasMatch(), qPrintable(ts->boxes.last()));
            const bool written = box.contains(QStringLiteral("exportées"));
            QCOMPARE(folder->read(chosen), written ? HistoryCsv::build(app->history().itemLines(player)) : QByteArray());
            QCOMPARE(folder->read("fichier"), QByteArray("garde"));
        }
    }

    // Practice games: hollow dots of their own, out of the Moyenne and Mini lines, and
    // marked in the table of the last games. Over 50 games the chart shows the latest 50
    // and offers all; the arrow keys on the chart go from game to game, each told under
    // the chart and to a screen reader.
    void practiceGamesAndTheLatest()
    {
        setUpGame();
        std::mt19937 random(5);
        for (int i = 0; i < 55; ++i) {
            FinishedGame game = sampleGame(random, "Paul", 1, kDay.addSecs(600 * i));
            game.practice = i == 53;
            app->history().record(game);
        }
        XkbKeyboards keyboards;
        GivenKeyboardNames serverKeyboard;
        RememberedLayout memory;
        KeyboardLayouts layouts(keyboards, serverKeyboard, memory);
        ProgressionWindow w(app->history(), ts->boxes, layouts, ts->wallClock, QStringLiteral("Paul"), 1);
        QCOMPARE(page(&w), QStringLiteral("Moyenne 49,Mini 49,Entraînement (moyenne) 1,Partie choisie 0, 50 rows"));
        auto *table = w.findChild<QTableWidget *>(QStringLiteral("lastGames"));
        QList<int> practiceRows;
        for (int row = 0; row < table->rowCount(); ++row)
            if (table->item(row, 0)->text().endsWith(QStringLiteral(" (entraînement)")))
                practiceRows << row;
        QCOMPARE(practiceRows, QList<int>{1});
        auto *view = w.findChild<QChartView *>();
        QStringList chosen;
        for (Qt::Key key : {Qt::Key_End, Qt::Key_Left, Qt::Key_Home}) {
            QTest::keyClick(view, key);
            chosen << text(&w, "gameFigures").section(',', 0, 0);
        }
        QCOMPARE(chosen, (QStringList{"Partie 55", "Partie 54 (entraînement)", "Partie 6"}));
        QCOMPARE(view->accessibleDescription(), text(&w, "gameFigures"));
        auto *all = w.findChild<QCheckBox *>(QStringLiteral("allGames"));
        QVERIFY(all->isVisibleTo(&w));
        all->click();
        QCOMPARE(page(&w).section(',', 0, 2), QStringLiteral("Moyenne 54,Mini 54,Entraînement (moyenne) 1"));
    }

private:
    QTemporaryDir configFolder_;
};

QTEST_MAIN(TestProgressionWindow)
#include "tst_progression_window.moc"
