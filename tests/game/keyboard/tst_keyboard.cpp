// Guards which key counts a character, the figures per key, which layout the map starts
// on, the choice kept, and the fallback to "fr".
#include "game/keyboard/KeyboardLayouts.h"
#include "game/keyboard/KeyboardMap.h"
#include "game/keyboard/KeyboardSource.h"
#include "support/TestDoubles.h"

#include <QtTest>

namespace {

// A small keyboard: a letter key "e E € É", a dead circumflex key (Shift: dead
// diaeresis), a key typing "é" and "2", a key typing "2" only at AltGr, the space bar.
Keyboard smallKeyboard(const QString &layout = QStringLiteral("test"))
{
    return {layout,
            {{{"AE01", {{"é", {}}, {"2", {}}}}, {"AE02", {{"&", {}}, {"1", {}}, {"2", {}}}}},
             {{"AD03", {{"e", {}}, {"E", {}}, {"€", {}}, {"É", {}}}}, {"AD11", {{"^", QChar(0x0302)}, {"¨", QChar(0x0308)}}}},
             {{"SPCE", {{" ", {}}}, 6}}}};
}

// Keyboards by name, as the system's data would give them: "fr" and "be" only, unless
// told that nothing can be made.
struct ListedKeyboards : KeyboardSource
{
    std::optional<Keyboard> keyboard(const QString &layout) override
    {
        asked << layout;
        return anything && (layout == "fr" || layout == "be") ? std::optional(smallKeyboard(layout)) : std::nullopt;
    }
    bool anything = true;
    QStringList asked;
};

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    // "character > row,column,level" then the dead key's, or none (Ẽ: no tilde key). Then
    // the figures per key: every key in row order; characters on no key (Œ, an empty text,
    // two characters) counted on none; a dead key's letter on its plain letter.
    void keysAndLayouts()
    {
        for (const QString row : {"E > 1,0,0", "2 > 0,0,1", "É > 0,0,0", "€ > 1,0,2", "Ê > 1,0,0 1,1,0", "Ë > 1,0,0 1,1,1", "Î > none",
                                  "Œ > none", "Ẽ > none", "  > 2,0,0"}) {
            const KeyPlace p = smallKeyboard().place(row.at(0));
            QCOMPARE((p.isValid() ? QStringLiteral("%1,%2,%3").arg(p.row).arg(p.column).arg(p.level) : "none")
                         + (p.deadRow < 0 ? QString() : QStringLiteral(" %1,%2,%3").arg(p.deadRow).arg(p.deadColumn).arg(p.deadLevel)),
                     row.mid(4));
        }
        const QList<KeyboardMap::KeyFigures> keys = KeyboardMap::keyFigures(
            smallKeyboard(), {{"E", 100, 5}, {"Ê", 10, 1}, {"É", 50, 5}, {"Œ", 3, 3}, {"", 0, 2}, {"EE", 1, 1}, {"2", 4, 0}});
        QStringList shown;
        for (const KeyboardMap::KeyFigures &k : keys)
            shown << QStringLiteral("%1 %2/%3").arg(k.label).arg(k.wrong).arg(k.expected);
        QCOMPARE(shown.join(", "), "é 5/54, & 0/0, E 6/110, ^ 0/0, Espace 0/0");
        QCOMPARE(keys[0].rate(), 5.0 / 54.0);
        QVERIFY(keys[1].rate() < 0); // never due
        // "X server's layout variant, layout remembered > start layout [| anything made? layout
        // chosen > layout made, layouts asked for]": `_XKB_RULES_NAMES` as the test double gives
        // them (- for none: no X server). fr when the layout chosen cannot be made, the 49 blank
        // keys when not even fr can. A choice is kept only when it changes, and is the next start's.
        const QByteArray n("\0", 1);
        for (const QString row : {"fr - - > fr", "fr - be > fr", "fr nodeadkeys - > fr", "fr bepo - > fr(bepo)", "fr bepo_afnor - > fr(bepo)",
                                  "fr afnor - > fr(afnor)", "be - - > be", "ch fr - > ch(fr)", "ca - - > ca", "be,us , - > be",
                                  "ch - ch(fr) > ch(fr)", "us - - > fr", "fr dvorak ca > ca", "- - fr(bepo) > fr(bepo)", "- - - > fr",
                                  "- - de > fr", "cut - - > fr", "- - be > be | yes be > be be", "- - be > be | yes ch(fr) > fr ch(fr),fr",
                                  "- - be > be | no ca >  ca,fr", "- - be > be | no fr >  fr"}) {
            const QStringList f = QString(row).replace(u'-', QString()).split(u' ');
            ListedKeyboards source;
            source.anything = f.value(6) != "no";
            GivenKeyboardNames server;
            if (f[0] == "cut") // names cut short
                server.names = QByteArray("evdev\0pc105\0be", 14);
            else if (!f[0].isEmpty())
                server.names = "evdev" + n + "pc105" + n + f[0].toLatin1() + n + f[1].toLatin1() + n + "grp:alt_shift_toggle" + n;
            RememberedLayout memory;
            memory.layout = f[2];
            KeyboardLayouts layouts(source, server, memory);
            QVERIFY2(layouts.startLayout() == f[4] && memory.kept.isEmpty(), qPrintable(row));
            if (f.size() < 7)
                continue;
            layouts.choose("be");
            layouts.choose(f[7]);
            QVERIFY(memory.kept == (f[7] == "be" ? QStringList() : QStringList{f[7]}) && layouts.startLayout() == f[7]);
            const Keyboard keyboard = layouts.keyboard(f[7]);
            qsizetype keys = 0;
            for (const QList<Key> &r : keyboard.rows)
                keys += r.size();
            QCOMPARE(keyboard.layout + ' ' + source.asked.join(u',') + ' ' + QString::number(keys), f[9] + ' ' + f[10] + (f[9].isEmpty() ? " 49" : " 5"));
            QCOMPARE(keyboard.place(u'E').isValid(), !keyboard.layout.isEmpty());
        }
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
