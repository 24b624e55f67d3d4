// Guards the keyboards read from the system's XKB data: each layout's characters land on
// the key, level and dead key its own symbols file gives them, and missing data makes no
// keyboard without breaking anything.
#include "adapters/XkbKeyboards.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A row of the table: the key as "row,column,level", then the dead key the same way or "-".
QString placeText(const KeyPlace &p)
{
    if (!p.isValid())
        return QStringLiteral("none");
    QString text = QStringLiteral("%1,%2,%3").arg(p.row).arg(p.column).arg(p.level);
    text += p.deadRow >= 0 ? QStringLiteral(" dead %1,%2,%3").arg(p.deadRow).arg(p.deadColumn).arg(p.deadLevel)
                             : QStringLiteral(" -");
    return text;
}

} // namespace

class TestXkbKeyboards : public QObject
{
    Q_OBJECT

private slots:
    // Rows from the top (0: digits, 1: A/Q row, 2: home row, 3: the row of the left Shift,
    // 4: the space bar); columns from the left, the key left of "1" and the one right of
    // the left Shift counting; levels 0 plain, 1 Shift, 2 AltGr, 3 Shift+AltGr. Each
    // expected place was read in /usr/share/X11/xkb/symbols (fr "basic", be "basic",
    // ch "fr" over "basic", ca "fr", fr "bepo", fr "afnor").
    void charactersOnTheLayoutsKeys()
    {
        const QList<std::tuple<QString, QString, QString>> rows{
            {"fr", "É", "0,2,0 -"},     {"fr", "2", "0,2,1 -"},         {"fr", "E", "1,2,0 -"},
            {"fr", "Ê", "1,2,0 dead 1,10,0"}, {"fr", "Ë", "1,2,0 dead 1,10,1"}, {"fr", "Ù", "2,10,0 -"},
            {"fr", "Æ", "1,0,2 -"},     {"fr", ";", "3,8,0 -"},         {"fr", "Œ", "none"},
            {"fr", " ", "4,0,0 -"},
            {"be", "É", "0,2,0 -"},     {"be", "!", "0,8,0 -"},         {"be", "'", "0,4,0 -"},
            {"be", "?", "3,7,1 -"},     {"be", "Œ", "1,8,2 -"},         {"be", "Ê", "1,2,0 dead 1,10,0"},
            {"ch(fr)", "É", "2,9,0 -"}, {"ch(fr)", "À", "2,10,0 -"},    {"ch(fr)", "Ç", "0,4,1 -"},
            {"ch(fr)", "2", "0,2,0 -"}, {"ch(fr)", "?", "0,11,1 -"},    {"ch(fr)", "Ü", "1,10,1 -"},
            {"ch(fr)", "Y", "3,1,0 -"}, {"ch(fr)", "Ê", "1,2,0 dead 0,12,0"},
            {"ca", "É", "3,10,0 -"},    {"ca", "!", "0,1,1 -"},         {"ca", "?", "0,6,1 -"},
            {"ca", "«", "3,0,0 -"},     {"ca", ";", "2,9,0 -"},         {"ca", "È", "1,2,0 dead 2,10,0"},
            {"ca", "Ç", "3,3,0 dead 1,11,0"}, {"ca", "Ê", "1,2,0 dead 1,10,0"}, {"ca", "Œ", "none"},
            {"fr(bepo)", "É", "1,1,0 -"}, {"fr(bepo)", "È", "1,4,0 -"}, {"fr(bepo)", "À", "3,1,0 -"},
            {"fr(bepo)", "«", "0,2,0 -"}, {"fr(bepo)", "2", "0,2,1 -"}, {"fr(bepo)", "?", "3,6,1 -"},
            {"fr(bepo)", "!", "1,5,1 -"}, {"fr(bepo)", "Ï", "2,2,0 dead 2,2,2"}, {"fr(bepo)", "Ê", "3,0,0 -"},
            {"fr(afnor)", "À", "0,1,0 -"}, {"fr(afnor)", "È", "0,3,0 -"}, {"fr(afnor)", "Ê", "0,4,0 -"},
            {"fr(afnor)", "Ç", "3,3,2 -"}, {"fr(afnor)", "Ù", "1,6,2 -"}, {"fr(afnor)", "Û", "1,6,0 dead 0,12,0"},
        };
        XkbKeyboards keyboards;
        for (const auto &[layout, character, place] : rows) {
            const std::optional<Keyboard> keyboard = keyboards.keyboard(layout);
            if (!keyboard && layout == "fr(afnor)")
                QSKIP("this system's keyboard data has no fr(afnor)");
            QVERIFY2(keyboard && keyboard->layout == layout, qPrintable(layout));
            QCOMPARE(layout + ' ' + character + ' ' + placeText(keyboard->place(character.at(0))), layout + ' ' + character + ' ' + place);
        }
    }

    // A layout the data cannot make, or a data folder without the layout's symbols file or
    // empty, makes no keyboard, and nothing breaks.
    void missingData()
    {
        QTemporaryDir copy, empty;
        QCOMPARE(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), QStringLiteral("/usr/share/X11/xkb/."), copy.path()}), 0);
        QVERIFY(QFile::remove(copy.filePath(QStringLiteral("symbols/be"))));
        for (const auto &[folder, layout, made] : {std::tuple{QString(), "zz(nothing)", false}, {QString(), "be", true},
                                                   {copy.path(), "be", false}, {copy.path(), "fr", true}, {empty.path(), "fr", false}})
            QVERIFY2(XkbKeyboards(folder).keyboard(QLatin1String(layout)).has_value() == made, layout);
    }
};

QTEST_MAIN(TestXkbKeyboards)
#include "tst_xkb_keyboards.moc"
