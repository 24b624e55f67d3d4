#pragma once

#include <QCollator>
#include <QString>
#include <QStringList>

class PlayerFile;

// The names offered and accepted by the player list.
namespace PlayerNames {

// Removes spaces, and only spaces, at both ends: names are stored padded with spaces.
QString trimSpaces(const QString &text);

// A name as typed, made the way names are shown: spaces trimmed, the first character in
// upper case and the others in lower case.
QString normalised(const QString &typed);

// A name as the game compares it: spaces trimmed, as the file stores it (windows-1252),
// in that code page's upper case. Two names with the same key are the same player.
QString comparisonKey(const QString &name);

// The alphabetical order of the known names: case ignored, accents in their French places.
class Order
{
public:
    Order();
    // The place for a new name: after every name that does not come after it.
    int insertPosition(const QStringList &sorted, const QString &name) const;
    // The names in that order, equal names in their original order.
    QStringList sorted(const QStringList &names) const;

private:
    QCollator collator_;
};

// The players of a record file (records 3 on), spaces trimmed, in the order above. A
// trailing fragment shorter than a record is no player.
QStringList known(const PlayerFile &file, const Order &order);

} // namespace PlayerNames
