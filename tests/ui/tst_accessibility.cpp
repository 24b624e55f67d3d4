// Guards what screen readers get from the windows: a name on every control shown, each item, its time and the end of a game announced without moving the focus, the scores read as sentences, the records as a table, the combo boxes with their choice, and the progression map's keys as children that take the focus with the arrow keys.
#include "app/GameApplication.h"
#include "game/records/PlayerFile.h"
#include "support/GameSamples.h"
#include "support/EntryBytes.h"
#include "support/GameUnderTest.h"
#include "support/TestDoubles.h"
#include "support/WindowDriver.h"
#include "ui/Announcer.h"
#include "ui/HandOverWindow.h"
#include "ui/KeyboardMapView.h"
#include "ui/MainWindow.h"
#include "ui/ProgressionWindow.h"
#include "adapters/QtServices.h"
#include "ui/RecordsWindow.h"
#include "ui/SplashWindow.h"
#include "ui/SpokenText.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>

#include <random>

namespace {

// The roles of what a screen reader presents as a control, and must name.
bool isControl(const QAccessibleInterface *iface)
{
    switch (iface->role()) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::Graphic:
    case QAccessible::ProgressBar:
    case QAccessible::Animation:
    case QAccessible::List:
    case QAccessible::ListItem:
    case QAccessible::Table:
    case QAccessible::Cell:
    case QAccessible::ColumnHeader:
    case QAccessible::MenuItem:
        return true;
    case QAccessible::StaticText: {
        // A label is shown when it has a text or a picture; an empty one is not.
        const auto *label = qobject_cast<const QLabel *>(iface->object());
        return !label || !label->text().isEmpty() || !label->pixmap().isNull();
    }
    default:
        return false;
    }
}

// Walks the accessible tree under `iface`: the visible controls without a name, and how
// many controls were seen.
void findUnnamed(QAccessibleInterface *iface, const QString &path, QStringList *unnamed, int *controls)
{
    if (!iface || !iface->isValid() || iface->state().invisible)
        return;
    const QString here = path + QLatin1Char('/')
        + (iface->object() ? iface->object()->metaObject()->className() + QStringLiteral("#")
                                 + iface->object()->objectName()
                           : QStringLiteral("role %1").arg(int(iface->role())));
    if (isControl(iface)) {
        ++*controls;
        // A bare "?" or "..." says nothing: a name holds a letter or a digit.
        static const QRegularExpression word(QStringLiteral("[\\p{L}\\p{N}]"));
        // Spaces that place a text on the screen are no part of what is said.
        const QString name = iface->text(QAccessible::Name);
        if (!name.contains(word) || name != name.trimmed())
            *unnamed << here + QStringLiteral(" \"") + name + QLatin1Char('"');
    }
    for (int i = 0; i < iface->childCount(); ++i)
        findUnnamed(iface->child(i), here, unnamed, controls);
}

QString nameOf(QWidget *w)
{
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
}

} // namespace

class TestAccessibility : public GameUnderTest
{
    Q_OBJECT


