// Guards the windows over a running program with test doubles for its services, at the
// scale the environment sets (QT_SCALE_FACTOR, QT_FONT_DPI) on a 1280×1024 screen: what
// every window gives a person (inside the screen, a name for every control), and the main
// window's wiring: what it shows and says of the game, the keys and menu commands it hands
// on, and the windows it opens (course, Progression, « La classe ») with their export.
#include "adapters/QtServices.h"
#include "app/GameApplication.h"
#include "game/progress/HistoryCsv.h"
#include "platform/SystemClock.h"
#include "support/EntryBytes.h"
#include "support/GameSamples.h"
#include "support/TestDoubles.h"
#include "ui/Announcer.h"
#include "ui/ClassTableModel.h"
#include "ui/ClassWindow.h"
#include "ui/CsvExport.h"
#include "ui/Gauge.h"
#include "ui/HandOverWindow.h"
#include "ui/KeyboardMapView.h"
#include "ui/MainWindow.h"
#include "ui/ProgressionWindow.h"
#include "ui/SplashWindow.h"
#include "ui/SpokenText.h"
#include "ui/TypingField.h"

#include <QChartView>
#include <QTest>
#include <QXYSeries>
#include <QtWidgets>

#include <functional>
#include <memory>
#include <random>

namespace {

QString nameOf(QObject *o) { return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name); }

// The visible controls under `iface` without a name that says something (a letter or a
// digit, no spaces around it), and how many controls were seen.
void findUnnamed(QAccessibleInterface *iface, const QString &path, QStringList *unnamed, int *controls)
{
    if (!iface || !iface->isValid() || iface->state().invisible)
        return;
    static const QList<QAccessible::Role> roles{
        QAccessible::Button, QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::ComboBox, QAccessible::EditableText,
        QAccessible::Graphic, QAccessible::ProgressBar, QAccessible::Animation, QAccessible::List, QAccessible::ListItem,
        QAccessible::Table, QAccessible::Cell, QAccessible::ColumnHeader, QAccessible::MenuItem, QAccessible::StaticText};
    const auto *label = qobject_cast<const QLabel *>(iface->object()); // an empty label is not shown
    const QString here = path + '/' + (iface->object() ? iface->object()->objectName() : QString::number(iface->role()));
    if (roles.contains(iface->role()) && (!label || !label->text().isEmpty() || !label->pixmap().isNull())) {
        ++*controls;
        const QString name = iface->text(QAccessible::Name);
        if (!name.contains(QRegularExpression(QStringLiteral("[\\p{L}\\p{N}]"))) || name != name.trimmed())
            *unnamed << here + " \"" + name + '"';
    }
    for (int i = 0; i < iface->childCount(); ++i)
        findUnnamed(iface->child(i), here, unnamed, controls);
}

// The records list as a table: its name, headers and cells as said.
QStringList tableSays(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w->findChild<QTableView *>());
    QAccessibleTableInterface *table = iface->role() == QAccessible::Table ? iface->tableInterface() : nullptr;
    QStringList rows{table ? iface->text(QAccessible::Name) : "no table"};
    for (int r = -1; table && r < table->rowCount(); ++r) { // the headers first
        rows << QString();
        for (int c = 0; c < table->columnCount(); ++c)
            rows.last() += (r < 0 ? table->columnDescription(c) : table->cellAt(r, c)->text(QAccessible::Name)) + '|';
    }
    return rows;
}

// Every name and rate of the map inside its key, the rates as wide as they come
// ("100,0 %"), at the size the window gives the map and at its smallest and preferred
// sizes; the rates at least 7 device pixels high.
void keyTextsFit(KeyboardMapView *map)
{
    QList<KeyboardMap::KeyFigures> figures = map->figures();
    QVERIFY(figures.size() > 40);
    for (KeyboardMap::KeyFigures &f : figures)
        f.expected = f.wrong = 1000;
    map->setFigures(figures);
    for (const QSize &size : {QSize(), map->minimumSizeHint(), map->sizeHint()}) {
        if (size.isValid())
            map->setFixedSize(size);
        QCoreApplication::processEvents();
        const KeyboardMapView::KeyFonts fonts = map->keyFonts();
        const QFontMetricsF labels(fonts.label), rates(fonts.rate);
        QVERIFY(fonts.rate.pixelSize() * map->devicePixelRatioF() >= 7);
        for (int i = 0; i < figures.size(); ++i) {
            const QRectF key = map->keyRect(i), rateRoom = KeyboardMapView::rateRoom(key);
            QVERIFY(QRectF(map->rect()).contains(key));
            QVERIFY2(labels.horizontalAdvance(figures[i].label) <= KeyboardMapView::labelRoom(key).width(),
                     qPrintable(figures[i].label));
            QVERIFY2(rates.horizontalAdvance(KeyboardMapView::rateText(1.0)) <= rateRoom.width()
                         && rates.height() <= rateRoom.height(),
                     qPrintable(QStringLiteral("%1 px on a key %2 wide").arg(fonts.rate.pixelSize()).arg(key.width())));
        }
    }
}

