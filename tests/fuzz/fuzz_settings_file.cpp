// clavimo.ini holding any bytes: the sound switch reads from the first two, an empty file
// receives the default, and a save rewrites those two bytes and nothing else.

#include "FuzzSupport.h"

#include "game/SettingsFile.h"

#include <QtEndian>

namespace {

QByteArray le16(qint16 v)
{
    QByteArray out(2, '\0');
    qToLittleEndian<qint16>(v, out.data());
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::Input in(data, size);
    const auto saved = in.take<qint16>();
    const QByteArray before = in.takeRest();
    const QString path = fuzz::scratchFile(SettingsFile::fileName());
    fuzz::writeWholeFile(path, before);

    {
        SettingsFile settings;
        FUZZ_CHECK(settings.open(path));
        qint16 sound = 0;
        FUZZ_CHECK(settings.loadOrCreate(&sound));
        const QByteArray loaded = fuzz::readWholeFile(path);
        if (before.isEmpty()) {
            FUZZ_CHECK(sound == SettingsFile::kSoundOn);
            FUZZ_CHECK(loaded == le16(SettingsFile::kSoundOn));
        } else {
            // A one-byte file reads as if its missing byte were zero, and stays as it is.
            FUZZ_CHECK(sound == fuzz::int16At(before + QByteArray(1, '\0'), 0));
            FUZZ_CHECK(loaded == before);
        }

        FUZZ_CHECK(settings.save(saved));
        const QByteArray after = fuzz::readWholeFile(path);
        FUZZ_CHECK(after.size() == std::max<qsizetype>(before.size(), 2));
        FUZZ_CHECK(after.left(2) == le16(saved));
        FUZZ_CHECK(after.mid(2) == before.mid(2));
    }

    // What was saved is what the next start reads.
    SettingsFile again;
    FUZZ_CHECK(again.open(path));
    qint16 sound = 0;
    FUZZ_CHECK(again.loadOrCreate(&sound));
    FUZZ_CHECK(sound == saved);
    return 0;
}
