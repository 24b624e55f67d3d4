#include "game/session/PlayerNames.h"

#include "game/records/PlayerFile.h"
#include "platform/Windows1252.h"

#include <QLocale>

#include <algorithm>
#include <numeric>
#include <vector>

namespace PlayerNames {

QString trimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QString normalised(const QString &typed)
{
    return Windows1252::initialCapital(trimSpaces(typed));
}

QString comparisonKey(const QString &name)
{
    return Windows1252::toUpper(Windows1252::storable(trimSpaces(name)));
}

Order::Order()
    : collator_(QLocale(QLocale::French, QLocale::France))
{
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

int Order::insertPosition(const QStringList &sorted, const QString &name) const
{
    const auto at = std::upper_bound(sorted.begin(), sorted.end(), name,
                                     [this](const QString &a, const QString &b) { return collator_.compare(a, b) < 0; });
    return int(at - sorted.begin());
}

QStringList Order::sorted(const QStringList &names) const
{
    // One sort key per name, so that the sort compares bytes rather than running the
    // collation again for every comparison.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(std::size_t(names.size()));
    for (const QString &name : names)
        keys.push_back(collator_.sortKey(name));
    std::vector<int> order(std::size_t(names.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    QStringList out;
    out.reserve(names.size());
    for (int i : order)
        out.append(names[i]);
    return out;
}

QStringList known(const PlayerFile &file, const Order &order)
{
    const double players = file.playerCount();
    if (!(players >= 1))
        return {};
    QStringList names;
    const QList<PlayerEntry> records = file.read(3, qint64(players));
    names.reserve(records.size());
    for (const PlayerEntry &r : records)
        names.append(trimSpaces(r.Name));
    return order.sorted(names);
}

} // namespace PlayerNames
