// Guards the platform layer: files of fixed-length entries, the windows-1252 text of the
// files (round trips, "?" for what it lacks, case rules, initial capitals), the cue files'
// samples (no sound from a damaged or foreign file), and where the history file goes.
#include "platform/DataPaths.h"
#include "platform/EntryFile.h"
#include "platform/Environment.h"
#include "platform/HistoryLocation.h"
#include "platform/SystemFolderKinds.h"
#include "platform/WavSound.h"
#include "platform/Windows1252.h"
#include "support/TestDoubles.h"

#include <QDir>
#include <QtEndian>
#include <QtTest>

namespace {

// `v` as `size` bytes, little-endian.
QByteArray le(quint32 v, int size = 4)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b.left(size);
}

// A chunk, padded to an even length, its declared size the body's unless given.
QByteArray chunk(const QByteArray &id, const QByteArray &body, qint64 declared = -1)
{
    return id + le(quint32(declared < 0 ? body.size() : declared)) + body + QByteArray(body.size() & 1, '\0');
}

QByteArray fmt(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    const quint16 align = channels * bits / 8;
    return chunk("fmt ", le(tag, 2) + le(channels, 2) + le(rate) + le(rate * align) + le(align, 2) + le(bits, 2));
}

QByteArray riff(const QByteArray &chunks) { return "RIFF" + le(quint32(4 + chunks.size())) + "WAVE" + chunks; }

// 0.1 s of 16-bit mono at 22050 Hz.
const QByteArray kSamples(2205 * 2, '\x11');

} // namespace

