// Guards what every window gives a person: all of it, its frame included, inside the
// available area of a 1280×1024 screen at the scale the environment sets (QT_SCALE_FACTOR,
// QT_FONT_DPI), the progression window's buttons in sight and every key's name and rate
// inside its key; for a screen reader, a name on every control shown, the sentences it
// speaks, the records as a table, the combo boxes with their choice, the About line with
// one name. The main window's announcements are checked with its wiring, the map's keys
// with the keyboard panel.
#include "adapters/QtServices.h"
#include "game/records/PlayerFile.h"
#include "support/EntryBytes.h"
#include "support/GameSamples.h"
#include "support/GameUnderTest.h"
#include "ui/Gauge.h"
#include "ui/HandOverWindow.h"
#include "ui/KeyboardMapView.h"
#include "ui/ProgressionWindow.h"
#include "ui/RecordsWindow.h"
#include "ui/SplashWindow.h"
#include "ui/SpokenText.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>

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

// The progression window's combo boxes as their labels say them, after choosing the other mode.
QStringList progressionSays(QWidget *modal)
{
    QStringList out;
    for (const char *box : {"playerBox", "modeBox", "layoutBox", "modeBox"}) {
        if (out.size() == 3)
            modal->findChild<QComboBox *>(QStringLiteral("modeBox"))->setCurrentIndex(1);
        for (QLabel *l : modal->findChildren<QLabel *>())
            if (l->buddy() && l->buddy()->objectName() == QLatin1String(box))
                out << nameOf(l);
    }
    return out;
}

// The records list as a table: its name, headers and cells as said.
QStringList tableSays(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w->findChild<QTableView *>());
    QAccessibleTableInterface *table = iface->tableInterface();
    if (iface->role() != QAccessible::Table || !table)
        return {"no table"};
    QStringList rows{iface->text(QAccessible::Name), QString()};
    for (int c = 0; c < table->columnCount(); ++c)
        rows[1] += table->columnDescription(c) + '|';
    for (int r = 0; r < table->rowCount(); ++r) {
        rows << QString();
        for (int c = 0; c < table->columnCount(); ++c)
            rows.last() += table->cellAt(r, c)->text(QAccessible::Name) + '|';
    }
    return rows;
}

// The window, frame included, inside the screen's available area; else why not.
QString misfit(const QWidget *w)
{
    const QRect area = w->screen()->availableGeometry(), frame = w->frameGeometry();
    if (w->isVisible() && area.contains(frame))
        return QString();
    return QStringLiteral("%1: frame %2x%3 at %4,%5, available %6x%7")
        .arg(w->windowTitle()).arg(frame.width()).arg(frame.height()).arg(frame.x()).arg(frame.y()).arg(area.width()).arg(area.height());
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

} // namespace

