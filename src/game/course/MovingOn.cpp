#include "game/course/MovingOn.h"

#include "game/course/CourseKeys.h"

#include <algorithm>

namespace MovingOn {

Verdict judge(const QList<QChar> &learnt, const QList<LessonGame> &latest, int targetMs)
{
    Verdict v;
    for (QChar key : learnt) {
        KeyFigures f{key};
        for (const LessonGame &game : latest) {
            for (auto item = game.items.crbegin(); item != game.items.crend() && f.seen < kAppearances; ++item) {
                const int shown = int(item->shown.count(key));
                const int taken = std::min(shown, kAppearances - f.seen);
                f.wrong += std::min<int>(taken, int(item->missed.count(key)));
                f.seen += taken;
            }
        }
        v.keys << f;
    }
    if (!latest.isEmpty()) {
        qint64 ms = 0, characters = 0;
        for (const LessonItem &item : latest.first().items) {
            ms += item.timeMs;
            characters += item.shown.size();
        }
        if (characters > 0)
            v.meanMsPerKey = double(ms) / double(characters);
    }
    v.ready = !learnt.isEmpty() && v.meanMsPerKey >= 0 && v.meanMsPerKey < targetMs
        && std::all_of(v.keys.cbegin(), v.keys.cend(), [](const KeyFigures &f) { return f.good(); });
    return v;
}

int keysInPlay(const LessonHistory &history, const QList<QChar> &order, int targetMs)
{
    const int size = int(order.size());
    const int keys = std::min(size, std::max(CourseKeys::kHomeRow, history.mostKeys));
    if (keys <= 0)
        return 0;
    if (keys < size && judge(order.mid(0, keys), history.latest, targetMs).ready)
        return keys + 1;
    return keys;
}

} // namespace MovingOn
