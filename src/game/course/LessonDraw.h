#pragma once

#include "game/course/LetterWeights.h"
#include "game/session/ItemDraw.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

// The items of a lesson: short groups of the keys in play, kFocusShare of them holding the
// key worked on (the new key, or a learnt key the player chose), the rest any group of the
// keys in play. An item is a real word made of those keys alone when the word list has at
// least kEnoughWords such words (holding the key worked on, for the items that must);
// otherwise a group of kShortest to kLongest characters drawn by French letter pairs: the
// key worked on at a random place, each next character after the one before it by the
// weight of the pair, each one before it by the weight of the pair it starts, so that the
// group reads like French. Every key in play keeps a small weight (kFloor of its letter's
// weight, plus one part per million), so that keys seldom side by side in French still come.
class LessonDraw : public ItemDraw
{
public:
    static constexpr double kFocusShare = 0.7;
    static constexpr int kEnoughWords = 20;
    static constexpr int kShortest = 3;
    static constexpr int kLongest = 5;
    static constexpr double kFloor = 0.05;

    // `keys` and `words` in upper case; words holding other characters are left out.
    LessonDraw(const QList<QChar> &keys, QChar focus, const QStringList &words, LetterWeights weights);

    void restart() override {}
    QString next(RandomSource &random) override;

    // The words an item may be, for the benchmark's figures.
    const QStringList &anyWords() const { return anyWords_; }

private:
    QString group(RandomSource &random, bool withFocus) const;
    // A key in play drawn by weight, next to `neighbour` (after it when `after`).
    QChar pick(double r, QChar neighbour, bool after) const;

    QList<QChar> keys_;
    QChar focus_;
    LetterWeights weights_;
    QStringList focusWords_;
    QStringList anyWords_;
};
