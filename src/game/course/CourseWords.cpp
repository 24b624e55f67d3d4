#include "game/course/CourseWords.h"

#include "platform/DataPaths.h"
#include "platform/Windows1252.h"

#include <QFile>

namespace CourseWords {

QStringList fromText(const QByteArray &text)
{
    QStringList out;
    for (const QByteArray &line : text.split('\n')) {
        const QString word = Windows1252::toUpper(Windows1252::decode(line.trimmed()));
        if (!word.isEmpty())
            out << word;
    }
    return out;
}

QStringList load()
{
    QFile file(locateDataFile(fileName()));
    return file.open(QIODevice::ReadOnly) ? fromText(file.readAll()) : QStringList();
}

} // namespace CourseWords
