// Guards which key counts a character on a keyboard (its lower case, the lowest level, a
// dead key's letter), the figures per key, which layout the map starts on (the X server's
// names, then the last choice, then "fr"), the choice kept, and the fallback to "fr".
#include "game/KeyboardLayouts.h"
#include "game/KeyboardMap.h"
#include "game/KeyboardSource.h"
#include "support/TestDoubles.h"

#include <QtTest>

namespace {

KeySymbol typed(const QString &text)
{
    return {text, QChar()};
}

// A small keyboard: a letter key "e E € É", a dead circumflex key (Shift: dead
// diaeresis), a key typing "é" and "2", a key typing "2" only at AltGr, the space bar.
Keyboard smallKeyboard()
{
    Keyboard k;
    k.layout = QStringLiteral("test");
    k.rows = {{{"AE01", {typed("é"), typed("2")}}, {"AE02", {typed("&"), typed("1"), typed("2")}}},
              {{"AD03", {typed("e"), typed("E"), typed("€"), typed("É")}},
               {"AD11", {KeySymbol{"^", QChar(0x0302)}, KeySymbol{"¨", QChar(0x0308)}}}},
              {{"SPCE", {typed(" ")}, 6}}};
    return k;
}

// Keyboards by name, as the system's data would give them: "fr" and "be" only, unless
// told that nothing can be made.
struct ListedKeyboards : KeyboardSource
{
    std::optional<Keyboard> keyboard(const QString &layout) override
    {
        asked << layout;
        if (!anything || (layout != QLatin1String("fr") && layout != QLatin1String("be")))
            return std::nullopt;
        Keyboard k = smallKeyboard();
        k.layout = layout;
        return k;
    }
    bool anything = true;
    QStringList asked;
};

} // namespace

