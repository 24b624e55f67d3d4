#pragma once

#include "game/practice/PracticePlan.h"
#include "game/session/ItemDraw.h"

#include <QChar>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

class HistoryReader;
class RandomSource;
class WordList;

// The items of targeted practice games, from the game's own random source. One-letter
// mode: a letter by the plan's shares. Six-letter mode: a character by the plan's shares
// (among those with a word left), then a word holding it, evenly among the words of the
// list not yet drawn in this game; so a word's chance is the sum over the characters it
// holds of their share divided by the number of words left holding them. Without a
// history the draw is even: any letter, or any word not yet drawn.
class PracticeDraw : public ItemDraw
{
public:
    // `words` in upper case, as the word list draws them; unused in the one-letter mode.
    PracticeDraw(PracticePlan plan, const QStringList &words);

    // The draw for a player in a mode, from the player's latest games in `history` (none
    // when null) and, in the six-letter mode, the words of `list`.
    static PracticeDraw forPlayer(HistoryReader *history, const QString &player, int mode, const WordList &list);

    // The characters the words are made of, for the plan of the six-letter mode.
    static QList<QChar> alphabetOf(const QStringList &words);

    const PracticePlan &plan() const { return plan_; }
    // A new game: every word may be drawn again.
    void restart() override;
    // The next item; empty only for the six-letter mode without a word.
    QString next(RandomSource &random) override;

private:
    QString nextWord(RandomSource &random);
    // The `k`th word (from 0) not yet drawn among `candidates`, marked drawn.
    QString take(const QList<int> &candidates, qsizetype k);
    QString takeAny(qsizetype k);
    void markDrawn(int word);

    PracticePlan plan_;
    QStringList words_;
    // For each character, the words holding it, and how many of those are not yet drawn.
    QHash<QChar, QList<int>> holding_;
    QHash<QChar, qsizetype> left_;
    std::vector<bool> drawn_;
    qsizetype drawnCount_ = 0;
};
