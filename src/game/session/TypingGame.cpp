#include "game/session/TypingGame.h"

#include "game/session/ItemDraw.h"
#include "game/session/Statistics.h"
#include "game/words/WordList.h"
#include "platform/Services.h"
#include "platform/Windows1252.h"

#include <algorithm>
#include <cmath>

TypingGame::TypingGame(Clock &clock, RandomSource &random)
    : clock_(clock)
    , random_(random)
{
}

bool TypingGame::canDrawItem() const
{
    return mode_ == 1 || (words_ && words_->isOpen() && words_->usableCount() > 0);
}

void TypingGame::resetScores()
{
    mini_ = kUnset;
    itemCount_ = 0;
    total_ = 0;
    played_.clear();
    played_.reserve(kItemsPerGame);
    if (draw_)
        draw_->restart();
}

QString TypingGame::drawNextItem()
{
    itemShown_ = true;
    ++itemCount_;
    typed_.clear();
    if (draw_) {
        item_ = draw_->next(random_);
        played_.append(PlayedItem{item_, 0, 0, {}});
        return item_;
    }
    const double r = random_.next();
    if (mode_ == 1) {
        const int offset = std::clamp(int(std::floor(r * 26)), 0, 25);
        item_ = QString(QChar(u'A' + offset));
    } else {
        item_ = words_ ? words_->draw(r) : QString();
    }
    played_.append(PlayedItem{item_, 0, 0, {}});
    return item_;
}

void TypingGame::startTiming()
{
    startTicks_ = clock_.ticks();
}

TypingGame::KeyResult TypingGame::typeCharacter(QChar c)
{
    const QChar upper = Windows1252::toUpper(c);
    const qsizetype position = typed_.size();
    if (position >= item_.size() || upper != item_.at(position)) {
        ++errors_;
        if (!played_.isEmpty())
            played_.last().mistakes.append({position < item_.size() ? item_.at(position) : QChar(), upper});
        return KeyResult::Wrong;
    }
    typed_.append(upper);
    return typed_.size() >= item_.size() ? KeyResult::Completed : KeyResult::Right;
}

TypingGame::ItemResult TypingGame::completeItem()
{
    endTicks_ = clock_.ticks();
    itemShown_ = false;

    ItemResult r;
    r.rawMs = endTicks_ - startTicks_;
    r.time = Statistics::itemTime(r.rawMs, errors_);
    total_ += r.time;
    if (r.time < mini_) {
        mini_ = r.time;
        r.newGameBest = true;
    }
    average_ = Statistics::average(total_, itemCount_);
    r.mini = mini_;
    r.average = average_;
    r.number = itemCount_;
    if (!played_.isEmpty()) {
        played_.last().rawMs = r.rawMs;
        played_.last().timeMs = r.time;
    }
    errors_ = 0;
    return r;
}
