#pragma once

#include <QString>

#include <optional>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

// The tables of a classroom's server and their versions. The schema is made and migrated
// only by the room's preparation, connected as the role that owns the tables; the
// computers only read which version is there.
namespace ServerSchema {

inline constexpr int kVersion = 4;

// Any number, the same in every copy of the program: the lock that lets one preparation
// at a time create or migrate the schema.
inline constexpr qint64 kLock = 0x436c6176696d6f; // "Clavimo"

enum class State {
    Current,  // made by this version of the program
    Missing,  // no table at all: never prepared
    Older,    // prepared by an older version
    Newer,    // prepared by a newer version: never written to
    Foreign,  // tables without the version table: another program's
};

struct Found
{
    State state = State::Missing;
    int version = 0;
};

// What the database's current schema holds; nothing on error, the error in `q`.
std::optional<Found> inspect(QSqlQuery &q);

// Brings the schema to kVersion, one step per transaction under the lock, so that two
// preparations at once make it once. Returns what was there before; a foreign or newer
// schema is left untouched and returned as found. Nothing on error, the error in `error`.
std::optional<Found> migrate(const QSqlDatabase &db, QSqlError *error);

} // namespace ServerSchema