const QDateTime kDay(QDate(2026, 11, 2), QTime(17, 0), Qt::UTC);

QString text(QWidget *w, const char *label) { return w->findChild<QLabel *>(QLatin1String(label))->text(); }

// The chart's series with their points, or the sentence in its place; the table's rows; more games offered.
QString page(QWidget *w)
{
    if (w->findChild<QLabel *>(QStringLiteral("emptySentence"))->isVisibleTo(w))
        return text(w, "emptySentence").section(' ', 3);
    QStringList series;
    for (QAbstractSeries *s : w->findChild<QChartView *>()->chart()->series())
        series << QStringLiteral("%1 %2").arg(s->name()).arg(static_cast<QXYSeries *>(s)->count());
    return series.join(',') + QStringLiteral(", %1 rows").arg(w->findChild<QTableWidget *>()->rowCount())
           + (w->findChild<QCheckBox *>(QStringLiteral("allGames"))->isVisibleTo(w) ? ", more" : "");
}

// The column of a table as shown, top to bottom.
QString column(QTableView *table, int c)
{
    QStringList out;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        out << table->model()->index(row, c).data().toString();
    return out.join(QLatin1Char(','));
}

// Types text as real key presses, one a character, non-ASCII included.
void typeText(QWidget *target, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key(0), QString(c), Qt::NoModifier);
}

// Runs `action` on the next modal window as soon as it is open (from inside its event
// loop), for driving dialogs shown with exec(); asked from a modal window, the wait ends with it.
void whenModal(std::function<void(QWidget *)> action)
{
    QWidget *within = QApplication::activeModalWidget();
    auto *timer = new QTimer(within ? static_cast<QObject *>(within) : qApp);
    timer->start(5);
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, action] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
}

// The sentences screen readers are told to speak: the name of each notification of the
// announcements under `widget` as it appears (a screen reader speaks it then).
struct Announcements : QObject
{
    void listen(QWidget *widget)
    {
        for (QWidget *note : widget->findChild<Announcer *>()->findChildren<QWidget *>())
            note->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(watched);
        if (event->type() == QEvent::Show && iface->role() == QAccessible::Notification
            && iface->parent()->role() == QAccessible::StatusBar)
            said << iface->text(QAccessible::Name);
        return false;
    }
    QStringList said;
};

} // namespace

class TestEveryWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScratchFolder> folder;
    std::unique_ptr<TestServices> ts;
    std::unique_ptr<GameApplication> app;
    MainWindow *main = nullptr;

    // A new game application; the hand-over window waits 1 ms before it lets a key close it.
    void setUpGame()
    {
        app.reset();
        folder.reset(); // back in the first folder before a new one is entered
        folder = std::make_unique<ScratchFolder>();
        ts = std::make_unique<TestServices>();
        app = std::make_unique<GameApplication>(ts->services());
        app->setHandOverWait(1);
    }

    // Starts the program and waits for its main window to be active; false when the
    // program ended instead or the window never came.
    bool startGame()
    {
        app->start();
        if (!QTest::qWaitFor([&] { return app->mainWindow() || ts->end.ended; }, 5000) || ts->end.ended)
            return false;
        main = app->mainWindow();
        main->activateWindow();
        return QTest::qWaitForWindowActive(main);
    }

    Announcements voice;
    QStringList &announced = voice.said;

    // What a screen reader gets as the name of the control.
    QString said(const char *name) const { return nameOf(main->findChild<QWidget *>(name)); }
    // The texts of the labels named, joined with "|".
    QString labels(const char *names) const
    {
        QStringList out;
        for (const QString &name : QString::fromLatin1(names).split(QLatin1Char(' ')))
            out << main->findChild<QLabel *>(name)->text();
        return out.join(QLatin1Char('|'));
    }
    QAction *action(const char *name) const { return main->findChild<QAction *>(QLatin1String(name)); }
    void key(Qt::Key k) { QTest::keyClick(main, k); }
    // The players typed into the next player list dialog, each then Enter; a second Enter validates.
    static void namePlayers(const QStringList &names)
    {
        whenModal([names](QWidget *dialog) {
            QLineEdit *edit = dialog->findChild<QComboBox *>()->lineEdit();
            for (const QString &name : names + QStringList{QString()}) {
                edit->selectAll();
                typeText(edit, name);
                QTest::keyClick(edit, Qt::Key_Return);
            }
        });
    }
    // Started, the players named, F2 pressed: a game waits for the space bar. The
    // announcements are heard from the start.
    bool startGameOf(const QStringList &names)
    {
        if (!startGame())
            return false;
        announced.clear();
        voice.listen(main);
        namePlayers(names);
        key(Qt::Key_F2);
        return app->session().game().isRunning();
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", configFolder_.path().toLocal8Bit());
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QSize device = (QSizeF(screen->geometry().size()) * screen->devicePixelRatio()).toSize(); // 1024 / 1.5: 683
        QVERIFY2(qAbs(device.width() - 1280) <= 1 && qAbs(device.height() - 1024) <= 1, "not on tests/data/offscreen-1280x1024.json");
    }

    // Each window, with how many controls the walk must meet (so that it went deep), and
    // what it says beyond the names; each fits the screen (a box with the game's longest message).
    void windows()
    {
        for (const auto &[window, atLeast, opener] :
             {std::tuple{"main", 13, 0}, {"splash", 1, 0}, {"players", 6, Qt::Key_F4}, {"records", 7, Qt::Key_F3}, {"progression", 60, Qt::Key_F5},
              {"about", 6, 0}, {"handOver", 2, 0}, {"boxStop", 3, 0}, {"boxQuestion", 3, 0}, {"class", 8, Qt::Key_F7}, {"course", 6, Qt::Key_F8}}) {
            setUpGame();
            folder->write("clvfic1.txt", kPlaceholders + entryBytes("Anne", 250, 400) + entryBytes("C\xE9line", 180, 300)
                                             + entryBytes("Denis", 9999, 9999) + entryBytes("Paul", 9999, 9999)
                                             + "frag"); // a fragment, left out
            QVERIFY(startGame());
            std::mt19937 random(3); // Paul played a month ago, Zoé twice yesterday
            for (int i = 0; i < 3; ++i)
                app->history().record(sampleGame(random, i ? "Zoé" : "Paul", 1, i ? ts->wallClock.now.addDays(-1) : kDay));
            app->session().setPlayers({"Paul"});
            app->session().afterPlayersChosen();
            const QString w = QLatin1String(window);
            QStringList unnamed, says, misfits;
            int controls = 0;
            auto walk = [&](QWidget *widget) {
                findUnnamed(QAccessible::queryAccessibleInterface(widget), w, &unnamed, &controls);
                const QRect area = widget->screen()->availableGeometry(), frame = widget->frameGeometry();
                misfits << (widget->isVisible() && area.contains(frame) ? "" : widget->windowTitle() + " outside");
            };
            auto walkModal = [&](std::function<void(QWidget *)> inside) {
                whenModal([&, inside](QWidget *modal) {
                    QVERIFY(QTest::qWaitFor([modal] { return modal->isAncestorOf(QApplication::focusWidget()) || !modal->focusWidget(); }));
                    walk(modal);
                    inside(modal);
                    if (auto *dialog = qobject_cast<QDialog *>(modal))
                        dialog->done(0);
                });
            };
            HandOverWindow handOver(QStringLiteral("Zoé"), 100000, main);
            if (w == "main") {
                main->activate(false);
                walk(main);
                // The gauge is named and has no value, which a reader would speak at every tick.
                QVERIFY(!QAccessible::queryAccessibleInterface(main->findChild<Gauge *>())->valueInterface());
            } else if (w == "splash") {
                app->splashWindow()->show();
                walk(app->splashWindow());
            } else if (w == "handOver") {
                handOver.show();
                walk(&handOver);
            } else if (w == "records") {
                const QByteArray kept = folder->read("clvfic1.txt");
                walkModal([&](QWidget *modal) { says = tableSays(modal); });
                QTest::keyClick(main, Qt::Key(opener));
                QCOMPARE(folder->read("clvfic1.txt"), kept); // only read
            } else if (w.startsWith("box")) {
                walkModal([](QWidget *) {});
                QtMessageBoxes().show("Le fichier d'historique « historique.sqlite » est illisible et son journal « historique.sqlite-wal » "
                                      "n'a pas pu être renommé : l'historique des parties n'est pas conservé.", "Clavimo", BoxButtons::OkCancel, w == "boxStop" ? BoxIcon::Stop : BoxIcon::Question);
            } else if (w == "progression") { // laid out to its width: it may scroll down, never sideways
                walkModal([&](QWidget *modal) {
                    QCoreApplication::processEvents();
                    QCOMPARE(modal->findChild<QScrollArea *>("contentScroll")->horizontalScrollBar()->maximum(), 0);
                    for (auto *button : {modal->findChild<QPushButton *>("exportButton"), modal->findChild<QPushButton *>("closeButton")})
                        QVERIFY2(button->isVisible() && modal->screen()->availableGeometry().contains(QRect(button->mapToGlobal(QPoint(0, 0)), button->size()))
                                     && modal->rect().contains(button->geometry()), qPrintable(button->objectName()));
                    keyTextsFit(modal->findChild<KeyboardMapView *>());
                    const char *boxes[] = {"playerBox", "modeBox", "layoutBox", "modeBox"};
                    for (int i = 0; i < 4; ++i) { // as their labels say them, the other mode last
                        modal->findChild<QComboBox *>(QStringLiteral("modeBox"))->setCurrentIndex(i / 3);
                        for (QLabel *l : modal->findChildren<QLabel *>())
                            says << (l->buddy() && l->buddy()->objectName() == boxes[i] ? nameOf(l) : "");
                    }
                    says.removeAll(QString());
                });
                QTest::keyClick(main, Qt::Key(opener));
            } else if (w == "class") { // those who need attention first, its columns sort, Enter on a row
                walkModal([&](QWidget *modal) { // opens that player's progression; the export cancelled, then written
                    auto *table = modal->findChild<QTableView *>();
                    says << column(table, ClassTableModel::Player) + " " + column(table, ClassTableModel::Attention);
                    table->sortByColumn(ClassTableModel::Player, Qt::AscendingOrder);
                    says << column(table, ClassTableModel::Player);
                    table->sortByColumn(ClassTableModel::Games, Qt::DescendingOrder);
                    says << column(table, ClassTableModel::Games);
                    whenModal([&](QWidget *progression) {
                        says << progression->findChild<QComboBox *>(QStringLiteral("playerBox"))->currentText();
                        progression->close();
                    });
                    table->setFocus();
                    QTest::keyClick(table, Qt::Key_Return);
                    int asked = 0, boxes = int(ts->boxes.shown.size());
                    qobject_cast<ClassWindow *>(modal)->setFileChooser([&](QWidget *, const QString &) { return asked++ ? folder->file("classe.csv") : QString(); });
                    for (int i = 0; i < 2; ++i)
                        modal->findChild<QPushButton *>(QStringLiteral("exportButton"))->click();
                    says << QString::fromUtf8(folder->read("classe.csv")).section(QLatin1Char('\n'), 1, 1).section(';', 0, 3)
                         << QString::number(ts->boxes.shown.size() - boxes) + ts->boxes.last().section(')', 0, 0);
                });
                QTest::keyClick(main, Qt::Key(opener));
            } else if (opener) { // the other windows opened from the main window; the course's first item
                walkModal([&](QWidget *modal) { // said and timed, typed where the window puts the focus
                    auto *field = modal->findChild<TypingField *>();
                    if (!field || modal->focusWidget() != field)
                        return;
                    Announcements course;
                    course.listen(modal);
                    QTest::keyClick(field, Qt::Key_Space);
                    const QString item = field->text(), letters = QStringList(item.split(QString(), Qt::SkipEmptyParts)).join(", ");
                    QTest::keyClicks(field, item.toLower());
                    says << modal->windowTitle() << (course.said.contains("Élément 1 sur 20\u00A0: " + letters) ? "said" : course.said.join('|'))
                         << text(modal, "courseProgress").section(" – ", 0, 0) + (item.size() >= 2 ? "" : " of " + item);
                });
                QTest::keyClick(main, Qt::Key(opener));
            } else {
                walkModal([](QWidget *) {});
                main->findChild<QAction *>(QStringLiteral("aboutAction"))->trigger();
            }
            QVERIFY2(unnamed.isEmpty() && controls >= atLeast && misfits.join("").isEmpty() && !misfits.isEmpty(),
                     qPrintable(QStringLiteral("%1: %2 controls\n").arg(w).arg(controls) + (unnamed + misfits).join('\n')));
            const QHash<QString, QStringList> wanted{
                {"records", {"Liste des records", "Rang|Prénom|Mini|Moyenne|", "1|Céline|180 millisecondes|300 millisecondes|",
                             "2|Anne|250 millisecondes|400 millisecondes|", "3|Denis|pas encore de record|pas encore de record|",
                             "4|Paul|pas encore de record|pas encore de record|"}},
                {"course", {"Apprendre le clavier – Paul", "said", "Élément 1 sur 20"}},
                {"class", {"Paul,Zoé \u26A0 plus de fautes que la classe, aucune partie depuis 7\u00A0jours,", "Paul,Zoé", "2,1",
                           "Paul", "Zoé;;2;2", "1La classe (2\u00A0joueurs, mode 1 lettre"}},
                {"progression", {"Joueur\u00A0: Paul", "Mode\u00A0: 1 lettre", "Clavier\u00A0: AZERTY (France)", "Mode\u00A0: 6 lettres"}}};
            QCOMPARE(says.join('\n'), wanted.value(w).join('\n'));
        }
    }

    // What is said for the figures the windows show (the items, times, turns, key rates and the
    // end of a game are checked with the wiring or end to end). Rows: what is asked, what is said.
    void sentences()
    {
        using namespace SpokenText;
        const QString said[][2] = {
            {score("Record absolu", "Léa Moyenne :  1203"), "Record absolu Moyenne\u00A0: Léa, 1\u202F203 millisecondes"},
            {score("Record absolu", "xxxxx           Mini :     9999"), "Record absolu Mini\u00A0: pas encore de record"},
            {score("Record absolu", "Mini           Moyenne :  400"), "Record absolu Moyenne\u00A0: Mini, 400 millisecondes"},
            {score("Record personnel", "Mini    :  9999"), "Record personnel Mini\u00A0: pas encore de record"},
            {score("Partie en cours", "Moyenne"), "Partie en cours Moyenne\u00A0: pas encore de temps"},
            {score("Record personnel", "Mini"), "Record personnel Mini\u00A0: pas encore de record"},
            {score("Partie en cours", "Mini    :  1"), "Partie en cours Mini\u00A0: 1 milliseconde"},
            {SpokenText::key(" ", 1, 0), "Touche sans nom\u00A0: 1 erreur"},
        };
        for (const auto &[got, wanted] : said)
            QCOMPARE(got, wanted);
    }

    void init() { setUpGame(); }

    // What the window shows of an item, and says: each item and its time as notifications,
    // the focus unmoved, the labels as sentences while the screen keeps its figures; the
    // commands locked and the wait cursor and gauge while an item is shown; a word's
    // letters typed, dead keys included.
    void anItemInTheWindow()
    {
        folder->write(QStringLiteral("clvlet6.txt"), QByteArray("b\xEAtise"));
        QVERIFY(startGameOf({"Paul"}));
        QVERIFY(main->isMaximized() && app->splashWindow()->isHidden());
        QVERIFY(action("oneLetterAction")->isChecked() && action("soundAction")->isChecked());
        QWidget *focus = QApplication::focusWidget();
        auto *gaugeTimer = main->findChild<QTimer *>(QStringLiteral("gaugeTimer"));
        ts->random.values = {(10 + 0.5) / 26.0};
        key(Qt::Key_Space);
        QCOMPARE(labels("playerName item itemNumber"), "Paul|K|1");
        QCOMPARE(said("item") + '|' + said("itemNumber") + '|' + said("typed") + '|' + announced.join('|'), "Lettre\u00A0: K|Élément 1 sur 20||Lettre\u00A0: K");
        QVERIFY(main->findChild<QLabel *>("prompt")->isHidden() && gaugeTimer->isActive() && main->cursor().shape() == Qt::WaitCursor);
        QVERIFY(!action("newGameAction")->isEnabled() && !action("sixLettersAction")->isEnabled() && action("scoresAction")->isEnabled());
        for (Qt::Key k : {Qt::Key_F2, Qt::Key_Return, Qt::Key_Backspace}) // F2 locked; two wrong keys beep
            key(k);
        QCOMPARE(ts->beeper.count, 2);
        ts->clock.now += 400;
        typeText(main, QStringLiteral("k"));
        QCOMPARE(labels("typed itemTime gameMini gameAverage absoluteMini personalMini").remove(QRegularExpression("[^|]*(480)[^|]*")), "K|||||");
        QCOMPARE(announced.last() + '|' + said("itemTime") + '|' + said("typed"), "Temps\u00A0: 480 millisecondes|Temps\u00A0: 480 millisecondes|Tapé\u00A0: K");
        QVERIFY(said("absoluteMini").contains("Paul, 480") && said("personalAverage").contains("pas encore") && said("gameAverage").endsWith("480 millisecondes"));
        QVERIFY(main->findChild<QLabel *>("prompt")->isVisible() && !gaugeTimer->isActive() && main->cursor().shape() == Qt::ArrowCursor);
        QVERIFY(action("newGameAction")->isEnabled() && action("sixLettersAction")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), focus);
        key(Qt::Key_Space);
        QCOMPARE(said("itemNumber") + '|' + said("typed"), QStringLiteral("Élément 2 sur 20|"));
        // Six letters, a letter composed with a dead key among them.
        typeText(main, labels("item").toLower());
        action("sixLettersAction")->trigger();
        QVERIFY(action("sixLettersAction")->isChecked() && !action("oneLetterAction")->isChecked());
        key(Qt::Key_Space);
        QCOMPARE(announced.last(), QStringLiteral("Mot\u00A0: bêtise"));
        typeText(main, QStringLiteral("b"));
        QInputMethodEvent composed; // "ê" made with a dead key arrives as a commit
        composed.setCommitString(QStringLiteral("ê"));
        QApplication::sendEvent(main, &composed);
        typeText(main, QStringLiteral("tis"));
        QCOMPARE(labels("item typed"), QStringLiteral("BÊTISE|BÊTIS"));
    }

    // The sound command writes the settings; F1, Escape and Quitter each reach the game,
    // which stops at once after the goodbye; closing the window says goodbye too. With nobody
    // named F8 says who the course is for, F6 asks for the players; the practice's caption then
    // stands in the prompt's place and stays there while the items are typed.
    void menuCommandsReachTheGame()
    {
        QVERIFY(startGame());
        const QPoint place = main->findChild<QLabel *>("prompt")->pos();
        action("soundAction")->trigger();
        QVERIFY(!action("soundAction")->isChecked());
        QCOMPARE(folder->read(QStringLiteral("clavimo.ini")), QByteArray("\x00\x00", 2));
        key(Qt::Key_F1);
        QVERIFY(ts->boxes.last().endsWith(QStringLiteral("| Question")));
        ts->boxes.answers = {BoxAnswer::Cancel};
        key(Qt::Key_Escape); // asks whether to quit; Annuler stays
        QVERIFY(ts->boxes.shown.size() == 2 && ts->end.ended == 0);
        key(Qt::Key_F8); // the course asks who plays first
        QVERIFY(ts->boxes.last().startsWith(QStringLiteral("Le cours apprend le clavier à un joueur")));
        namePlayers({"Paul"});
        key(Qt::Key_F6);
        QVERIFY(app->session().hasPlayer() && app->session().isPractice());
        const QString caption = labels("prompt");
        QVERIFY2(caption.startsWith(QStringLiteral("Entraînement")), qPrintable(caption));
        key(Qt::Key_Space);
        QCOMPARE(labels("itemNumber prompt"), "1|" + caption);
        QVERIFY(main->findChild<QLabel *>("prompt")->isVisible() && main->findChild<QLabel *>("prompt")->pos() == place);
        action("quitAction")->trigger();
        QCOMPARE(ts->end.ended, 1);
        const qsizetype boxes = ts->boxes.shown.size(); // with the goodbye
        key(Qt::Key_F1); // nothing runs any more
        QCOMPARE(ts->boxes.shown.size(), boxes);
        setUpGame();
        QVERIFY(startGame());
        main->close();
        QVERIFY(ts->boxes.shown.size() == 1 && ts->end.ended == 1);
    }

    // A key pressed in an open menu is the menu's, also when the menu hands it on to the
    // menu bar; once the menu is closed the same key is the game's. Rows: the menu opened,
    // the key (a space with no item shown, then the right letter, then a wrong one). With the
    // real clock, the time shown is the interval between the showing and the last key, to
    // the millisecond (no record falls, so no file work follows the key). Then the hand-over
    // window starts the next player's game, whose turn is said once the main window is active
    // again; the other windows closing over it leave the game as it is.
    void keysAndWindowsOverTheGame()
    {
        folder->write(QStringLiteral("clvfic1.txt"), entryBytes("Anne", 1, 0) + entryBytes("Anne", 0, 1) + entryBytes("Paul", 1, 1));
        SystemClock realClock;
        const Services d = ts->services();
        app = std::make_unique<GameApplication>(Services{realClock, d.wallClock, d.random, d.beeper, d.sound, d.boxes, d.shell, d.end});
        QVERIFY(startGameOf({"Paul", "Bruno"}));
        ts->random.fallback = (10 + 0.5) / 26.0; // K, a letter no menu uses
        key(Qt::Key_Space);
        QElapsedTimer interval;
        interval.start();
        QTest::qWait(150);
        typeText(main, QStringLiteral("k"));
        const qint64 measured = interval.elapsed(), shown = labels("itemTime").toLongLong();
        QVERIFY2(shown >= 150 && qAbs(shown - measured) <= 2, qPrintable(QStringLiteral("%1 shown, %2 measured").arg(shown).arg(measured)));
        auto game = [&] { return labels("item typed itemTime") + QString::number(ts->beeper.count); };
        for (const auto &[menu, pressed] : {std::pair{1, ' '}, {2, 'k'}, {0, 'z'}}) {
            if (pressed == 'z')
                key(Qt::Key_Space);
            const QString before = game();
            QMenu *open = main->menuBar()->actions().at(menu)->menu();
            main->menuBar()->setActiveAction(open->menuAction());
            QTRY_COMPARE(QApplication::activePopupWidget(), open);
            QTest::keyClick(open, pressed);
            QCOMPARE(game(), before);
            QCOMPARE(QApplication::activePopupWidget(), open);
            QTest::keyClick(open, Qt::Key_Escape);
            QTest::keyClick(main->menuBar(), pressed);
            QVERIFY2(game() != before, &pressed);
        }
        for (int i = 0; i < 20; ++i) { // the third item shown, then 17 more
            key(Qt::Key_Space);
            typeText(main, labels("item").toLower());
            if (i == 17) { // said once the main window is active again, as the window manager makes it
                main->activateWindow();
                QTRY_VERIFY(announced.contains("Partie terminée. Au tour de Bruno\u00A0: barre espace pour continuer."));
            }
        }
        QCOMPARE(labels("playerName itemNumber"), "Bruno|2");
        int number = 3;
        for (const char *other : {"scoresAction", "aboutAction", "progressionAction"}) {
            whenModal([](QWidget *w) { QTimer::singleShot(0, w, &QWidget::close); });
            action(other)->trigger();
            key(Qt::Key_Space);
            QVERIFY2(labels("itemNumber") == QString::number(number++), other);
            typeText(main, labels("item").toLower());
        }
    }

    // Rows: the main window's player and mode (empty: nobody yet), then what the window shows:
    // player, mode, the page, the controls Tab visits from the player, the page after
    // choosing the last player, then the other mode.
    void f5OpensItOverTheMainWindow()
    {
        const QString rows[][2] = {
            {"", "|1 lettre|pour l'instant.|playerBox modeBox closeButton playerBox||||pour l'instant.|pour l'instant."},
            {"Zoé 6", "Zoé|6 lettres|pour ce joueur dans ce mode.|playerBox modeBox exportButton closeButton playerBox||||pour ce joueur "
                      "dans ce mode.|Moyenne 2,Mini 2,Partie choisie 0, 2 rows"},
            {"Paul 1", "Paul|1 lettre|Moyenne 49,Mini 49,Entraînement (moyenne) 1,Record moyenne 2,Record mini 2,Partie choisie 0, "
                       "50 rows, more|playerBox modeBox allGames chart lastGames layoutBox keyboardMap exportButton closeButton "
                       "playerBox|marked 1|Partie 55|Partie 54 (entraînement)|Partie 6|Moyenne 54,Mini 54,Entraînement (moyenne) 1|"
                       "Moyenne 2,Mini 2,Partie choisie 0, 2 rows|pour ce joueur dans ce mode."}};
        for (const auto &[named, wanted] : rows) {
            setUpGame();
            folder->write("clvfic1.txt", entryBytes("Paul", 300, 0) + entryBytes("Paul", 0, 400) + entryBytes("Paul", 300, 400));
            folder->write("fichier", "garde");
            QVERIFY(startGame());
            const QString player = named.section(' ', 0, 0);
            if (!named.isEmpty()) {
                // 55 games of Paul, the 54th a practice, in which É, every other item, is always
                // missed for an E, and two of Zoé; the players named after them, as the player
                // list dialog does.
                std::mt19937 random(3);
                for (int i = 0; i < 57; ++i) {
                    FinishedGame game = sampleGame(random, i < 55 ? "Paul" : "Zoé", 1, kDay.addSecs(600 * i));
                    game.practice = i == 53;
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
                w->setFileChooser([&](QWidget *, const QString &offered) {
                    return suggested = offered, folder->file(player == "Zoé" ? "fichier/parties.csv" : "parties.csv");
                });
                w->findChild<QPushButton *>(QStringLiteral("exportButton"))->click();
                QVERIFY(player != "Paul" || w->findChild<QLabel *>(QStringLiteral("mostMissed"))->text().contains("É"));
                // The last games with the practice marked; the arrow keys on the chart go from game to
                // game, told under it and to a screen reader; then all the games.
                auto *table = w->findChild<QTableWidget *>(QStringLiteral("lastGames"));
                for (int row = 0; row < table->rowCount(); ++row)
                    if (table->item(row, 0)->text().endsWith(QStringLiteral(" (entraînement)")))
                        shown << QStringLiteral("marked %1").arg(row);
                for (Qt::Key key : {Qt::Key_End, Qt::Key_Left, Qt::Key_Home}) {
                    QTest::keyClick(w->findChild<QChartView *>(), key);
                    shown << text(w, "gameFigures").section(',', 0, 0);
                }
                QCOMPARE(w->findChild<QChartView *>()->accessibleDescription(), text(w, "gameFigures"));
                if (auto *all = w->findChild<QCheckBox *>(QStringLiteral("allGames")); all->isVisibleTo(w)) {
                    all->click();
                    shown << page(w).section(',', 0, 2);
                }
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
            // The export: offered in the working folder under the player's name; the player's
            // games written in the file chosen, or a box when it cannot be written.
            QCOMPARE(suggested, player.isEmpty() ? QString() : QDir::current().filePath("Clavimo - " + player + ".csv"));
            QCOMPARE(folder->read("parties.csv"), player == "Paul" ? HistoryCsv::build(app->history().itemLines(player)) : QByteArray());
            const QString box = player == "Paul" ? "^55 parties de Paul exportées.* \\| Information$"
                                                 : "^Le fichier «\u00A0.*/fichier/parties.csv\u00A0» n'a pas pu être écrit \\(.+\\)\u00A0: "
                                                   "rien n'est exporté. \\| Clavimo \\| Ok \\| Exclamation$";
            QVERIFY2(player.isEmpty() || QRegularExpression(box).match(ts->boxes.last()).hasMatch(), qPrintable(ts->boxes.last()));
            QCOMPARE(folder->read("fichier"), QByteArray("garde"));
        }
    }

private:
    QTemporaryDir configFolder_;
};

QTEST_MAIN(TestEveryWindow)
#include "tst_every_window.moc"
