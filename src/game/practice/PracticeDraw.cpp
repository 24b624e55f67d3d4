#include "game/practice/PracticeDraw.h"

#include "game/progress/HistoryReader.h"
#include "game/words/WordList.h"
#include "platform/Services.h"

#include <algorithm>
#include <cmath>

namespace {

qsizetype indexFor(double r, qsizetype count)
{
    return std::clamp<qsizetype>(qsizetype(std::floor(r * double(count))), 0, count - 1);
}

// The distinct characters of a word, in their order.
QList<QChar> distinct(const QString &word)
{
    QList<QChar> out;
    for (QChar c : word) {
        if (!out.contains(c))
            out << c;
    }
    return out;
}

} // namespace

PracticeDraw::PracticeDraw(PracticePlan plan, const QStringList &words)
    : plan_(std::move(plan))
    , words_(plan_.mode() == 1 ? QStringList() : words)
{
    for (int i = 0; i < int(words_.size()); ++i) {
        for (QChar c : distinct(words_[i]))
            holding_[c] << i;
    }
    restart();
}

PracticeDraw PracticeDraw::forPlayer(HistoryReader *history, const QString &player, int mode, const WordList &list)
{
    const QStringList words = mode == 1 ? QStringList() : list.words();
    const QList<QChar> alphabet = mode == 1 ? PracticePlan::letters() : alphabetOf(words);
    const QList<RecentCharacter> recent =
        history ? history->recentCharacters(player, mode, PracticePlan::kLastGames) : QList<RecentCharacter>();
    return PracticeDraw(PracticePlan::build(recent, mode, alphabet), words);
}

QList<QChar> PracticeDraw::alphabetOf(const QStringList &words)
{
    QList<QChar> out;
    QHash<QChar, bool> seen;
    for (const QString &word : words) {
        for (QChar c : word) {
            if (!seen.contains(c)) {
                seen.insert(c, true);
                out << c;
            }
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

void PracticeDraw::restart()
{
    drawn_.assign(std::size_t(words_.size()), false);
    drawnCount_ = 0;
    left_.clear();
    for (auto it = holding_.cbegin(); it != holding_.cend(); ++it)
        left_.insert(it.key(), it.value().size());
}

QString PracticeDraw::next(RandomSource &random)
{
    if (plan_.mode() != 1)
        return nextWord(random);
    QChar c = plan_.drawCharacter(random.next());
    return QString(c.isNull() ? QChar(u'A') : c);
}

QString PracticeDraw::nextWord(RandomSource &random)
{
    if (words_.isEmpty())
        return QString();
    // A list shorter than a game: its words come round again.
    if (drawnCount_ >= words_.size())
        restart();
    const double r = random.next();
    if (plan_.hasHistory()) {
        QList<QChar> leftOut;
        for (const PracticePlan::Figures &f : plan_.figures()) {
            if (left_.value(f.character) == 0)
                leftOut << f.character;
        }
        const QChar c = plan_.drawCharacter(r, leftOut);
        if (!c.isNull())
            return take(holding_.value(c), indexFor(random.next(), left_.value(c)));
    }
    return takeAny(indexFor(r, words_.size() - drawnCount_));
}

QString PracticeDraw::take(const QList<int> &candidates, qsizetype k)
{
    for (int word : candidates) {
        if (drawn_[std::size_t(word)])
            continue;
        if (k-- == 0) {
            markDrawn(word);
            return words_[word];
        }
    }
    return takeAny(0); // not reached while the counts are right
}

QString PracticeDraw::takeAny(qsizetype k)
{
    for (int word = 0; word < int(words_.size()); ++word) {
        if (drawn_[std::size_t(word)])
            continue;
        if (k-- == 0) {
            markDrawn(word);
            return words_[word];
        }
    }
    return QString();
}

void PracticeDraw::markDrawn(int word)
{
    drawn_[std::size_t(word)] = true;
    ++drawnCount_;
    for (QChar c : distinct(words_[word]))
        --left_[c];
}
