#pragma once

#include "game/progress/HistoryRows.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The export of a player's games for a spreadsheet: UTF-8 with a byte order mark (so that
// spreadsheets set to a Windows code page still read the accents), fields separated by
// ";", lines ending with CR LF, French column names, one line per item with its game's
// figures repeated. A field holding ";", a quote, a line end or spaces at its ends is
// quoted, its quotes doubled. Dates are the history's own (ISO 8601, UTC).
namespace HistoryCsv {

QByteArray build(const QList<ItemLine> &lines);
// Any table in the same form: the column names, then one line per row of fields.
QByteArray table(const QStringList &header, const QList<QStringList> &rows);

// A file name offered for the export: "Clavimo - <player>.csv", with the characters that
// file systems refuse replaced by "_".
QString suggestedFileName(const QString &player);

// Writes the bytes in one go: the file is either written whole or left as it was. False
// with a French reason in *error when it failed.
bool save(const QString &path, const QByteArray &bytes, QString *error);

} // namespace HistoryCsv
