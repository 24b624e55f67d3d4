// Guards the keyboards read from the system's XKB data: each layout's characters land on
// the key, level and dead key its own symbols file gives them, missing data makes no
// keyboard without breaking anything, and the keyboard course's order of each layout.
#include "adapters/XkbKeyboards.h"
#include "game/course/CourseKeys.h"
#include "game/course/LetterWeights.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestXkbKeyboards : public QObject
{
    Q_OBJECT

private slots:
    // Keyboards made from the system's XKB data, or not made without breaking anything.
    void keyboardsMadeOrNot()
    {
        // A layout the data cannot make, or a data folder without the layout's symbols file or
        // empty, makes no keyboard, and nothing breaks.
        QTemporaryDir copy, empty;
        QCOMPARE(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), QStringLiteral("/usr/share/X11/xkb/."), copy.path()}), 0);
        QVERIFY(QFile::remove(copy.filePath(QStringLiteral("symbols/be"))));
        for (const auto &[folder, layout, made] : {std::tuple{QString(), "zz(nothing)", false}, {QString(), "be", true},
                                                   {copy.path(), "be", false}, {copy.path(), "fr", true}, {empty.path(), "fr", false}})
            QVERIFY2(XkbKeyboards(folder).keyboard(QLatin1String(layout)).has_value() == made, layout);
        // "layout: character row,column,level [and the dead key's], ..." ("_" the space bar), then
        // "> the first 12 keys of the keyboard course". Rows from the top (0: digits, 1: A/Q row,
        // 2: home row, 3: the row of the left Shift, 4: the space bar); columns from the left, the
        // key left of "1" and the one right of the left Shift counting; levels 0 plain, 1 Shift,
        // 2 AltGr, 3 Shift+AltGr. Each expected place was read in /usr/share/X11/xkb/symbols (fr
        // "basic", be "basic", ch "fr" over "basic", ca "fr", fr "bepo", fr "afnor"). The course
        // brings in the home row, the letters by frequency, then the accented letters typed
        // directly, then the dead keys'; on fr each key with the finger of its column.
        XkbKeyboards keyboards;
        const LetterWeights weights = LetterWeights::load();
        QVERIFY(!weights.isEmpty());
        for (const QString row : {"fr: É 0,2,0, 2 0,2,1, E 1,2,0, Ê 1,2,0 1,10,0, Ë 1,2,0 1,10,1, Ù 2,10,0, Æ 1,0,2, ; 3,8,0, Œ none, "
                                  "_ 4,0,0 > QSDFJKLMEATR",
                                  "be: É 0,2,0, ! 0,8,0, ' 0,4,0, ? 3,7,1, Œ 1,8,2, Ê 1,2,0 1,10,0 > QSDFJKLMEATR",
                                  "ch(fr): É 2,9,0, À 2,10,0, Ç 0,4,1, 2 0,2,0, ? 0,11,1, Ü 1,10,1, Y 3,1,0, Ê 1,2,0 0,12,0 > ASDFJKLÉETRU",
                                  "ca: É 3,10,0, ! 0,1,1, ? 0,6,1, « 3,0,0, ; 2,9,0, È 1,2,0 2,10,0, Ç 3,3,0 1,11,0, Ê 1,2,0 1,10,0, Œ none "
                                  "> ASDFJKL;ETRU",
                                  "fr(bepo): É 1,1,0, È 1,4,0, À 3,1,0, « 0,2,0, 2 0,2,1, ? 3,6,1, ! 1,5,1, Ï 2,2,0 2,2,2, Ê 3,0,0 "
                                  "> AUIETSRNODLP",
                                  "fr(afnor): À 0,1,0, È 0,3,0, Ê 0,4,0, Ç 3,3,2, Ù 1,6,2, Û 1,6,0 0,12,0 > QSDFJKLMEATR"}) {
            const QString layout = row.section(": ", 0, 0);
            const std::optional<Keyboard> keyboard = keyboards.keyboard(layout);
            if (!keyboard && layout == "fr(afnor)")
                QSKIP("this system's keyboard data has no fr(afnor)");
            QVERIFY2(keyboard && keyboard->layout == layout, qPrintable(layout));
            QStringList places;
            for (const QString &item : row.section(": ", 1).section(" > ", 0, 0).split(", ")) {
                const KeyPlace p = keyboard->place(item.at(0) == u'_' ? QChar(u' ') : item.at(0));
                places << item.left(2) + (!p.isValid() ? QStringLiteral("none") : QStringLiteral("%1,%2,%3").arg(p.row).arg(p.column).arg(p.level))
                              + (p.deadRow < 0 ? QString() : QStringLiteral(" %1,%2,%3").arg(p.deadRow).arg(p.deadColumn).arg(p.deadLevel));
            }
            QString first, tail, fingers;
            const QList<CourseKey> order = CourseKeys::order(*keyboard, weights);
            for (const CourseKey &key : order.mid(0, 12))
                first += key.character;
            QCOMPARE(layout + ": " + places.join(", ") + " > " + first, row);
            if (layout != "fr")
                continue;
            for (const CourseKey &key : order.mid(26))
                tail += key.character;
            for (const CourseKey &key : order.mid(0, 8))
                fingers += key.finger.left(3) + key.finger.section(' ', 1).left(1) + ' ';
            QCOMPARE(tail + " " + fingers, QStringLiteral("ÉÈÇÀÙÊÔÛÎÂÏËÜ aurg anng majg indg indd majd annd aurd "));
        }
    }
};

QTEST_MAIN(TestXkbKeyboards)
#include "tst_xkb_keyboards.moc"
