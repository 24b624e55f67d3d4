#include "game/records/PlayerEntry.h"

#include "platform/Windows1252.h"

#include <QtEndian>

QByteArray PlayerEntry::toBytes() const
{
    QByteArray out = Windows1252::encode(FitName(Name));
    out.resize(kSize);
    qToLittleEndian<qint16>(Mini, out.data() + kNameLength);
    qToLittleEndian<qint16>(Average, out.data() + kNameLength + 2);
    return out;
}

PlayerEntry PlayerEntry::fromBytes(const QByteArray &bytes)
{
    QByteArray raw = bytes.left(kSize);
    raw.append(QByteArray(kSize - raw.size(), '\0'));
    PlayerEntry r;
    r.Name = Windows1252::decode(raw.left(kNameLength));
    r.Mini = qFromLittleEndian<qint16>(raw.constData() + kNameLength);
    r.Average = qFromLittleEndian<qint16>(raw.constData() + kNameLength + 2);
    return r;
}
