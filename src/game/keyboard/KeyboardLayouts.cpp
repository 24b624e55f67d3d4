#include "game/keyboard/KeyboardLayouts.h"

#include "game/keyboard/KeyboardSource.h"
#include "platform/Environment.h"

const QString KeyboardLayouts::kDefault = QStringLiteral("fr");

KeyboardLayouts::KeyboardLayouts(KeyboardSource &source, ServerKeyboardNames &server, LayoutMemory &memory)
    : source_(source)
    , server_(server)
    , memory_(memory)
{
}

const QList<KeyboardLayouts::Offered> &KeyboardLayouts::offered()
{
    static const QList<Offered> list{
        {QStringLiteral("fr"), QStringLiteral("AZERTY (France)")},
        {QStringLiteral("fr(afnor)"), QStringLiteral("AZERTY (France, norme AFNOR)")},
        {QStringLiteral("be"), QStringLiteral("AZERTY (Belgique)")},
        {QStringLiteral("ch(fr)"), QStringLiteral("QWERTZ (Suisse romande)")},
        {QStringLiteral("ca"), QStringLiteral("QWERTY (Canada français)")},
        {QStringLiteral("fr(bepo)"), QStringLiteral("BÉPO")},
    };
    return list;
}

QString KeyboardLayouts::fromRulesNames(const QByteArray &names)
{
    const QList<QByteArray> parts = names.split('\0');
    if (parts.size() < 4)
        return QString();
    // Several layouts are separated by commas; the first is the one the session starts on.
    const QString layout = QString::fromLatin1(parts.at(2).split(',').first()).trimmed();
    const QString variant = QString::fromLatin1(parts.at(3).split(',').first()).trimmed();
    // The variants that keep the letters, digits and accents of the offered layout where
    // they are (they differ in AltGr signs or in having dead keys at all).
    static const QStringList frenchLike{"", "oss", "oss_latin9", "oss_nodeadkeys", "latin9", "latin9_nodeadkeys",
                                        "nodeadkeys"};
    if (layout == QLatin1String("fr")) {
        if (frenchLike.contains(variant))
            return QStringLiteral("fr");
        if (variant.startsWith(QLatin1String("bepo")))
            return QStringLiteral("fr(bepo)");
        if (variant == QLatin1String("afnor"))
            return QStringLiteral("fr(afnor)");
        return QString();
    }
    if (layout == QLatin1String("be"))
        return frenchLike.contains(variant) || variant == QLatin1String("iso-alternate") ? QStringLiteral("be") : QString();
    if (layout == QLatin1String("ch"))
        return variant.startsWith(QLatin1String("fr")) ? QStringLiteral("ch(fr)") : QString();
    if (layout == QLatin1String("ca"))
        return variant.isEmpty() || variant == QLatin1String("fr") ? QStringLiteral("ca") : QString();
    return QString();
}

QString KeyboardLayouts::startLayout()
{
    const QString detected = fromRulesNames(server_.rulesNames());
    if (!detected.isEmpty())
        return detected;
    const QString remembered = memory_.remembered();
    for (const Offered &o : offered()) {
        if (o.layout == remembered)
            return remembered;
    }
    return kDefault;
}

void KeyboardLayouts::choose(const QString &layout)
{
    if (memory_.remembered() != layout)
        memory_.remember(layout);
}

Keyboard KeyboardLayouts::keyboard(const QString &layout)
{
    if (std::optional<Keyboard> made = source_.keyboard(layout))
        return *made;
    if (layout != kDefault) {
        if (std::optional<Keyboard> french = source_.keyboard(kDefault))
            return *french;
    }
    Keyboard blank;
    for (const QList<PhysicalKey> &row : physicalRows()) {
        QList<Key> keys;
        for (const PhysicalKey &k : row)
            keys.append({QString::fromLatin1(k.name), {}, k.width});
        blank.rows.append(keys);
    }
    return blank;
}
