// Guards the progression window's keyboard panel: it draws the layout in use with the wrong
// keys on their keys, keeps the player's choice, and with no keyboard data at all still
// shows keys to walk with the arrows and says why in French.
#include "game/keyboard/KeyboardLayouts.h"
#include "support/TestDoubles.h"
#include "ui/KeyboardMapView.h"
#include "ui/KeyboardPanel.h"
#include "adapters/XkbKeyboards.h"

#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

// The layout shown, the first keys of each row, the keys with wrong keys on them, and the
// notice when it shows.
static QString describe(const KeyboardPanel &panel)
{
    QStringList rows, missed;
    for (const QList<Key> &row : panel.keyboard().rows) {
        QStringList labels;
        for (const Key &key : row.mid(0, 4))
            labels << key.label();
        rows << labels.join(QLatin1Char(' '));
    }
    for (const KeyboardMap::KeyFigures &f : panel.map()->figures())
        if (f.wrong > 0)
            missed << QStringLiteral("%1 %2/%3").arg(f.label).arg(f.wrong).arg(f.expected);
    auto *notice = panel.findChild<QLabel *>(QStringLiteral("layoutNotice"));
    return QStringList{panel.layoutBox()->currentText(), rows.join(" | "), missed.join(", "),
                       notice->isVisibleTo(&panel) ? notice->text() : "-"}.join(QLatin1Char('\n'));
}

class TestKeyboardPanel : public QObject
{
    Q_OBJECT

private slots:
    // Ê on its own key on BÉPO, on E through the dead key on the Belgian AZERTY; "!" on the
    // key whose Shift level types it, labelled by its plain level.
    void showsTheLayoutInUse_data()
    {
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<bool>("noData"); // an empty folder of keyboard data
        QTest::addColumn<QString>("shown");
        QTest::newRow("BÉPO") << "fr(bepo)" << false << "BÉPO\n$ \" « » | B É P O | A U I E | Ê À Y X | Espace\nÉ 3/20, O 1/1, ^ 4/5, Ê 2/10\n-";
        QTest::newRow("Belgian") << "be" << false << "AZERTY (Belgique)\n² & é \" | A Z E R | Q S D F | < W X C | Espace\né 3/20, ! 4/5, E 2/10, O 1/1\n-";
        QTest::newRow("no keyboard data") << "ca" << true << "QWERTY (Canada français)\n    |     |     |     | Espace\n\n"
            "Les dispositions de clavier du système sont introuvables\u00A0: les touches restent sans nom (le paquet xkb-data les fournit).";
    }
    void showsTheLayoutInUse()
    {
        QFETCH(QString, remembered);
        QFETCH(bool, noData);
        QTemporaryDir empty;
        XkbKeyboards keyboards(noData ? empty.path() : QString());
        GivenKeyboardNames server;
        RememberedLayout memory;
        memory.layout = remembered;
        KeyboardLayouts layouts(keyboards, server, memory);
        KeyboardPanel panel(layouts);
        panel.setCounts({{"É", 20, 3}, {"Ê", 10, 2}, {"!", 5, 4}, {"Œ", 1, 1}});
        QTEST(describe(panel), "shown");
        panel.show();
        panel.map()->setFocus();
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right})
            QTest::keyClick(panel.map(), k);
        QVERIFY(panel.map()->currentKey() > 0);
    }

    // Choosing a layout redraws the keys and keeps the choice.
    void choiceIsKept()
    {
        XkbKeyboards keyboards;
        GivenKeyboardNames server;
        RememberedLayout memory;
        KeyboardLayouts layouts(keyboards, server, memory);
        KeyboardPanel panel(layouts);
        panel.setCounts({{"Ê", 10, 2}});
        panel.layoutBox()->setCurrentIndex(panel.layoutBox()->findData(QStringLiteral("fr(bepo)")));
        QCOMPARE(memory.kept, QStringList{QStringLiteral("fr(bepo)")});
        QCOMPARE(describe(panel).section(QLatin1Char('\n'), 2, 2), QStringLiteral("Ê 2/10"));
    }
};

QTEST_MAIN(TestKeyboardPanel)
#include "tst_keyboard_panel.moc"