class TestKeyboardLayouts : public QObject
{
    Q_OBJECT

private slots:
    void place_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<QString>("place"); // row,column,level then the dead key's, or none
        QTest::newRow("upper case typed in lower case") << "E" << "1,0,0";
        QTest::newRow("lowest level wins over a later key") << "2" << "0,0,1";
        QTest::newRow("accented capital on its lower case key") << "É" << "0,0,0";
        QTest::newRow("AltGr") << "€" << "1,0,2";
        QTest::newRow("dead circumflex") << "Ê" << "1,0,0 1,1,0";
        QTest::newRow("dead diaeresis at Shift") << "Ë" << "1,0,0 1,1,1";
        QTest::newRow("dead key but no plain letter") << "Î" << "none";
        QTest::newRow("no key") << "Œ" << "none";
        QTest::newRow("space") << " " << "2,0,0";
    }
    void place()
    {
        QFETCH(QString, character);
        const KeyPlace p = smallKeyboard().place(character.at(0));
        QString text = p.isValid() ? QStringLiteral("%1,%2,%3").arg(p.row).arg(p.column).arg(p.level) : "none";
        if (p.needsDeadKey())
            text += QStringLiteral(" %1,%2,%3").arg(p.deadRow).arg(p.deadColumn).arg(p.deadLevel);
        QTEST(text, "place");
    }

    // Every key in row order; characters on no key (Œ, an empty text, two characters)
    // counted on none; a dead key's letter on its plain letter.
    void keyRatesAddTheirCharacters()
    {
        const QList<KeyboardMap::KeyFigures> keys = KeyboardMap::keyFigures(
            smallKeyboard(),
            {{"E", 100, 5}, {"Ê", 10, 1}, {"É", 50, 5}, {"Œ", 3, 3}, {"", 0, 2}, {"EE", 1, 1}, {"2", 4, 0}});
        QStringList shown;
        for (const KeyboardMap::KeyFigures &k : keys)
            shown << QStringLiteral("%1 %2/%3").arg(k.label).arg(k.wrong).arg(k.expected);
        QCOMPARE(shown.join(QStringLiteral(", ")), QStringLiteral("é 5/54, & 0/0, E 6/110, ^ 0/0, Espace 0/0"));
        QCOMPARE(keys[0].rate(), 5.0 / 54.0);
        QVERIFY(keys[1].rate() < 0); // never due
    }

    // The X server's `_XKB_RULES_NAMES` as the test double gives them, and the layout
    // remembered from an earlier run.
    void startLayout_data()
    {
        QTest::addColumn<QByteArray>("names");
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<QString>("start");
        const QByteArray n("\0", 1);
        auto names = [&](const char *layout, const char *variant) {
            return QByteArray("evdev") + n + "pc105" + n + layout + n + variant + n + "grp:alt_shift_toggle" + n;
        };
        QTest::newRow("French") << names("fr", "") << "" << "fr";
        QTest::newRow("French over a remembered choice") << names("fr", "") << "be" << "fr";
        QTest::newRow("French without dead keys") << names("fr", "nodeadkeys") << "" << "fr";
        QTest::newRow("BÉPO") << names("fr", "bepo") << "" << "fr(bepo)";
        QTest::newRow("BÉPO, AFNOR version") << names("fr", "bepo_afnor") << "" << "fr(bepo)";
        QTest::newRow("AZERTY AFNOR") << names("fr", "afnor") << "" << "fr(afnor)";
        QTest::newRow("Belgian") << names("be", "") << "" << "be";
        QTest::newRow("Swiss French") << names("ch", "fr") << "" << "ch(fr)";
        QTest::newRow("Canadian French") << names("ca", "") << "" << "ca";
        QTest::newRow("first of two layouts") << names("be,us", ",") << "" << "be";
        QTest::newRow("Swiss German: the last choice") << names("ch", "") << "ch(fr)" << "ch(fr)";
        QTest::newRow("US: fr") << names("us", "") << "" << "fr";
        QTest::newRow("French dvorak: the last choice") << names("fr", "dvorak") << "ca" << "ca";
        QTest::newRow("no X server: the last choice") << QByteArray() << "fr(bepo)" << "fr(bepo)";
        QTest::newRow("no X server, nothing remembered") << QByteArray() << "" << "fr";
        QTest::newRow("remembered layout not offered") << QByteArray() << "de" << "fr";
        QTest::newRow("cut short") << QByteArray("evdev\0pc105\0be", 14) << "" << "fr";
    }
    void startLayout()
    {
        QFETCH(QByteArray, names);
        QFETCH(QString, remembered);
        ListedKeyboards source;
        GivenKeyboardNames server;
        server.names = names;
        RememberedLayout memory;
        memory.layout = remembered;
        KeyboardLayouts layouts(source, server, memory);
        QTEST(layouts.startLayout(), "start");
        QVERIFY(memory.kept.isEmpty());
    }

    void choiceIsKeptOnlyWhenItChanges()
    {
        ListedKeyboards source;
        GivenKeyboardNames server;
        RememberedLayout memory;
        memory.layout = QStringLiteral("be");
        KeyboardLayouts layouts(source, server, memory);
        layouts.choose(QStringLiteral("be"));
        layouts.choose(QStringLiteral("fr(bepo)"));
        QCOMPARE(memory.kept, QStringList{QStringLiteral("fr(bepo)")});
        QCOMPARE(layouts.startLayout(), QStringLiteral("fr(bepo)"));
    }

    void fallback_data()
    {
        QTest::addColumn<bool>("anything");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("made");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("made") << true << "be" << "be" << QStringList{"be"};
        QTest::newRow("missing: fr") << true << "ch(fr)" << "fr" << QStringList{"ch(fr)", "fr"};
        QTest::newRow("nothing: blank keys") << false << "ca" << "" << QStringList{"ca", "fr"};
        QTest::newRow("not even fr") << false << "fr" << "" << QStringList{"fr"};
    }
    void fallback()
    {
        QFETCH(bool, anything);
        QFETCH(QString, layout);
        ListedKeyboards source;
        source.anything = anything;
        GivenKeyboardNames server;
        RememberedLayout memory;
        KeyboardLayouts layouts(source, server, memory);
        const Keyboard keyboard = layouts.keyboard(layout);
        QTEST(keyboard.layout, "made");
        QTEST(source.asked, "asked");
        if (keyboard.layout.isEmpty()) {
            QCOMPARE(keyboard.keyCount(), 49);
            QVERIFY(!keyboard.place(u'E').isValid());
        }
    }
};

QTEST_MAIN(TestKeyboardLayouts)
#include "tst_keyboard_layouts.moc"
