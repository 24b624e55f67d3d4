#include "game/practice/PracticePlan.h"

#include <algorithm>
#include <cmath>

namespace {

// Shares in proportion to the weights, none above `most` (when there are enough characters
// to allow it): the characters over the limit are held at it and the rest is shared out
// again among the others, until none is over.
QList<double> cappedShares(const QList<double> &weights, double most)
{
    const qsizetype n = weights.size();
    QList<double> shares(n, 0.0);
    if (n == 0)
        return shares;
    most = std::max(most, 1.0 / double(n));
    QList<bool> held(n, false);
    for (;;) {
        double free = 1.0, weight = 0.0;
        for (qsizetype i = 0; i < n; ++i) {
            if (held[i])
                free -= most;
            else
                weight += weights[i];
        }
        bool changed = false;
        for (qsizetype i = 0; i < n; ++i) {
            if (held[i])
                continue;
            shares[i] = weight > 0 ? free * weights[i] / weight : free / double(n);
            if (shares[i] > most) {
                held[i] = true;
                changed = true;
            }
        }
        if (!changed)
            break;
    }
    for (qsizetype i = 0; i < n; ++i) {
        if (held[i])
            shares[i] = most;
    }
    return shares;
}

} // namespace

QList<QChar> PracticePlan::letters()
{
    QList<QChar> out;
    for (char16_t c = u'A'; c <= u'Z'; ++c)
        out << QChar(c);
    return out;
}

PracticePlan PracticePlan::build(const QList<RecentCharacter> &recent, int mode, const QList<QChar> &alphabet)
{
    PracticePlan plan;
    plan.mode_ = mode;
    QHash<QChar, RecentCharacter> byCharacter;
    qint64 due = 0, wrong = 0, items = 0, itemMs = 0;
    for (const RecentCharacter &c : recent) {
        if (c.character.size() != 1)
            continue; // a wrong key with nothing due, or a stored text that is no character
        byCharacter.insert(c.character.at(0), c);
        due += std::max<qint64>(0, c.expected);
        wrong += std::max<qint64>(0, c.wrong);
        items += std::max<qint64>(0, c.items);
        itemMs += std::max<qint64>(0, c.itemMs);
    }
    plan.hasHistory_ = due > 0;
    const double overallRate = (double(wrong) + 1.0) / (double(due) + 2.0);
    const double overallMs = items > 0 ? double(itemMs) / double(items) : 0.0;

    QList<double> weights;
    for (QChar c : alphabet) {
        if (plan.index_.contains(c))
            continue;
        const RecentCharacter found = byCharacter.value(c);
        Figures f;
        f.character = c;
        f.expected = std::max<qint64>(0, found.expected);
        // More wrong keys than times due only happens in a file edited by hand.
        f.wrong = std::clamp<qint64>(found.wrong, 0, f.expected);
        f.smoothedRate = (double(f.wrong) + kPriorCount * overallRate) / (double(f.expected) + kPriorCount);
        double score = f.smoothedRate / overallRate;
        if (mode == 1 && overallMs > 0) {
            f.meanMs = (double(std::max<qint64>(0, found.itemMs)) + kPriorItems * overallMs)
                / (double(std::max<qint64>(0, found.items)) + kPriorItems);
            score *= f.meanMs / overallMs;
        }
        weights << (plan.hasHistory_ ? score * score : 1.0);
        plan.index_.insert(c, int(plan.figures_.size()));
        plan.figures_ << f;
    }
    const QList<double> shares = cappedShares(weights, kMostShare);
    for (qsizetype i = 0; i < shares.size(); ++i)
        plan.figures_[i].share = shares[i];
    return plan;
}

double PracticePlan::share(QChar c) const
{
    const auto it = index_.constFind(c);
    return it == index_.cend() ? 0.0 : figures_[*it].share;
}

QList<QChar> PracticePlan::practised() const
{
    QList<QChar> out;
    if (!hasHistory_ || figures_.isEmpty())
        return out;
    // Clearly more often: half as often again as in an even draw.
    const double even = 1.0 / double(figures_.size());
    QList<Figures> sorted = figures_;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Figures &a, const Figures &b) { return a.share > b.share; });
    for (const Figures &f : sorted) {
        if (out.size() >= kMostShown || f.share < 1.5 * even)
            break;
        out << f.character;
    }
    return out;
}

double PracticePlan::rateBefore(QChar c) const
{
    const auto it = index_.constFind(c);
    if (it == index_.cend() || figures_[*it].expected <= 0)
        return -1.0;
    return double(figures_[*it].wrong) / double(figures_[*it].expected);
}

QChar PracticePlan::drawCharacter(double r, const QList<QChar> &leftOut) const
{
    double total = 0.0;
    for (const Figures &f : figures_) {
        if (!leftOut.contains(f.character))
            total += f.share;
    }
    if (total <= 0.0)
        return QChar();
    double target = std::clamp(r, 0.0, 1.0) * total;
    QChar last;
    for (const Figures &f : figures_) {
        if (leftOut.contains(f.character) || f.share <= 0.0)
            continue;
        last = f.character;
        if (target < f.share)
            return f.character;
        target -= f.share;
    }
    return last; // r at the very end, or rounding
}
