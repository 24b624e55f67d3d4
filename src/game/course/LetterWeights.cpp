#include "game/course/LetterWeights.h"

#include "platform/DataPaths.h"
#include "platform/Windows1252.h"

#include <QFile>

LetterWeights LetterWeights::fromText(const QByteArray &text)
{
    LetterWeights w;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(' ');
        bool ok = false;
        const double weight = fields.size() == 2 ? fields[1].toDouble(&ok) : 0;
        if (!ok || weight < 0)
            continue;
        const QString key = Windows1252::decode(fields[0]);
        if (key.size() == 1)
            w.letters_.insert(key[0], weight);
        else if (key.size() == 2)
            w.pairs_.insert(pairKey(key[0], key[1]), weight);
    }
    return w;
}

LetterWeights LetterWeights::load()
{
    QFile file(locateDataFile(fileName()));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromText(file.readAll());
}