    // The game started with Paul named, three of his games in the history: A shown 20
    // times in each, missed for a Q every fourth time.
    bool start(int mode = 1)
    {
        if (!startGame())
            return false;
        std::mt19937 random(3);
        for (int i = 0; i < 3; ++i) {
            FinishedGame game = sampleGame(random, "Paul", 1, QDateTime(QDate(2026, 11, 2 + i), QTime(17, 0), Qt::UTC));
            for (int n = 0; n < 20; ++n)
                game.items[n] = n % 4 ? PlayedItem{"A", 600, 600, {}} : PlayedItem{"A", 600, 660, {{u'A', u'Q'}}};
            app->history().record(game);
        }
        app->session().setPlayers({QStringLiteral("Paul")});
        app->session().afterPlayersChosen();
        app->session().selectMode(mode);
        return true;
    }
    QLabel *label(const char *name) const { return main->findChild<QLabel *>(QLatin1String(name)); }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", configFolder_.path().toLocal8Bit());
    }

    void init() { setUpGame(); }
    void cleanup() { tearDownGame(); }

    void everyControlHasAName_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("atLeast"); // controls the walk must meet, so that it went deep
        QTest::newRow("main window") << "main" << 13;
        QTest::newRow("splash") << "splash" << 1;
        QTest::newRow("player list") << "players" << 6;
        QTest::newRow("records list") << "records" << 7;
        QTest::newRow("progression") << "progression" << 60;
        QTest::newRow("about") << "about" << 6;
        QTest::newRow("hand-over") << "handOver" << 2;
        QTest::newRow("box with a stop icon") << "boxStop" << 3;
        QTest::newRow("box with a question") << "boxQuestion" << 3;
    }
    void everyControlHasAName()
    {
        QFETCH(QString, window);
        QFETCH(int, atLeast);
        QVERIFY(start());
        QStringList unnamed;
        int controls = 0;
        auto walk = [&](QWidget *w) {
            findUnnamed(QAccessible::queryAccessibleInterface(w), QString(), &unnamed, &controls);
        };
        auto walkModal = [&](std::function<void()> open) {
            whenModal([&](QWidget *modal) {
                walk(modal);
                if (auto *dialog = qobject_cast<QDialog *>(modal))
                    dialog->done(0);
            });
            open();
        };
        QtMessageBoxes boxes;
        if (window == "main") {
            walk(main);
        } else if (window == "splash") {
            app->splashWindow()->show();
            walk(app->splashWindow());
        } else if (window == "players") {
            walkModal([&] { main->findChild<QAction *>(QStringLiteral("changePlayersAction"))->trigger(); });
        } else if (window == "records") {
            QTest::keyClick(main, Qt::Key_F2); // Paul's line in the list
            walkModal([&] { QTest::keyClick(main, Qt::Key_F3); });
        } else if (window == "progression") {
            walkModal([&] { QTest::keyClick(main, Qt::Key_F5); });
        } else if (window == "about") {
            walkModal([&] { main->findChild<QAction *>(QStringLiteral("aboutAction"))->trigger(); });
        } else if (window == "handOver") {
            HandOverWindow handOver(QStringLiteral("Zoé"), 100000, main);
            handOver.show();
            walk(&handOver);
        } else {
            walkModal([&] {
                boxes.show(QStringLiteral("Un message."), QStringLiteral("Clavimo"), BoxButtons::OkCancel,
                           window == "boxStop" ? BoxIcon::Stop : BoxIcon::Question);
            });
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
        QVERIFY2(controls >= atLeast, qPrintable(QString::number(controls)));
    }

    void anItemIsAnnounced_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("kind");
        QTest::newRow("one letter") << 1 << "Lettre";
        QTest::newRow("six letters") << 6 << "Mot";
    }
    void anItemIsAnnounced()
    {
        QFETCH(int, mode);
        QFETCH(QString, kind);
        QVERIFY(start(mode));
        QTest::keyClick(main, Qt::Key_F2);
        QCOMPARE(nameOf(label("itemTime")), QStringLiteral("Temps\u00A0: pas encore de temps"));
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        ts->random.values = {(10 + 0.5) / 26.0};
        QTest::keyClick(main, Qt::Key_Space);
        const QString item = label("item")->text();
        const QString announced = kind + QStringLiteral("\u00A0: ") + (mode == 1 ? item : item.toLower());
        QVERIFY(mode == 6 || item == QStringLiteral("K"));
        // Said as a notification of the window's announcements, the focus unmoved.
        auto *announcer = main->findChild<Announcer *>();
        QCOMPARE(announcer->recent().last(), announced);
        QAccessibleInterface *note = QAccessible::queryAccessibleInterface(announcer)->child(0);
        QCOMPARE(QAccessible::queryAccessibleInterface(announcer)->role(), QAccessible::StatusBar);
        QCOMPARE(note->role(), QAccessible::Notification);
        QCOMPARE(note->text(QAccessible::Name), announced);
        QCOMPARE(nameOf(label("item")), announced);
        QCOMPARE(nameOf(label("itemNumber")), QStringLiteral("Élément 1 sur 20"));
        QCOMPARE(nameOf(label("typed")), QString());

        ts->clock.now += 812;
        typeText(main, item);
        QCOMPARE(announcer->recent(), (QStringList{announced, QStringLiteral("Temps\u00A0: 812 millisecondes")}));
        QCOMPARE(nameOf(label("typed")), QStringLiteral("Tapé\u00A0: ") + item);
        QCOMPARE(nameOf(label("itemTime")), QStringLiteral("Temps\u00A0: 812 millisecondes"));
        QCOMPARE(label("itemTime")->text(), QStringLiteral("812")); // the screen keeps its figure
        QCOMPARE(QApplication::focusWidget(), focus);
        QCOMPARE(nameOf(label("absoluteMini")), QStringLiteral("Record absolu Mini\u00A0: Paul, 812 millisecondes"));
        QCOMPARE(nameOf(label("personalAverage")), QStringLiteral("Record personnel Moyenne\u00A0: pas encore de record"));
        QCOMPARE(nameOf(label("gameAverage")), QStringLiteral("Partie en cours Moyenne\u00A0: 812 millisecondes"));

        QTest::keyClick(main, Qt::Key_Space);
        QCOMPARE(nameOf(label("itemNumber")), QStringLiteral("Élément 2 sur 20"));
        QCOMPARE(nameOf(label("typed")), QString());
    }

    void theEndOfAGameIsAnnounced_data()
    {
        QTest::addColumn<QStringList>("players");
        QTest::addColumn<QString>("said");
        QTest::newRow("one player") << QStringList{"Paul"} << "Partie terminée. Touche F2 pour une nouvelle partie.";
        QTest::newRow("two players") << QStringList{"Paul", "Zoé"}
                                     << "Partie terminée. Au tour de Zoé\u00A0: barre espace pour continuer.";
    }
    void theEndOfAGameIsAnnounced()
    {
        QFETCH(QStringList, players);
        QFETCH(QString, said);
        QVERIFY(start());
        app->session().setPlayers(players);
        app->session().afterPlayersChosen();
        QTest::keyClick(main, Qt::Key_F2);
        auto *announcer = main->findChild<Announcer *>();
        for (int i = 0; i < 20; ++i) {
            QTest::keyClick(main, Qt::Key_Space);
            typeText(main, label("item")->text());
        }
        // Said once the window is active again after the hand-over window, as the window
        // manager makes it.
        main->activateWindow();
        QTRY_COMPARE(announcer->recent().last(), said);
    }

    void choicesAreSaidWithTheirLabels()
    {
        QVERIFY(start());
        QStringList said;
        whenModal([&](QWidget *modal) {
            auto labelOf = [modal](const char *box) {
                for (QLabel *l : modal->findChildren<QLabel *>())
                    if (l->buddy() && l->buddy()->objectName() == QLatin1String(box))
                        return nameOf(l);
                return QString();
            };
            said << labelOf("playerBox") << labelOf("modeBox") << labelOf("layoutBox");
            modal->findChild<QComboBox *>(QStringLiteral("modeBox"))->setCurrentIndex(1);
            said << labelOf("modeBox");
            qobject_cast<QDialog *>(modal)->done(0);
        });
        QTest::keyClick(main, Qt::Key_F5);
        QCOMPARE(said, (QStringList{"Joueur\u00A0: Paul", "Mode\u00A0: 1 lettre", "Clavier\u00A0: AZERTY (France)", "Mode\u00A0: 6 lettres"}));
    }

    void theAboutLineKeepsOneName()
    {
        QVERIFY(start());
        QStringList said;
        whenModal([&](QWidget *modal) {
            auto *line = modal->findChild<QLabel *>(QStringLiteral("authorLine"));
            const QString shown = line->text();
            said << nameOf(line);
            QVERIFY(QTest::qWaitFor([&] { return line->text() != shown; }));
            said << nameOf(line);
            qobject_cast<QDialog *>(modal)->done(0);
        });
        main->findChild<QAction *>(QStringLiteral("aboutAction"))->trigger();
        QCOMPARE(said, QStringList(2, QStringLiteral("© 2026 Équipe Clavimo")));
    }

    void scoreCaptionsReadAsSentences_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("spoken");
        const QString absolute = QStringLiteral("Record absolu");
        QTest::newRow("absolute mini") << absolute << "Léa            Mini :     343"
                                       << "Record absolu Mini\u00A0: Léa, 343 millisecondes";
        QTest::newRow("absolute average, beaten") << absolute << "Léa Moyenne :  1203"
                                                  << "Record absolu Moyenne\u00A0: Léa, 1\u202F203 millisecondes";
        QTest::newRow("no record yet") << absolute << "xxxxx           Mini :     9999"
                                       << "Record absolu Mini\u00A0: pas encore de record";
        QTest::newRow("a player named Mini") << absolute << "Mini           Moyenne :  400"
                                             << "Record absolu Moyenne\u00A0: Mini, 400 millisecondes";
        QTest::newRow("personal") << "Record personnel" << "Mini    :  9999"
                                  << "Record personnel Mini\u00A0: pas encore de record";
        QTest::newRow("before the first item") << "Partie en cours" << "Moyenne"
                                               << "Partie en cours Moyenne\u00A0: pas encore de temps";
        QTest::newRow("nobody named yet") << "Record personnel" << "Mini"
                                          << "Record personnel Mini\u00A0: pas encore de record";
        QTest::newRow("one millisecond") << "Partie en cours" << "Mini    :  1"
                                         << "Partie en cours Mini\u00A0: 1 milliseconde";
    }
    void scoreCaptionsReadAsSentences()
    {
        QFETCH(QString, title);
        QFETCH(QString, caption);
        QTEST(SpokenText::score(title, caption), "spoken");
    }

    void recordsAreATable()
    {
        ScratchFolder records;
        records.write(QStringLiteral("clvfic1.txt"), kPlaceholders + entryBytes("Anne", 250, 400)
                                                         + entryBytes("Bruno", 180, 300) + entryBytes("Denis", 9999, 9999));
        PlayerFile file;
        QVERIFY(file.open(records.file(QStringLiteral("clvfic1.txt"))));
        RecordsWindow w(file, 1);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w.findChild<QTableView *>());
        QCOMPARE(iface->role(), QAccessible::Table);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Liste des records"));
        QAccessibleTableInterface *table = iface->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 3);
        QStringList headers;
        for (int c = 0; c < table->columnCount(); ++c)
            headers << table->columnDescription(c);
        QCOMPARE(headers.join(QLatin1Char('|')), QStringLiteral("Rang|Prénom|Mini|Moyenne"));
        QStringList rows;
        for (int r = 0; r < table->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columnCount(); ++c)
                cells << table->cellAt(r, c)->text(QAccessible::Name);
            rows << cells.join(QLatin1Char('|'));
        }
        QCOMPARE(rows, (QStringList{"1|Bruno|180 millisecondes|300 millisecondes",
                                    "2|Anne|250 millisecondes|400 millisecondes",
                                    "3|Denis|pas encore de record|pas encore de record"}));
        // The screen keeps the designed lines.
        QCOMPARE(w.lines().first(), QStringLiteral(" 1   Bruno           180  300"));
    }

    void theMapsKeysTakeTheFocus()
    {
        QVERIFY(start());
        QString result;
        whenModal([&](QWidget *modal) {
            auto *map = modal->findChild<KeyboardMapView *>();
            QVERIFY(QTest::qWaitFor([modal] { return modal->isAncestorOf(QApplication::focusWidget()); }));
            map->setFocus();
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(map);
            QVERIFY(iface->childCount() == map->figures().size() && iface->childCount() > 40);
            QStringList out;
            auto focused = [iface] {
                QStringList names;
                for (int i = 0; i < iface->childCount(); ++i)
                    if (iface->child(i)->state().focused)
                        names << iface->child(i)->text(QAccessible::Name);
                QAccessibleInterface *child = iface->focusChild();
                return names.join(QLatin1Char('+')) + QStringLiteral(" = ")
                    + (child ? child->text(QAccessible::Name) : QStringLiteral("none"));
            };
            out << focused();
            for (Qt::Key k : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Up}) {
                QTest::keyClick(map, k);
                out << focused();
            }
            // The key under a point is the child there, and knows its parent.
            QAccessibleInterface *second = iface->child(1);
            const QPoint centre = second->rect().center();
            out << QString::number(iface->childAt(centre.x(), centre.y()) == second
                                   && iface->indexOfChild(second) == 1 && second->parent() == iface);
            result = out.join(QLatin1Char('\n'));
            qobject_cast<QDialog *>(modal)->done(0);
        });
        QTest::keyClick(main, Qt::Key_F5);
        // From ² down to A, right to Z and E, up to the key of 3 and ".
        QCOMPARE(result, QStringLiteral("Touche ²\u00A0: jamais demandée = Touche ²\u00A0: jamais demandée\n"
                                        "Touche A\u00A0: 15 erreurs sur 60, 25,0\u00A0% = Touche A\u00A0: 15 erreurs sur 60, 25,0\u00A0%\n"
                                        "Touche Z\u00A0: jamais demandée = Touche Z\u00A0: jamais demandée\n"
                                        "Touche E\u00A0: jamais demandée = Touche E\u00A0: jamais demandée\n"
                                        "Touche \"\u00A0: jamais demandée = Touche \"\u00A0: jamais demandée\n"
                                        "1"));
    }

private:
    QTemporaryDir configFolder_;
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
