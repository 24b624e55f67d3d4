// Guards the keyboards read from the system's XKB data: each layout's characters land on
// the key, level and dead key its own symbols file gives them, a layout the data lacks
// falls back to the French AZERTY, no data at all still gives a keyboard to draw, and the
// map's colours get darker as the rate grows.
#include "game/KeyboardLayouts.h"
#include "game/KeyboardMap.h"
#include "support/TestDoubles.h"
#include "ui/KeyboardMapView.h"
#include "ui/XkbKeyboards.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

// A row of the table: the key as "row,column,level", then the dead key the same way or "-".
QString placeText(const KeyPlace &p)
{
    if (!p.isValid())
        return QStringLiteral("none");
    QString text = QStringLiteral("%1,%2,%3").arg(p.row).arg(p.column).arg(p.level);
    text += p.needsDeadKey() ? QStringLiteral(" dead %1,%2,%3").arg(p.deadRow).arg(p.deadColumn).arg(p.deadLevel)
                             : QStringLiteral(" -");
    return text;
}

// CIE lightness of a colour, 0 (black) to 100 (white).
double lightness(const QColor &c)
{
    auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const double y = 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    return y > 216.0 / 24389.0 ? 116.0 * std::cbrt(y) - 16.0 : y * 24389.0 / 27.0;
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
    void charactersOnTheLayoutsKeys_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("character");
        QTest::addColumn<QString>("place");
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
        for (const auto &[layout, character, place] : rows)
            QTest::addRow("%s %s", qPrintable(layout), qPrintable(character)) << layout << character << place;
    }
    void charactersOnTheLayoutsKeys()
    {
        QFETCH(QString, layout);
        QFETCH(QString, character);
        XkbKeyboards keyboards;
        const std::optional<Keyboard> keyboard = keyboards.keyboard(layout);
        if (!keyboard && layout == QLatin1String("fr(afnor)"))
            QSKIP("this system's keyboard data has no fr(afnor)");
        QVERIFY(keyboard);
        QCOMPARE(keyboard->layout, layout);
        QTEST(placeText(keyboard->place(character.at(0))), "place");
    }

    // The labels of the French rows, as printed on the keys.
    void frenchLabels()
    {
        XkbKeyboards keyboards;
        const std::optional<Keyboard> keyboard = keyboards.keyboard(QStringLiteral("fr"));
        QVERIFY(keyboard);
        QStringList rows;
        for (const QList<Key> &row : keyboard->rows) {
            QStringList labels;
            for (const Key &key : row)
                labels << key.label();
            rows << labels.join(QLatin1Char(' '));
        }
        QCOMPARE(rows, (QStringList{"² & é \" ' ( - è _ ç à ) =", "A Z E R T Y U I O P ^ $", "Q S D F G H J K L M ù *",
                                    "< W X C V B N , ; : !", "Espace"}));
    }

    // A layout the data cannot make falls back to "fr"; without any data (an empty folder
    // of XKB data), the keys are there with nothing on them, and counting on them is safe.
    void missingData_data()
    {
        QTest::addColumn<QString>("data"); // the system's, none, or a copy without the Belgian layouts
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("made"); // the layout the keyboard was made from
        QTest::addColumn<QString>("onE");  // the figures on the third key of the second row
        QTest::newRow("unknown layout") << "system" << "zz(nothing)" << "fr" << "E 3/10";
        QTest::newRow("Belgian data missing") << "without be" << "be" << "fr" << "E 3/10";
        QTest::newRow("Belgian data there") << "system" << "be" << "be" << "E 3/10";
        QTest::newRow("no data, fr") << "none" << "fr" << "" << " 0/0";
        QTest::newRow("no data, bepo") << "none" << "fr(bepo)" << "" << " 0/0";
    }
    void missingData()
    {
        QFETCH(QString, data);
        QFETCH(QString, layout);
        QTemporaryDir folder;
        if (data == QLatin1String("without be")) {
            QCOMPARE(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), QStringLiteral("/usr/share/X11/xkb/."),
                                                              folder.path()}),
                     0);
            QVERIFY(QFile::remove(folder.filePath(QStringLiteral("symbols/be"))));
        }
        XkbKeyboards keyboards(data == QLatin1String("system") ? QString() : folder.path());
        GivenKeyboardNames server;
        RememberedLayout memory;
        KeyboardLayouts layouts(keyboards, server, memory);
        const Keyboard keyboard = layouts.keyboard(layout);
        QTEST(keyboard.layout, "made");
        QCOMPARE(keyboard.keyCount(), 49);
        const QList<KeyboardMap::KeyFigures> figures =
            KeyboardMap::keyFigures(keyboard, {{"E", 10, 3}, {"Ê", 0, 0}, {"", 1, 1}});
        QCOMPARE(figures.size(), 49);
        const KeyboardMap::KeyFigures &e = figures.at(13 + 2);
        QTEST(QStringLiteral("%1 %2/%3").arg(e.label).arg(e.wrong).arg(e.expected), "onE");
    }

    // The scale only darkens as the rate grows, and far enough for the ends to be told
    // apart in greys; from 10 % up it stays the darkest; the writing stays readable.
    void paletteDarkensWithTheRate()
    {
        double previous = 101;
        for (int step = 0; step <= 100; ++step) {
            const double rate = KeyboardMapView::kDarkestRate * step / 100.0;
            const double l = lightness(KeyboardMapView::colourFor(rate));
            QVERIFY2(l < previous, qPrintable(QStringLiteral("rate %1: lightness %2 after %3").arg(rate).arg(l).arg(previous)));
            previous = l;
        }
        QVERIFY(lightness(KeyboardMapView::colourFor(0)) - lightness(KeyboardMapView::colourFor(1)) > 60);
        QCOMPARE(KeyboardMapView::colourFor(0.5), KeyboardMapView::colourFor(KeyboardMapView::kDarkestRate));
        QVERIFY(lightness(KeyboardMapView::colourFor(-1)) > lightness(KeyboardMapView::colourFor(0)));
        for (double rate : {0.0, 0.02, 0.05, 0.08, 0.1}) {
            const QColor fill = KeyboardMapView::colourFor(rate);
            QVERIFY(std::abs(lightness(fill) - lightness(KeyboardMapView::textColourOn(fill))) > 45);
        }
    }
};

QTEST_MAIN(TestXkbKeyboards)
#include "tst_xkb_keyboards.moc"
