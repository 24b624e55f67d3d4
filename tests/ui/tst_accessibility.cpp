// Guards what screen readers get from the windows: a name on every control shown, the
// sentences they speak, the records as a table, the combo boxes with their choice, the
// About line with one name, and the progression map's keys as children that take the focus
// with the arrow keys. The main window's announcements are checked with its wiring, the
// map's keys with the keyboard panel.
#include "adapters/QtServices.h"
#include "game/records/PlayerFile.h"
#include "support/EntryBytes.h"
#include "support/GameSamples.h"
#include "support/GameUnderTest.h"
#include "support/WindowDriver.h"
#include "ui/Gauge.h"
#include "ui/HandOverWindow.h"
#include "ui/RecordsWindow.h"
#include "ui/SplashWindow.h"
#include "ui/SpokenText.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QRegularExpression>
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

} // namespace

class TestAccessibility : public GameUnderTest
{
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", configFolder_.path().toLocal8Bit()); }
    void cleanup() { tearDownGame(); }

    // Each window, with how many controls the walk must meet (so that it went deep), and
    // what it says beyond the names.
    void windows()
    {
        for (const auto &[window, atLeast] : {std::pair{"main", 13}, {"splash", 1}, {"players", 6}, {"records", 7}, {"progression", 60},
                                              {"about", 6}, {"handOver", 2}, {"boxStop", 3}, {"boxQuestion", 3}}) {
            setUpGame();
            folder->write("clvfic1.txt", kPlaceholders + entryBytes("Anne", 250, 400) + entryBytes("Bruno", 180, 300) + entryBytes("Denis", 9999, 9999));
            QVERIFY(startGame());
            std::mt19937 random(3);
            app->history().record(sampleGame(random, "Paul", 1, QDateTime(QDate(2026, 11, 2), QTime(17, 0), Qt::UTC)));
            app->session().setPlayers({"Paul"});
            app->session().afterPlayersChosen();
            const QString w = QLatin1String(window);
            QStringList unnamed, says;
            int controls = 0;
            auto walk = [&](QWidget *widget) { findUnnamed(QAccessible::queryAccessibleInterface(widget), w, &unnamed, &controls); };
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
                QtMessageBoxes().show("Un message.", "Clavimo", BoxButtons::OkCancel, w == "boxStop" ? BoxIcon::Stop : BoxIcon::Question);
            } else if (w == "players") {
                walkModal([](QWidget *) {});
                QTest::keyClick(main, Qt::Key_F4);
            } else if (w == "progression") {
                walkModal([&](QWidget *modal) { says = progressionSays(modal); });
                QTest::keyClick(main, Qt::Key_F5);
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

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
