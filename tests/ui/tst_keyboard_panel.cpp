// Guards the progression window's keyboard panel: it starts on the layout the X server
// names (given by a test double) or the one remembered, draws that layout's keys with the
// wrong keys on them, keeps the player's choice, and with no keyboard data at all still
// shows its keys, says why in French, and lets the arrow keys walk them.
#include "game/KeyboardLayouts.h"
#include "support/TestDoubles.h"
#include "ui/KeyboardMapView.h"
#include "ui/KeyboardPanel.h"
#include "ui/XkbKeyboards.h"

#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The first keys' labels of each row, and the keys with wrong keys on them with their
// figures, in row order: Ê counts on E where a dead key makes it, on its own key on BÉPO;
// "!" on the key whose Shift level types it, labelled by its plain level.
QString describe(const KeyboardPanel &panel)
{
    QStringList out{panel.layoutBox()->currentText()};
    QStringList starts;
    for (const QList<Key> &row : panel.keyboard().rows) {
        QStringList labels;
        for (const Key &key : row.mid(0, 4))
            labels << key.label();
        starts << labels.join(QLatin1Char(' '));
    }
    out << starts.join(QStringLiteral(" | "));
    QStringList missed;
    for (const KeyboardMap::KeyFigures &f : panel.map()->figures()) {
        if (f.wrong > 0)
            missed << QStringLiteral("%1 %2/%3").arg(f.label).arg(f.wrong).arg(f.expected);
    }
    out << missed.join(QStringLiteral(", "));
    auto *notice = panel.findChild<QLabel *>(QStringLiteral("layoutNotice"));
    out << (notice->isVisibleTo(&panel) ? notice->text() : QStringLiteral("-"));
    return out.join(QLatin1Char('\n'));
}

} // namespace

class TestKeyboardPanel : public QObject
{
    Q_OBJECT

private slots:
    void showsTheLayoutInUse_data()
    {
        QTest::addColumn<QByteArray>("names");    // the X server's _XKB_RULES_NAMES; empty: none
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<bool>("noData");         // an empty folder of keyboard data
        QTest::addColumn<QString>("shown");
        const QByteArray n("\0", 1);
        QTest::newRow("X server: Belgian")
            << QByteArray("evdev" + n + "pc105" + n + "be" + n + n + n) << "ca" << false
            << "AZERTY (Belgique)\n² & é \" | A Z E R | Q S D F | < W X C | Espace\né 3/20, ! 4/5, E 2/10, O 1/1\n-";
        QTest::newRow("X server: Swiss French")
            << QByteArray("evdev" + n + "pc105" + n + "ch" + n + "fr" + n + n) << "" << false
            << "QWERTZ (Suisse romande)\n§ 1 2 3 | Q W E R | A S D F | < Y X C | Espace\nE 2/10, O 1/1, ¨ 4/5, é 3/20\n-";
        QTest::newRow("no X server: remembered BÉPO") << QByteArray() << "fr(bepo)" << false
                                                      << "BÉPO\n$ \" « » | B É P O | A U I E | Ê À Y X | Espace\n"
                                                         "É 3/20, O 1/1, ^ 4/5, Ê 2/10\n-";
        QTest::newRow("no keyboard data")
            << QByteArray() << "ca" << true
            << "QWERTY (Canada français)\n    |     |     |     | Espace\n\nLes dispositions de clavier du système "
               "sont introuvables\u00A0: les touches restent sans nom (le paquet xkb-data les fournit).";
    }
    void showsTheLayoutInUse()
    {
        QFETCH(QByteArray, names);
        QFETCH(QString, remembered);
        QFETCH(bool, noData);
        QTemporaryDir empty;
        XkbKeyboards keyboards(noData ? empty.path() : QString());
        GivenKeyboardNames server;
        server.names = names;
        RememberedLayout memory;
        memory.layout = remembered;
        KeyboardLayouts layouts(keyboards, server, memory);
        KeyboardPanel panel(layouts);
        panel.setCounts({{"É", 20, 3}, {"Ê", 10, 2}, {"!", 5, 4}, {"Œ", 1, 1}});
        QTEST(describe(panel), "shown");
        QVERIFY(memory.kept.isEmpty());

        // The arrow keys walk the keys, whatever is on them.
        panel.show();
        panel.map()->setFocus();
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Up})
            QTest::keyClick(panel.map(), k);
        QVERIFY(panel.map()->currentKey() > 0);
    }

    // Choosing a layout redraws the keys and keeps the choice; a layout the data lacks
    // shows the French AZERTY and says so.
    void choiceIsKept()
    {
        XkbKeyboards keyboards;
        GivenKeyboardNames server;
        RememberedLayout memory;
        KeyboardLayouts layouts(keyboards, server, memory);
        KeyboardPanel panel(layouts);
        panel.setCounts({{"Ê", 10, 2}});
        QCOMPARE(panel.layoutBox()->currentText(), QStringLiteral("AZERTY (France)"));
        panel.layoutBox()->setCurrentIndex(panel.layoutBox()->findData(QStringLiteral("fr(bepo)")));
        QCOMPARE(memory.kept, QStringList{QStringLiteral("fr(bepo)")});
        QCOMPARE(panel.keyboard().layout, QStringLiteral("fr(bepo)"));
        QCOMPARE(panel.map()->figures().at(13 + 12 + 12).label, QStringLiteral("Ê"));
        QCOMPARE(panel.map()->figures().at(13 + 12 + 12).wrong, 2);
    }
};

QTEST_MAIN(TestKeyboardPanel)
#include "tst_keyboard_panel.moc"
