// Guards the progression window's keyboard panel: it draws the layout in use with the wrong
// keys on their keys, redraws and keeps the player's choice, and with no keyboard data at
// all still shows keys to walk with the arrows and says why in French; the key chosen with
// the arrow keys is told under the map and, as the focused child, to a screen reader; the
// key under the mouse tells its figures.
#include "adapters/XkbKeyboards.h"
#include "game/keyboard/KeyboardLayouts.h"
#include "support/TestDoubles.h"
#include "ui/KeyboardMapView.h"
#include "ui/KeyboardPanel.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QToolTip>
#include <QtTest>

class TestKeyboardPanel : public QObject
{
    Q_OBJECT

private slots:
    // Rows: the layout remembered, "-" for an empty folder of keyboard data, what the
    // panel shows (the layout, the keys with wrong keys on them, the notice), then after
    // choosing BÉPO; then the keys visited from ² with Down, Right, Right, Up.
    void showsTheLayoutInUse()
    {
        const QString none = "Les dispositions de clavier du système sont introuvables\u00A0: les touches restent sans nom (le paquet xkb-data les fournit).";
        for (const QStringList &row : {QStringList{"be", "AZERTY (Belgique)|é 3/20, ! 4/5, E 2/10, O 1/1|", "BÉPO|É 3/20, O 1/1, ^ 4/5, Ê 2/10|", "² A Z E \""},
                                       QStringList{"ca-", "QWERTY (Canada français)||" + none, "", "    "}}) {
            QTemporaryDir empty;
            XkbKeyboards keyboards(row[0].endsWith('-') ? empty.path() : QString());
            GivenKeyboardNames server;
            RememberedLayout memory;
            memory.layout = row[0].chopped(row[0].endsWith('-'));
            KeyboardLayouts layouts(keyboards, server, memory);
            KeyboardPanel panel(layouts);
            panel.setCounts({{"É", 20, 3}, {"Ê", 10, 2}, {"!", 5, 4}, {"Œ", 1, 1}});
            KeyboardMapView *map = panel.map();
            auto shown = [&] {
                QStringList missed;
                for (const KeyboardMap::KeyFigures &f : map->figures())
                    if (f.wrong > 0)
                        missed << QStringLiteral("%1 %2/%3").arg(f.label).arg(f.wrong).arg(f.expected);
                auto *notice = panel.findChild<QLabel *>(QStringLiteral("layoutNotice"));
                return panel.layoutBox()->currentText() + '|' + missed.join(", ") + '|' + (notice->isVisibleTo(&panel) ? notice->text() : "");
            };
            QCOMPARE(shown(), row[1]);
            QVERIFY(panel.findChild<QLabel *>(QStringLiteral("mostMissed"))->text().contains(QStringLiteral("!\u00A0: 4 fautes sur 5")));
            // Each key visited: its name under the map, and as the only focused child, the map's focus child.
            panel.show();
            panel.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&panel));
            map->setFocus();
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(map);
            QVERIFY(iface->childCount() == map->figures().size() && iface->childCount() > 40);
            QStringList visited, said;
            for (Qt::Key k : {Qt::Key_unknown, Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Up}) {
                if (k != Qt::Key_unknown)
                    QTest::keyClick(map, k);
                const QString told = panel.findChild<QLabel *>(QStringLiteral("keyFigures"))->text();
                QStringList focused;
                for (int i = 0; i < iface->childCount(); ++i)
                    if (iface->child(i)->state().focused)
                        focused << iface->child(i)->text(QAccessible::Name);
                QVERIFY(iface->focusChild() && focused == QStringList{iface->focusChild()->text(QAccessible::Name)});
                QVERIFY2(focused[0].startsWith("Touche " + told.section(u'\u00A0', 0, 0)) || told.isEmpty(), qPrintable(focused[0] + " / " + told));
                visited << told.section(u'\u00A0', 0, 0);
                said << focused[0];
            }
            QVERIFY(map->currentKey() > 0 && visited.join(" ") == row[3]);
            QAccessibleInterface *second = iface->child(1);
            const QPoint centre = second->rect().center();
            QVERIFY(iface->childAt(centre.x(), centre.y()) == second && iface->indexOfChild(second) == 1 && second->parent() == iface);
            if (row[2].isEmpty())
                continue;
            QCOMPARE(said[3], "Touche E\u00A0: 2 erreurs sur 10, 20,0\u00A0%");
            // The key under the mouse.
            for (int i = 0; i < map->figures().size(); ++i)
                if (map->figures()[i].label == QStringLiteral("é")) {
                    const QPoint onKey = map->keyRect(i).center().toPoint();
                    QHelpEvent hover(QEvent::ToolTip, onKey, map->mapToGlobal(onKey));
                    QApplication::sendEvent(map, &hover);
                }
            QVERIFY2(QToolTip::text().startsWith(QStringLiteral("é\u00A0: 3 fautes sur 20")), qPrintable(QToolTip::text()));
            panel.layoutBox()->setCurrentIndex(panel.layoutBox()->findData(QStringLiteral("fr(bepo)")));
            QCOMPARE(memory.kept, QStringList{QStringLiteral("fr(bepo)")});
            QCOMPARE(shown(), row[2]);
        }
    }
};

QTEST_MAIN(TestKeyboardPanel)
#include "tst_keyboard_panel.moc"
