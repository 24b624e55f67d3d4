#include "game/ProgressData.h"

#include "game/PlayerFile.h"
#include "game/PlayerNames.h"
#include "game/RecordBook.h"
#include "game/HistoryReader.h"

#include <algorithm>
#include <limits>

namespace {

// Records still at the value a new player starts with are not shown.
std::optional<qint64> setRecord(qint16 value)
{
    if (value <= 0 || value >= PlayerRecord::kUnset)
        return std::nullopt;
    return value;
}

} // namespace

ProgressData loadProgress(HistoryReader &history, const QString &player, int mode)
{
    ProgressData data;
    data.player = player;
    data.mode = mode;
    data.games = history.games(player, mode);
    if (!data.games.isEmpty())
        data.characters = history.characterCounts(player, mode);
    readPersonalRecords(PlayerFile::fileNameFor(mode), player, &data);
    return data;
}

void readPersonalRecords(const QString &path, const QString &player, ProgressData *data)
{
    data->recordMini.reset();
    data->recordAverage.reset();
    PlayerFile file;
    if (player.isEmpty() || !file.openReadOnly(path))
        return;
    const RecordBook::Lookup found = RecordBook::lookUpPlayer(file, player);
    if (found.recordNumber > 0) {
        data->recordMini = setRecord(found.record.Mini);
        data->recordAverage = setRecord(found.record.Average);
    }
}

QStringList progressPlayers(const QStringList &historyPlayers, const QString &current)
{
    QStringList names = historyPlayers;
    if (!current.isEmpty() && !names.contains(current))
        names.append(current);
    names.removeAll(QString());
    names.removeDuplicates();
    return PlayerNames::Order().sorted(names);
}

QString defaultPlayer(const QStringList &players, const QString &current)
{
    if (!current.isEmpty() && players.contains(current))
        return current;
    return players.value(0);
}

ChartData chartData(const ProgressData &data)
{
    ChartData out;
    out.recordMini = data.recordMini;
    out.recordAverage = data.recordAverage;
    qint64 lowest = std::numeric_limits<qint64>::max();
    qint64 highest = std::numeric_limits<qint64>::min();
    auto take = [&](qint64 v) {
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    };
    for (const GameSummary &g : data.games) {
        if (!g.finishedAt.isValid())
            continue;
        const qreal x = qreal(g.finishedAt.toMSecsSinceEpoch());
        if (g.practice) {
            out.practiceAverages.append(QPointF(x, qreal(g.average)));
            take(g.average);
            continue;
        }
        out.averages.append(QPointF(x, qreal(g.average)));
        out.minis.append(QPointF(x, qreal(g.mini)));
        take(g.average);
        take(g.mini);
    }
    for (const std::optional<qint64> &record : {data.recordMini, data.recordAverage}) {
        if (record)
            take(*record);
    }
    if (lowest > highest) { // nothing to show
        lowest = 0;
        highest = 1000;
    }
    // A tenth of the span on each side, at least 50 ms, never below 0.
    const qint64 margin = std::max<qint64>(50, (highest - lowest) / 10);
    out.lowest = std::max<qint64>(0, lowest - margin);
    out.highest = highest + margin;

    const QList<QPointF> dated = out.averages + out.practiceAverages;
    if (dated.isEmpty()) {
        out.firstMs = 0;
        out.lastMs = 24 * 3600 * 1000;
    } else {
        out.firstMs = qint64(dated.first().x());
        out.lastMs = out.firstMs;
        for (const QPointF &p : dated) {
            out.firstMs = std::min(out.firstMs, qint64(p.x()));
            out.lastMs = std::max(out.lastMs, qint64(p.x()));
        }
        // Half a day on each side when every game is at the same moment.
        if (out.lastMs - out.firstMs < 3600 * 1000) {
            out.firstMs -= 12 * 3600 * 1000;
            out.lastMs += 12 * 3600 * 1000;
        }
        // A fortieth of the span on each side, so that no point sits on an axis.
        const qint64 pad = (out.lastMs - out.firstMs) / 40;
        out.firstMs -= pad;
        out.lastMs += pad;
    }
    return out;
}

QList<GameSummary> lastGames(const ProgressData &data, int count)
{
    QList<GameSummary> out;
    for (qsizetype i = data.games.size() - 1; i >= 0 && out.size() < count; --i)
        out.append(data.games[i]);
    return out;
}
