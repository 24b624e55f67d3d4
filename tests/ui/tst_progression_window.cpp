// Guards the wiring of the Progression and « La classe » windows: F5 and F7 open them over
// the main window on the current player and mode, the sentence when there is nothing to
// show, what the chart, the table and the keyboard panel are given, Tab through every
// control, the arrow keys on the chart and its choice of all games, the class table's sort
// and Enter, and the export both share: cancelled, refused with a box, or the file written.
#include "adapters/XkbKeyboards.h"
#include "game/keyboard/KeyboardLayouts.h"
#include "game/progress/HistoryCsv.h"
#include "support/EntryBytes.h"
#include "support/GameSamples.h"
#include "support/GameUnderTest.h"
#include "ui/ClassTableModel.h"
#include "ui/ClassWindow.h"
#include "ui/CsvExport.h"
#include "ui/ProgressionWindow.h"

#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTableWidget>
#include <QXYSeries>

namespace {

const QDateTime kDay(QDate(2026, 11, 2), QTime(17, 0), Qt::UTC);

QString text(QWidget *w, const char *label) { return w->findChild<QLabel *>(QLatin1String(label))->text(); }

// The series of the chart with their points, or the sentence shown in its place; the rows of the table.
QString page(QWidget *w)
{
    if (w->findChild<QLabel *>(QStringLiteral("emptySentence"))->isVisibleTo(w))
        return text(w, "emptySentence").section(' ', 3);
    QStringList series;
    for (QAbstractSeries *s : w->findChild<QChartView *>()->chart()->series())
        series << QStringLiteral("%1 %2").arg(s->name()).arg(static_cast<QXYSeries *>(s)->count());
    return series.join(',') + QStringLiteral(", %1 rows").arg(w->findChild<QTableWidget *>()->rowCount());
}

// The column of a table as shown, top to bottom.
QString column(QTableView *table, int c)
{
    QStringList out;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        out << table->model()->index(row, c).data().toString();
    return out.join(QLatin1Char(','));
}

} // namespace

class TestProgressionWindow : public GameUnderTest
{
    Q_OBJECT

private slots:
    // The layout remembered between runs goes to a settings folder of the test's own.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", configFolder_.path().toLocal8Bit()); }

    // Rows: the main window's player and mode (empty: nobody yet), then what the window shows:
    // player, mode, the page, the controls Tab visits from the player, the page after
    // choosing the last player, then the other mode.
    void f5OpensItOverTheMainWindow()
    {
        const QString rows[][2] = {
            {"", "|1 lettre|pour l'instant.|playerBox modeBox closeButton playerBox|pour l'instant.|pour l'instant."},
            {"Zoé 6", "Zoé|6 lettres|pour ce joueur dans ce mode.|playerBox modeBox exportButton closeButton playerBox|pour ce joueur "
                      "dans ce mode.|Moyenne 2,Mini 2,Partie choisie 0, 2 rows"},
            {"Paul 1", "Paul|1 lettre|Moyenne 3,Mini 3,Record moyenne 2,Record mini 2,Partie choisie 0, 3 rows|playerBox modeBox chart lastGames layoutBox "
                       "keyboardMap exportButton closeButton playerBox|Moyenne 2,Mini 2,Partie choisie 0, 2 rows|pour ce joueur dans ce mode."}};
        for (const auto &[named, wanted] : rows) {
            setUpGame();
            folder->write("clvfic1.txt", entryBytes("Paul", 300, 0) + entryBytes("Paul", 0, 400) + entryBytes("Paul", 300, 400));
            QVERIFY(startGame());
            const QString player = named.section(' ', 0, 0);
            if (!named.isEmpty()) {
                // Three games of Paul in which É, every other item, is always missed for an E,
                // and two of Zoé; the players named after them, as the player list dialog does.
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
            QStringList shown;
            QString suggested;
            bool escaped = false;
            whenModal([&](QWidget *modal) {
                auto *w = qobject_cast<ProgressionWindow *>(modal);
                QVERIFY(QTest::qWaitFor([w] { return w->isAncestorOf(QApplication::focusWidget()); }));
                auto *playerBox = w->findChild<QComboBox *>(QStringLiteral("playerBox")), *mode = w->findChild<QComboBox *>(QStringLiteral("modeBox"));
                shown << playerBox->currentText() << mode->currentText() << page(w) << QApplication::focusWidget()->objectName();
                while (shown.size() < 13 && (shown.size() == 4 || shown.last() != shown[3])) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                    shown << QApplication::focusWidget()->objectName();
                }
                shown = shown.first(3) << shown.mid(3).join(' ');
                w->setFileChooser([&](QWidget *, const QString &offered) { return suggested = offered, folder->file("parties.csv"); });
                w->findChild<QPushButton *>(QStringLiteral("exportButton"))->click();
                QVERIFY(player != "Paul" || w->findChild<QLabel *>(QStringLiteral("mostMissed"))->text().contains("É"));
                playerBox->setCurrentIndex(playerBox->count() - 1);
                shown << page(w);
                mode->setCurrentIndex(1 - mode->currentIndex());
                shown << page(w);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                escaped = w->isHidden();
                w->reject(); // so that a failure does not hang the test
            });
            QTest::keyClick(main, Qt::Key_F5);
            QCOMPARE(shown.join('|'), wanted);
            QVERIFY(escaped && main->isVisible() && ts->end.ended == 0);
            // The export: offered under the player's name, the player's games written in the file chosen.
            QCOMPARE(QFileInfo(suggested).fileName(), player.isEmpty() ? QString() : "Clavimo - " + player + ".csv");
            QCOMPARE(folder->read("parties.csv"), player.isEmpty() ? QByteArray() : HistoryCsv::build(app->history().itemLines(player)));
            QVERIFY2(player.isEmpty() || ts->boxes.last().startsWith(QStringLiteral("%1 partie%2 de %3 exportée").arg(player == "Paul" ? 3 : 2).arg("s", player)),
                     qPrintable(ts->boxes.last()));
        }
    }

