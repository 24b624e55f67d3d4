#include "game/progress/ProgressData.h"

#include "game/records/PlayerFile.h"
#include "game/session/PlayerNames.h"
#include "game/records/RecordBook.h"
#include "game/progress/HistoryReader.h"

#include <algorithm>

namespace {

// Records still at the value a new player starts with are not shown.
std::optional<qint64> setRecord(qint16 value)
{
    if (value <= 0 || value >= PlayerEntry::kUnset)
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

QList<GameSummary> lastGames(const ProgressData &data, int count)
{
    QList<GameSummary> out;
    for (qsizetype i = data.games.size() - 1; i >= 0 && out.size() < count; --i)
        out.append(data.games[i]);
    return out;
}
