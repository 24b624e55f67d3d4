#include "game/course/LessonDraw.h"

#include "platform/Services.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

qsizetype indexFor(double r, qsizetype count)
{
    return std::clamp<qsizetype>(qsizetype(std::floor(r * double(count))), 0, count - 1);
}

} // namespace

LessonDraw::LessonDraw(const QList<QChar> &keys, QChar focus, const QStringList &words, LetterWeights weights)
    : keys_(keys)
    , focus_(focus)
    , weights_(std::move(weights))
{
    const QSet<QChar> allowed(keys.cbegin(), keys.cend());
    for (const QString &word : words) {
        if (std::all_of(word.cbegin(), word.cend(), [&allowed](QChar c) { return allowed.contains(c); })) {
            anyWords_ << word;
            if (word.contains(focus))
                focusWords_ << word;
        }
    }
}

QString LessonDraw::next(RandomSource &random)
{
    if (keys_.isEmpty())
        return QString();
    const bool withFocus = random.next() < kFocusShare;
    const QStringList &words = withFocus ? focusWords_ : anyWords_;
    if (words.size() >= kEnoughWords)
        return words.at(indexFor(random.next(), words.size()));
    return group(random, withFocus);
}

QString LessonDraw::group(RandomSource &random, bool withFocus) const
{
    const int length = kShortest + int(indexFor(random.next(), kLongest - kShortest + 1));
    const int at = int(indexFor(random.next(), length));
    QString out(length, QChar());
    out[at] = withFocus ? focus_ : pick(random.next(), QChar(), true);
    for (int i = at + 1; i < length; ++i)
        out[i] = pick(random.next(), out[i - 1], true);
    for (int i = at - 1; i >= 0; --i)
        out[i] = pick(random.next(), out[i + 1], false);
    return out;
}

QChar LessonDraw::pick(double r, QChar neighbour, bool after) const
{
    const auto weight = [this, neighbour, after](QChar c) {
        const double own = kFloor * weights_.letter(c) + 1;
        if (neighbour.isNull())
            return own + weights_.letter(c);
        return own + (after ? weights_.pair(neighbour, c) : weights_.pair(c, neighbour));
    };
    double total = 0;
    for (QChar c : keys_)
        total += weight(c);
    double left = r * total;
    for (QChar c : keys_) {
        left -= weight(c);
        if (left < 0)
            return c;
    }
    return keys_.last();
}
