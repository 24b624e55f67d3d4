// Guards which key counts a character on a keyboard (its lower case, the lowest level, a
// dead key's letter), the figures per key, which layout the map starts on (the X server's
// names, then the last choice, then "fr"), the choice kept, and the fallback to "fr".
#include "game/keyboard/KeyboardLayouts.h"
#include "game/keyboard/KeyboardMap.h"
#include "game/keyboard/KeyboardSource.h"
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
    // "character > row,column,level" then the dead key's, or none.
    void place_data()
    {
        QTest::addColumn<QString>("row");
        for (const char *row : {"E > 1,0,0", "2 > 0,0,1", "É > 0,0,0", "€ > 1,0,2", "Ê > 1,0,0 1,1,0",
                                "Ë > 1,0,0 1,1,1", "Î > none", "Œ > none", "  > 2,0,0"})
            QTest::newRow(row) << QString::fromUtf8(row);
    }
    void place()
    {
        QFETCH(QString, row);
        const KeyPlace p = smallKeyboard().place(row.at(0));
        QString text = p.isValid() ? QStringLiteral("%1,%2,%3").arg(p.row).arg(p.column).arg(p.level) : "none";
        if (p.needsDeadKey())
            text += QStringLiteral(" %1,%2,%3").arg(p.deadRow).arg(p.deadColumn).arg(p.deadLevel);
        QCOMPARE(text, row.mid(4));
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

    // "layout variant remembered > start layout": the X server's `_XKB_RULES_NAMES` as
    // the test double gives them (- for none: no X server), then the layout remembered.
    void startLayout()
    {
        const QStringList rows = {"fr - - > fr", "fr - be > fr", "fr nodeadkeys - > fr", "fr bepo - > fr(bepo)",
                                  "fr bepo_afnor - > fr(bepo)", "fr afnor - > fr(afnor)", "be - - > be", "ch fr - > ch(fr)",
                                  "ca - - > ca", "be,us , - > be", "ch - ch(fr) > ch(fr)", "us - - > fr",
                                  "fr dvorak ca > ca", "- - fr(bepo) > fr(bepo)", "- - - > fr", "- - de > fr"};
        const QByteArray n("\0", 1);
        for (const QString &row : rows) {
            const QStringList f = QString(row).replace(QLatin1Char('-'), QString()).split(QLatin1Char(' '));
            ListedKeyboards source;
            GivenKeyboardNames server;
            if (!f[0].isEmpty())
                server.names = "evdev" + n + "pc105" + n + f[0].toLatin1() + n + f[1].toLatin1() + n + "grp:alt_shift_toggle" + n;
            RememberedLayout memory;
            memory.layout = f[2];
            KeyboardLayouts layouts(source, server, memory);
            QVERIFY2(layouts.startLayout() == f[4], qPrintable(row));
            QVERIFY(memory.kept.isEmpty());
        }
        ListedKeyboards source; // names cut short
        GivenKeyboardNames server;
        server.names = QByteArray("evdev\0pc105\0be", 14);
        RememberedLayout memory;
        QCOMPARE(KeyboardLayouts(source, server, memory).startLayout(), QStringLiteral("fr"));
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

    // "anything made? layout > layout made, layouts asked for": fr when the layout cannot
    // be made, blank keys when not even fr can.
    void fallback()
    {
        for (const QString row : {"yes be > be be", "yes ch(fr) > fr ch(fr),fr", "no ca >  ca,fr", "no fr >  fr"}) {
            const QStringList f = row.split(QLatin1Char(' '));
            ListedKeyboards source;
            source.anything = f[0] == QLatin1String("yes");
            GivenKeyboardNames server;
            RememberedLayout memory;
            KeyboardLayouts layouts(source, server, memory);
            const Keyboard keyboard = layouts.keyboard(f[1]);
            QCOMPARE(keyboard.layout + QLatin1Char(' ') + source.asked.join(QLatin1Char(',')), f[3] + QLatin1Char(' ') + f[4]);
            if (keyboard.layout.isEmpty()) {
                QCOMPARE(keyboard.keyCount(), 49);
                QVERIFY(!keyboard.place(u'E').isValid());
            }
        }
    }
};

QTEST_MAIN(TestKeyboardLayouts)
#include "tst_keyboard_layouts.moc"