class TestEveryWindow : public GameUnderTest
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", configFolder_.path().toLocal8Bit());
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QSize device = (QSizeF(screen->geometry().size()) * screen->devicePixelRatio()).toSize();
        if (std::abs(device.width() - 1280) > 1 || std::abs(device.height() - 1024) > 1) // 1024 / 1.5 rounds to 683
            QFAIL("the screen is not 1280x1024 device pixels: run with QT_QPA_PLATFORM=offscreen:configfile=tests/data/offscreen-1280x1024.json");
    }

    // Each window, with how many controls the walk must meet (so that it went deep), and
    // what it says beyond the names; each fits the screen (a box with the game's longest message).
    void windows()
    {
        for (const auto &[window, atLeast] : {std::pair{"main", 13}, {"splash", 1}, {"players", 6}, {"records", 7}, {"progression", 60},
                                              {"about", 6}, {"handOver", 2}, {"boxStop", 3}, {"boxQuestion", 3}, {"class", 8}, {"course", 6}}) {
            setUpGame();
            folder->write("clvfic1.txt", kPlaceholders + entryBytes("Anne", 250, 400) + entryBytes("Bruno", 180, 300) + entryBytes("Denis", 9999, 9999));
            QVERIFY(startGame());
            std::mt19937 random(3);
            app->history().record(sampleGame(random, "Paul", 1, QDateTime(QDate(2026, 11, 2), QTime(17, 0), Qt::UTC)));
            app->session().setPlayers({"Paul"});
            app->session().afterPlayersChosen();
            const QString w = QLatin1String(window);
            QStringList unnamed, says, misfits;
            int controls = 0;
            auto walk = [&](QWidget *widget) {
                findUnnamed(QAccessible::queryAccessibleInterface(widget), w, &unnamed, &controls);
                misfits << misfit(widget);
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
            PlayerFile file;
            QVERIFY(file.open(folder->file("clvfic1.txt")));
            RecordsWindow records(file, 1);
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
                records.show();
                QVERIFY(QTest::qWaitForWindowExposed(&records));
                walk(&records);
                says = tableSays(&records);
            } else if (w.startsWith("box")) {
                walkModal([](QWidget *) {});
                QtMessageBoxes().show("Le fichier d'historique « historique.sqlite » est illisible et son journal « historique.sqlite-wal » "
                                      "n'a pas pu être renommé : l'historique des parties n'est pas conservé.", "Clavimo", BoxButtons::OkCancel, w == "boxStop" ? BoxIcon::Stop : BoxIcon::Question);
            } else if (w == "players") {
                walkModal([](QWidget *) {});
                QTest::keyClick(main, Qt::Key_F4);
            } else if (w == "progression") { // laid out to its width: it may scroll down, never sideways
                walkModal([&](QWidget *modal) {
                    QCoreApplication::processEvents();
                    QCOMPARE(modal->findChild<QScrollArea *>("contentScroll")->horizontalScrollBar()->maximum(), 0);
                    for (auto *button : {modal->findChild<QPushButton *>("exportButton"), modal->findChild<QPushButton *>("closeButton")})
                        QVERIFY2(button->isVisible() && modal->screen()->availableGeometry().contains(QRect(button->mapToGlobal(QPoint(0, 0)), button->size()))
                                     && modal->rect().contains(button->geometry()), qPrintable(button->objectName()));
                    keyTextsFit(modal->findChild<KeyboardMapView *>());
                    says = progressionSays(modal);
                });
                QTest::keyClick(main, Qt::Key_F5);
            } else if (w == "class") {
                walkModal([](QWidget *) {});
                QTest::keyClick(main, Qt::Key_F7);
            } else if (w == "course") {
                walkModal([](QWidget *) {});
                QTest::keyClick(main, Qt::Key_F8);
            } else {
                walkModal([&](QWidget *modal) { // the scrolling line keeps one name
                    auto *line = modal->findChild<QLabel *>(QStringLiteral("authorLine"));
                    const QString shown = line->text();
                    says << nameOf(line);
                    QVERIFY(QTest::qWaitFor([&] { return line->text() != shown; }));
                    says << nameOf(line);
                });
                main->findChild<QAction *>(QStringLiteral("aboutAction"))->trigger();
            }
            QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join('\n')));
            QVERIFY2(misfits.join("").isEmpty() && !misfits.isEmpty(), qPrintable(w + ": " + misfits.join('\n')));
            QVERIFY2(controls >= atLeast, qPrintable(w + ": " + QString::number(controls)));
            QStringList wanted;
            if (w == "records")
                wanted = QStringList{"Liste des records", "Rang|Prénom|Mini|Moyenne|", "1|Bruno|180 millisecondes|300 millisecondes|",
                                     "2|Anne|250 millisecondes|400 millisecondes|", "3|Denis|pas encore de record|pas encore de record|", "4|Paul|pas encore de record|pas encore de record|"};
            if (w == "about")
                wanted = QStringList(2, QStringLiteral("© 2026 Équipe Clavimo"));
            if (w == "progression")
                wanted = QStringList{"Joueur\u00A0: Paul", "Mode\u00A0: 1 lettre", "Clavier\u00A0: AZERTY (France)", "Mode\u00A0: 6 lettres"};
            QCOMPARE(says.join('\n'), wanted.join('\n'));
        }
    }

    // What is said for the figures the windows show. Rows: what is asked, what is said.
    void sentences()
    {
        using namespace SpokenText;
        const QString said[][2] = {
            {score("Record absolu", "Léa            Mini :     343"), "Record absolu Mini\u00A0: Léa, 343 millisecondes"},
            {score("Record absolu", "Léa Moyenne :  1203"), "Record absolu Moyenne\u00A0: Léa, 1\u202F203 millisecondes"},
            {score("Record absolu", "xxxxx           Mini :     9999"), "Record absolu Mini\u00A0: pas encore de record"},
            {score("Record absolu", "Mini           Moyenne :  400"), "Record absolu Moyenne\u00A0: Mini, 400 millisecondes"},
            {score("Record personnel", "Mini    :  9999"), "Record personnel Mini\u00A0: pas encore de record"},
            {score("Partie en cours", "Moyenne"), "Partie en cours Moyenne\u00A0: pas encore de temps"},
            {score("Record personnel", "Mini"), "Record personnel Mini\u00A0: pas encore de record"},
            {score("Partie en cours", "Mini    :  1"), "Partie en cours Mini\u00A0: 1 milliseconde"},
            {gameOver(""), "Partie terminée. Touche F2 pour une nouvelle partie."},
            {gameOver("Zoé"), "Partie terminée. Au tour de Zoé\u00A0: barre espace pour continuer."},
            {item("MAISON", 6) + '|' + item("É", 1), "Mot\u00A0: maison|Lettre\u00A0: É"},
            {itemTime(1812) + '|' + itemNumber(20, 20), "Temps\u00A0: 1\u202F812 millisecondes|Élément 20 sur 20"},
            {key(" ", 1, 0) + '|' + key("K", 12, 40), "Touche sans nom\u00A0: 1 erreur|Touche K\u00A0: 12 erreurs sur 40, 30,0\u00A0%"},
        };
        for (const auto &[got, wanted] : said)
            QCOMPARE(got, wanted);
    }

private:
    QTemporaryDir configFolder_;
};

QTEST_MAIN(TestEveryWindow)
#include "tst_every_window.moc"