// Says "remote" for the folders listed only, so a placement that asks about the wrong folder shows.
struct ListedRemoteFolders : FolderKinds
{
    QStringList remote;
    bool isRemote(const QString &folder) const override { return remote.contains(folder); }
};

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    // "file before, entry k of 4 bytes, bytes written (none: read) > entry read, or the whole
    // file after the write, checked on disk while the file is still open"; then failed opens
    // create nothing and say why.
    void entriesTextSoundsAndHistoryPlace()
    {
        const QByteArray z(16, '\0');
        const QList<std::tuple<QByteArray, qint64, QByteArray, QByteArray>> rows = {
            {"", 1, "", z.left(4)}, {"ABCDEFG", 2, "", QByteArray("EFG\0", 4)}, {"ABCDEFG", 3, "", z.left(4)},
            {"ABCDEFGHIJKL", 2, "wxyz", "ABCDwxyzIJKL"}, {"ABCDEFGH", 2, "wx", QByteArray("ABCDwx\0\0", 8)},
            {"ABCDEFGH", 1, "wxyz!!", "wxyzEFGH"}, {"ABCDEF", 2, "wxyz", "ABCDwxyz"}, {"ABCDE", 5, "wxyz", "ABCDE" + z.left(11) + "wxyz"},
            {"ABCD", 40000, "wxyz", "ABCD" + QByteArray(39998 * 4, '\0') + "wxyz"}}; // beyond 16-bit entry numbers
        for (const auto &[content, k, entry, expected] : rows) {
            ScratchFolder folder;
            folder.write("r.dat", content);
            EntryFile file;
            QVERIFY(file.open(folder.file("r.dat"), 4, entry.isEmpty() ? EntryFile::Mode::ReadOnly : EntryFile::Mode::ReadWrite));
            QVERIFY2(entry.isEmpty() || file.write(k, entry), qPrintable(file.errorString()));
            QCOMPARE(entry.isEmpty() ? file.read(k) : folder.read("r.dat"), expected);
        }
        ScratchFolder scratch;
        EntryFile file;
        const QString missing = scratch.file("missing.txt"), folder = scratch.file("clvfic1.txt");
        QVERIFY(!file.open(missing, 6, EntryFile::Mode::ReadOnly) && !QFile::exists(missing) && !file.isOpen());
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(!file.open(folder, 19, EntryFile::Mode::ReadWrite));
        QCOMPARE(file.errorString(), "un dossier porte ce nom");
        QVERIFY(file.open(missing, 6, EntryFile::Mode::ReadWrite) && QFile::exists(missing));
        // Every byte decodes to one character and back; every character of the basic plane
        // keeps its case rules inside the code page, and those outside it stay as they are (the
        // words' draw checks the capitals of whole words). Then rows of initial capitals.
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString decoded = Windows1252::decode(all);
        QCOMPARE(decoded.mid(0x80, 1) + decoded.mid(0x9C, 1) + decoded.mid(0xE9, 1) + QString::number(decoded.size()), "€œé256");
        QCOMPARE(Windows1252::encode(decoded), all);
        for (int u = 0; u < 0x10000; ++u) {
            const QChar c(u), upper = Windows1252::toUpper(c), lower = Windows1252::toLower(c);
            const bool in = Windows1252::representable(c);
            QVERIFY2(Windows1252::representable(upper) == in && Windows1252::representable(lower) == in, qPrintable(QString::number(u, 16)));
            QVERIFY2(in || (upper == c && lower == c && Windows1252::storable(QString(c)) == "?"), qPrintable(QString::number(u, 16)));
            QVERIFY2((upper == c || Windows1252::toLower(upper) == c) && (lower == c || Windows1252::toUpper(lower) == c), qPrintable(QString::number(u, 16)));
            QVERIFY2(Windows1252::toUpper(upper) == upper && Windows1252::toLower(lower) == lower, qPrintable(QString::number(u, 16)));
        }
        // "typed > shown | stored": what is stored, and so compared, is the same for the typed
        // and the shown name. "#" is a leading U+FEFF, a character like any other.
        for (const QString row : {"éLODIE > Élodie | Élodie", "ÿŒ > Ÿœ | Ÿœ", "ßA > ßa | ßa", "łukasz > Łukasz | ?ukasz",
                                  "дМИТРИЙ > ДМИТРИЙ | ???????", "ωμέγα > Ωμέγα | ?????", "\U00010428x > \U00010400x | ?x",
                                  "#ab > #ab | ?ab", "\U0001F600 > \U0001F600 | ?"}) {
            const QString typed = row.section(" > ", 0, 0).replace(u'#', QChar(0xFEFF)), shown = row.section(" > ", 1).section(" | ", 0, 0).replace(u'#', QChar(0xFEFF));
            QCOMPARE(Windows1252::initialCapital(typed), shown);
            QCOMPARE(Windows1252::initialCapital(shown), shown);
            QCOMPARE(Windows1252::decode(Windows1252::encode(shown)), row.section(" | ", 1));
            QCOMPARE(Windows1252::encode(Windows1252::initialCapital(typed.toLower())), Windows1252::encode(shown));
        }
        QCOMPARE(Windows1252::initialCapital(QString(QChar(0xD801))), QString(QChar(0xD801))); // a lone surrogate stays
        QCOMPARE(Windows1252::encode(QString(QChar(0xD801))), QByteArray("?"));
        // "rate bytes kept, length in µs", or none; every shorter piece of the file reads
        // without harm, as no sound or as less of it.
        const QByteArray mono16 = fmt(1, 1, 22050, 16);
        const QString tenth = QStringLiteral("22050 4410 100000");
        const QList<std::pair<QByteArray, QString>> sounds = {
            {riff(mono16 + chunk("data", kSamples)), tenth},
            {riff(fmt(1, 2, 8000, 8) + chunk("data", QByteArray(1600, 'x'))), "8000 1600 100000"},
            {riff(chunk("LIST", "abc") + mono16 + chunk("data", kSamples)), tenth}, // an odd chunk before, padded
            {riff(mono16 + "data" + le(4410) + kSamples.left(101)), "22050 100 2267"}, // cut short: whole frames
            {riff(fmt(3, 1, 22050, 32) + chunk("data", kSamples)), "none"}, // float samples
            {riff(fmt(1, 1, 22050, 24) + chunk("data", kSamples)), "none"},
            {riff(fmt(1, 0, 22050, 16) + chunk("data", kSamples)), "none"}, // no channel
            {riff(chunk("data", kSamples) + mono16), "none"}, {riff(chunk("fmt ", "\x01\x00\x01")), "none"},
            {riff(mono16), "none"}, {riff(mono16 + chunk("data", {})), "none"},
            {riff(chunk("junk", "ab", 0xFFFFFFF0u) + mono16 + chunk("data", kSamples)), "none"}, // a chunk claiming 4 GB
            {QByteArray("RIFF\x04\x00\x00\x00AVI "), "none"}, {QByteArray(), "none"}};
        for (const auto &[bytes, read] : sounds) {
            const WavSound sound = WavSound::fromBytes(bytes);
            QCOMPARE(sound.isValid() ? QStringLiteral("%1 %2 %3").arg(sound.sampleRate).arg(sound.samples.size()).arg(sound.lengthUs())
                                     : QStringLiteral("none"), read);
            QVERIFY(sound.isValid() || (sound.samples.isEmpty() && sound.lengthUs() == 0));
            for (qsizetype n = 0; n < bytes.size(); n += 7)
                QVERIFY(WavSound::fromBytes(bytes.left(n)).samples.size() <= sound.samples.size());
        }
        // The seven cues shipped are read whole, each between 0.1 and 3 seconds: the length
        // in ms another tool gives them where known.
        for (const QString row : {"cparti 594", "aurevoir 698", "recmoyab 2032", "oui", "recmin", "recminab", "recmoy"}) {
            const WavSound sound = WavSound::fromFile(locateDataFile(row.section(u' ', 0, 0) + ".wav"));
            QVERIFY2(sound.sampleRate == 22050 && sound.lengthUs() > 100000 && sound.lengthUs() < 3000000, qPrintable(row));
            QVERIFY2(!row.contains(u' ') || sound.lengthUs() / 1000 == row.section(u' ', 1).toInt(), qPrintable(row));
        }
        // "play folder | remote folder | user folder > history file": ~ is the user folder,
        // - no remote folder, @ the working folder. Then "path > nearest existing folder",
        // relative to a scratch folder holding "here/file", and file-system types on each side
        // (a number widened with its sign or not).
        const QString user = QStringLiteral("/home/eleve/.local/share/clavimo");
        const QStringList places = {"/srv/club | - | ~ > /srv/club/historique.sqlite", "/mnt/club | /mnt/club | ~ > ~/historique.sqlite",
                                  "~ | ~ | ~ > ~/historique.sqlite", "/srv/club | ~ | ~ > /srv/club/historique.sqlite",
                                  "/mnt/club | /mnt/club |  > /mnt/club/historique.sqlite", " | /mnt/club | ~ > historique.sqlite",
                                  " | @ | ~ > ~/historique.sqlite", "/mnt/club | /mnt/club | ~/ > ~/historique.sqlite"};
        for (QString row : places) {
            row.replace(QLatin1Char('~'), user);
            const QStringList f = row.split(QRegularExpression(QStringLiteral(" *[|>] *")));
            ListedRemoteFolders kinds;
            if (f[1] != QLatin1String("-"))
                kinds.remote = {QString(f[1]).remove(u'@')};
            QCOMPARE(historyFilePath(f[0], kinds, f[2]), f[3]);
        }
        ScratchFolder tree;
        const QString root = QDir(tree.path()).canonicalPath();
        QVERIFY(QDir(root).mkpath(QStringLiteral("here")));
        tree.write(QStringLiteral("here/file"), "x");
        for (QString row : {"here > here", "here/file > here/file", "here/a/b > here", "here/a/../b > here", "elsewhere/a > ",
                            " > ", "<root>/here/x/y > here"}) {
            const QStringList pair = row.replace(QLatin1String("<root>"), root).split(QStringLiteral(" > "));
            QCOMPARE(QDir(nearestExistingFolder(pair[0].trimmed())).canonicalPath(), root + (pair[1].isEmpty() ? "" : "/" + pair[1]));
        }
        QVERIFY(!SystemFolderKinds().isRemote(root + QStringLiteral("/missing/a"))); // a local disk, through a missing folder
        QVERIFY(isNetworkFileSystemType(0x6969ull) && isNetworkFileSystemType(0xFF534D42ull) && isNetworkFileSystemType(0xFFFFFFFFFF534D42ull));
        QVERIFY(!isNetworkFileSystemType(0xEF53ull) && !isNetworkFileSystemType(0xEF5300000000ull));
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
