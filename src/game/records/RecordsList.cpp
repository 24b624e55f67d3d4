#include "game/records/RecordsList.h"

#include <algorithm>
#include <charconv>
#include <numeric>

namespace {

// Counts over positions 0..n-1, with prefix sums and "k-th marked position" in O(log n).
class Fenwick
{
public:
    explicit Fenwick(int n)
        : tree_(std::size_t(n) + 1, 0)
    {
    }

    void add(int position, int delta)
    {
        for (std::size_t i = std::size_t(position) + 1; i < tree_.size(); i += i & (~i + 1))
            tree_[i] += delta;
    }

    // Sum over the positions before `position`.
    int prefix(int position) const
    {
        int sum = 0;
        for (std::size_t i = std::size_t(position); i > 0; i -= i & (~i + 1))
            sum += tree_[i];
        return sum;
    }

    // The position of the k-th count (k >= 1) when every count is 0 or 1.
    int kth(int k) const
    {
        std::size_t pos = 0;
        std::size_t step = 1;
        while (step * 2 < tree_.size())
            step *= 2;
        for (; step > 0; step /= 2) {
            if (pos + step < tree_.size() && tree_[pos + step] < k) {
                pos += step;
                k -= tree_[pos];
            }
        }
        return int(pos);
    }

private:
    std::vector<int> tree_;
};

} // namespace

QString recordsHeader()
{
    return QStringLiteral("Rang  Prénom") + QString(23, QLatin1Char(' ')) + QStringLiteral("Mini")
        + QString(3, QLatin1Char(' ')) + QStringLiteral("Moyenne");
}

namespace {

void appendNumber(QString &out, int n)
{
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    out.append(QLatin1String(digits, end - digits));
}

void padTo(QString &out, qsizetype length)
{
    if (out.size() < length)
        out.append(QString(length - out.size(), QLatin1Char(' ')));
}

} // namespace

QString recordLine(int rank, const PlayerEntry &record)
{
    // Built in place: the list may hold tens of thousands of lines.
    QString line;
    line.reserve(40);
    line.append(QLatin1Char(' '));
    appendNumber(line, rank);
    padTo(line, 3);
    line.append(QLatin1String("  "));
    const qsizetype nameStart = line.size();
    line.append(QStringView(record.Name).left(kNameLength));
    padTo(line, nameStart + kNameLength);
    line.append(QLatin1Char(' '));
    const qsizetype miniStart = line.size();
    appendNumber(line, record.Mini);
    padTo(line, miniStart + 5);
    appendNumber(line, record.Average);
    return line;
}

// The exchange sort compares only values, so the result is the values in ascending order;
// what needs care is the order it leaves among equal values. Two facts give it:
//
// 1. The order among the entries of value <= v evolves exactly as if those entries were
//    sorted alone: larger entries never decide whether a smaller one swaps, nor where to.
// 2. Sorting entries of value <= v where v is the largest, an entry of value v moves only
//    when it heads the unsorted part, and then it jumps to the first smaller entry behind
//    it, i.e. just past the run of v-valued entries that follow it. Once such a run has
//    formed at the head, each smaller entry met moves the run's first entry to its end,
//    and each further v-valued entry met joins the run's end.
//
// So, for each value, its entries in file order e1..ek, with s_t entries of smaller value
// lying after e_t and before e_t+1 (after ek for t = k), end up as the queue built by
// "push e1, rotate s_1 times, push e2, rotate s_2 times, ..., push ek, rotate s_k times".
// The rotations become a moving front index in a circular list and the pushes insertions
// before that front; the insertions are placed afterwards, latest first, on free linear.
std::vector<int> exchangeSortOrder(const std::vector<qint16> &values)
{
    const int n = int(values.size());
    std::vector<int> byValue(values.size());
    std::iota(byValue.begin(), byValue.end(), 0);
    std::stable_sort(byValue.begin(), byValue.end(),
                     [&values](int a, int b) { return values[a] < values[b]; });

    std::vector<int> order;
    order.reserve(values.size());
    Fenwick smaller(n); // marks the entries of the values already placed
    int placed = 0;
    std::vector<int> insertAt;
    std::vector<int> linear;

    for (int g = 0; g < n;) {
        int h = g;
        while (h < n && values[byValue[h]] == values[byValue[g]])
            ++h;
        const int k = h - g;

        insertAt.assign(std::size_t(k), 0);
        int front = 0;
        for (int t = 1; t <= k; ++t) {
            const int here = smaller.prefix(byValue[g + t - 1]);
            const int next = t < k ? smaller.prefix(byValue[g + t]) : placed;
            front = (front + (next - here) % t) % t;
            if (t < k) {
                insertAt[t] = front;
                ++front;
            }
        }

        Fenwick freeSlots(k);
        for (int i = 0; i < k; ++i)
            freeSlots.add(i, 1);
        linear.assign(std::size_t(k), 0);
        for (int t = k - 1; t >= 0; --t) {
            const int slot = freeSlots.kth(insertAt[t] + 1);
            freeSlots.add(slot, -1);
            linear[slot] = byValue[g + t];
        }
        for (int i = 0; i < k; ++i)
            order.push_back(linear[(front + i) % k]);

        for (int i = g; i < h; ++i)
            smaller.add(byValue[i], 1);
        placed += k;
        g = h;
    }
    return order;
}

QList<PlayerEntry> rankByAverage(const QList<PlayerEntry> &players)
{
    std::vector<qint16> averages;
    averages.reserve(std::size_t(players.size()));
    for (const PlayerEntry &p : players)
        averages.push_back(p.Average);
    QList<PlayerEntry> ranked;
    ranked.reserve(players.size());
    for (int index : exchangeSortOrder(averages))
        ranked.append(players[index]);
    return ranked;
}

QStringList recordLines(const QList<PlayerEntry> &players)
{
    QStringList lines;
    lines.reserve(players.size());
    for (int i = 0; i < players.size(); ++i)
        lines.append(recordLine(i + 1, players[i]));
    return lines;
}