    // The export as both windows run it. Rows: the file chosen (empty: cancelled), the box.
    void exportWritesWholeOrTells()
    {
        setUpGame();
        folder->write("fichier", "garde");
        for (const auto &[chosen, box] : {std::pair{"", ""}, {"fichier/x.csv", "^Le fichier «\u00A0.*/fichier/x.csv\u00A0» n'a pas pu être écrit \\(.+\\)\u00A0: "
                                                                                "rien n'est exporté. \\| Clavimo \\| Ok \\| Exclamation$"},
                                          {"x.csv", "^fait .*/x.csv \\| Clavimo \\| Ok \\| Information$"}}) {
            const qsizetype before = ts->boxes.shown.size();
            QString offered;
            exportCsv(nullptr, ts->boxes, [&, chosen = QString(chosen)](QWidget *, const QString &path) { return offered = path, chosen.isEmpty() ? chosen : folder->file(chosen); },
                      "y.csv", [] { return CsvContent{"a;b\n", [](const QString &path) { return "fait " + path; }}; });
            QCOMPARE(offered, QDir::current().filePath("y.csv"));
            QCOMPARE(ts->boxes.shown.size() - before, *box ? 1 : 0);
            QVERIFY2(!*box || QRegularExpression(box).match(ts->boxes.last()).hasMatch(), qPrintable(ts->boxes.last()));
            QCOMPARE(folder->read("fichier") + folder->read("x.csv"), QByteArray(QByteArray(box).contains("fait") ? "gardea;b\n" : "garde"));
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
        for (int row = 0; row < table->rowCount(); ++row)
            QVERIFY2(table->item(row, 0)->text().endsWith(QStringLiteral(" (entraînement)")) == (row == 1), qPrintable(QString::number(row)));
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

    // F7 opens « La classe »: those who need attention first, its columns sort, Enter on a
    // row opens that player's progression, and the export writes the table shown.
    void f7OpensTheClass()
    {
        setUpGame();
        QVERIFY(startGame());
        // Paul played yesterday; Zoé, more games, not for ten days.
        std::mt19937 random(5);
        for (int i = 0; i < 5; ++i)
            app->history().record(sampleGame(random, i < 2 ? "Paul" : "Zoé", 1, ts->wallClock.now.addDays(i < 2 ? -1 : -10)));
        QString shown, opened, exported;
        whenModal([&](QWidget *modal) {
            auto *w = qobject_cast<ClassWindow *>(modal);
            QTableView *table = w->findChild<QTableView *>();
            shown = column(table, ClassTableModel::Player) + " " + column(table, ClassTableModel::Attention);
            table->sortByColumn(ClassTableModel::Player, Qt::AscendingOrder);
            shown += " / " + column(table, ClassTableModel::Player);
            table->sortByColumn(ClassTableModel::Games, Qt::DescendingOrder);
            shown += " / " + column(table, ClassTableModel::Games);
            whenModal([&](QWidget *progression) {
                opened = progression->findChild<QComboBox *>(QStringLiteral("playerBox"))->currentText();
                progression->close();
            });
            table->setFocus();
            QTest::keyClick(table, Qt::Key_Return);
            w->setFileChooser([&](QWidget *, const QString &) { return folder->file("classe.csv"); });
            w->findChild<QPushButton *>(QStringLiteral("exportButton"))->click();
            exported = QString::fromUtf8(folder->read("classe.csv")).section(QLatin1Char('\n'), 1, 1);
            w->reject();
        });
        QTest::keyClick(main, Qt::Key_F7);
        QCOMPARE(shown, QStringLiteral("Zoé,Paul \u26A0 aucune partie depuis 7\u00A0jours, / Paul,Zoé / 3,2"));
        QCOMPARE(opened, QStringLiteral("Zoé"));
        QVERIFY2(exported.startsWith(QStringLiteral("Zoé;aucune partie depuis 7\u00A0jours;0;3;")), qPrintable(exported));
        QVERIFY(ts->boxes.texts().last().startsWith(QStringLiteral("La classe (2\u00A0joueurs, mode 1 lettre) exp")));
    }

private:
    QTemporaryDir configFolder_;
};

QTEST_MAIN(TestProgressionWindow)
#include "tst_progression_window.moc"
