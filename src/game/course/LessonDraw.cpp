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
    QList<double> weights;
    double total = 0;
    for (QChar c : keys_) {
        double w = kFloor * weights_.letter(c) + 1;
        if (neighbour.isNull())
            w += weights_.letter(c);
        else
            w += after ? weights_.pair(neighbour, c) : weights_.pair(c, neighbour);
        weights << w;
        total += w;
    }
    double left = r * total;
    for (int i = 0; i < keys_.size(); ++i) {
        left -= weights[i];
        if (left < 0)
            return keys_[i];
    }
    return keys_.last();
}
