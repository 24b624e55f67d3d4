// Guards the progression window's keyboard panel: it draws the layout in use with the wrong
// keys on their keys, redraws and keeps the player's choice, and with no keyboard data at
// all still shows keys to walk with the arrows and says why in French.
#include "adapters/XkbKeyboards.h"
#include "game/keyboard/KeyboardLayouts.h"
#include "support/TestDoubles.h"
#include "ui/KeyboardMapView.h"
#include "ui/KeyboardPanel.h"

#include <QComboBox>
#include <QLabel>
#include <QtTest>

class TestKeyboardPanel : public QObject
{
    Q_OBJECT

private slots:
    // Rows: the layout remembered, "-" for an empty folder of keyboard data, what the
    // panel shows (the layout, the keys with wrong keys on them, the notice), and then
    // after choosing BÉPO.
    void showsTheLayoutInUse()
    {
        const QString none = "Les dispositions de clavier du système sont introuvables\u00A0: les touches restent sans nom (le paquet xkb-data les fournit).";
        for (const QStringList &row : {QStringList{"be", "AZERTY (Belgique)|é 3/20, ! 4/5, E 2/10, O 1/1|", "BÉPO|É 3/20, O 1/1, ^ 4/5, Ê 2/10|"},
                                       QStringList{"ca-", "QWERTY (Canada français)||" + none, ""}}) {
            QTemporaryDir empty;
            XkbKeyboards keyboards(row[0].endsWith('-') ? empty.path() : QString());
            GivenKeyboardNames server;
            RememberedLayout memory;
            memory.layout = row[0].chopped(row[0].endsWith('-'));
            KeyboardLayouts layouts(keyboards, server, memory);
            KeyboardPanel panel(layouts);
            panel.setCounts({{"É", 20, 3}, {"Ê", 10, 2}, {"!", 5, 4}, {"Œ", 1, 1}});
            auto shown = [&panel] {
                QStringList missed;
                for (const KeyboardMap::KeyFigures &f : panel.map()->figures())
                    if (f.wrong > 0)
                        missed << QStringLiteral("%1 %2/%3").arg(f.label).arg(f.wrong).arg(f.expected);
                auto *notice = panel.findChild<QLabel *>(QStringLiteral("layoutNotice"));
                return panel.layoutBox()->currentText() + '|' + missed.join(", ") + '|' + (notice->isVisibleTo(&panel) ? notice->text() : "");
            };
            QCOMPARE(shown(), row[1]);
            panel.show();
            panel.map()->setFocus();
            for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right})
                QTest::keyClick(panel.map(), k);
            QVERIFY(panel.map()->currentKey() > 0 && panel.map()->figures().size() > 40);
            if (row[2].isEmpty())
                continue;
            panel.layoutBox()->setCurrentIndex(panel.layoutBox()->findData(QStringLiteral("fr(bepo)")));
            QCOMPARE(memory.kept, QStringList{QStringLiteral("fr(bepo)")});
            QCOMPARE(shown(), row[2]);
        }
    }
};

QTEST_MAIN(TestKeyboardPanel)
#include "tst_keyboard_panel.moc"
