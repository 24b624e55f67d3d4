#include "history/PlayerErasure.h"

#include "game/session/PlayerNames.h"
#include "history/PostgresStore.h"
#include "history/ServerSchema.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

QAtomicInt fileConnections;

QString quoted(const QString &text)
{
    return QStringLiteral("«\u00A0%1\u00A0»").arg(text);
}

QString firstLine(const QSqlError &error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.trimmed().section(QLatin1Char('\n'), 0, 0).trimmed();
}

const QString kNoRight = QStringLiteral("ce rôle n'a pas le droit d'effacer des parties\u00A0: lancez la commande "
                                         "avec l'adresse du rôle propriétaire des tables "
                                         "(--historique-serveur postgresql://propriétaire@hôte/base).");

QString gamesText(qint64 games)
{
    return games == 1 ? QStringLiteral("1 partie") : QStringLiteral("%1 parties").arg(games);
}

RoomCommandResult refused(const QString &message)
{
    return {2, QString(), QStringLiteral("clavimo\u00A0: %1\n").arg(message)};
}

// The names stored for the player, and how many games they hold.
struct Found
{
    QStringList names;
    qint64 games = 0;
};

std::optional<Found> find(QSqlQuery &q, const QString &player)
{
    if (!q.exec(QStringLiteral("SELECT player, count(*) FROM games GROUP BY player")))
        return std::nullopt;
    const QString key = PlayerNames::comparisonKey(player);
    Found found;
    while (q.next()) {
        if (PlayerNames::comparisonKey(q.value(0).toString()) == key) {
            found.names << q.value(0).toString();
            found.games += q.value(1).toLongLong();
        }
    }
    return found;
}

// Deletes the rows of the games of `names`, children first; the number of games removed.
std::optional<qint64> remove(QSqlQuery &q, const QStringList &names, bool outbox)
{
    const QString games = QStringLiteral("SELECT id FROM games WHERE player IN (%1)")
                              .arg(QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(',')));
    QStringList statements;
    for (const char *child : {"items", "mistakes", "expected_chars"})
        statements << QStringLiteral("DELETE FROM %1 WHERE game_id IN (%2)").arg(QLatin1String(child), games);
    if (outbox)
        statements << QStringLiteral("DELETE FROM outbox WHERE game_id IN (%1)").arg(games);
    statements << QStringLiteral("DELETE FROM games WHERE player IN (%1)")
                      .arg(QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(',')));
    for (const QString &sql : statements) {
        if (!q.prepare(sql))
            return std::nullopt;
        for (const QString &name : names)
            q.addBindValue(name);
        if (!q.exec())
            return std::nullopt;
    }
    return q.numRowsAffected();
}

// Counts, asks, and erases in one transaction on an open history.
RoomCommandResult eraseIn(const QSqlDatabase &db, const QString &where, const QString &player, bool outbox,
                          bool sqlite, const std::function<bool(const QString &)> &confirm)
{
    QSqlQuery q(db);
    const auto failed = [&q](const QString &what) {
        const QSqlError error = q.lastError();
        q.exec(QStringLiteral("ROLLBACK"));
        if (error.nativeErrorCode() == QLatin1String("42501"))
            return refused(kNoRight);
        return refused(QStringLiteral("%1 (%2).").arg(what, firstLine(error)));
    };
    const auto counted = find(q, player);
    if (!counted)
        return failed(QStringLiteral("l'historique n'a pas pu être lu"));
    const QString shown = PlayerNames::trimSpaces(player);
    if (counted->games == 0)
        return {0, QStringLiteral("Aucune partie de %1 dans l'historique %2\u00A0: rien n'a été effacé.\n")
                       .arg(quoted(shown), quoted(where)),
                QString()};
    const bool one = counted->games == 1;
    if (!confirm(QStringLiteral("Effacer %1 de %2 de l'historique %3\u00A0? %4")
                     .arg(one ? QStringLiteral("la partie") : QStringLiteral("les ") + gamesText(counted->games),
                          quoted(shown), quoted(where),
                          one ? QStringLiteral("Elle ne pourra pas être retrouvée.")
                              : QStringLiteral("Elles ne pourront pas être retrouvées."))))
        return {1, QStringLiteral("Rien n'a été effacé.\n"), QString()};

    // The names are read again inside the transaction, so that a game of the player that
    // arrived meanwhile goes too.
    if (!q.exec(sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN")))
        return failed(QStringLiteral("l'historique n'a pas pu être changé"));
    const auto found = find(q, player);
    if (!found)
        return failed(QStringLiteral("l'historique n'a pas pu être lu"));
    const auto removed = found->names.isEmpty() ? std::optional<qint64>(0) : remove(q, found->names, outbox);
    if (!removed || !q.exec(QStringLiteral("COMMIT")))
        return failed(QStringLiteral("rien n'a été effacé"));
    QString text = QStringLiteral("%1 de %2 %3 de l'historique %4")
                       .arg(gamesText(*removed), quoted(shown),
                            *removed == 1 ? QStringLiteral("effacée") : QStringLiteral("effacées"), quoted(where));
    if (found->names.size() > 1 || (!found->names.isEmpty() && found->names.constFirst() != shown))
        text += QStringLiteral(" (noms trouvés\u00A0: %1)").arg(found->names.join(QStringLiteral(", ")));
    return {0, text + QStringLiteral(".\n"), QString()};
}

RoomCommandResult eraseOnServer(const ServerAddress &address, const QString &player,
                                const std::function<bool(const QString &)> &confirm)
{
    PostgresStore store(address);
    if (store.connect() != PostgresStore::Status::Ready)
        return refused(QStringLiteral("le serveur %1 ne peut pas être utilisé (%2).")
                           .arg(quoted(address.display()), store.problem()));
    QSqlQuery q(store.database());
    const auto schema = ServerSchema::inspect(q);
    if (!schema)
        return refused(QStringLiteral("le serveur %1 ne peut pas être lu (%2).")
                           .arg(quoted(address.display()), firstLine(q.lastError())));
    switch (schema->state) {
    case ServerSchema::State::Missing:
    case ServerSchema::State::Foreign:
        return refused(QStringLiteral("la base du serveur %1 ne contient pas l'historique de Clavimo.")
                           .arg(quoted(address.display())));
    case ServerSchema::State::Newer:
        return refused(QStringLiteral("la base du serveur %1 a été préparée par une version plus récente de "
                                      "Clavimo\u00A0: rien n'y a été changé.")
                           .arg(quoted(address.display())));
    case ServerSchema::State::Older:
    case ServerSchema::State::Current:
        break;
    }
    // The computers' role is told before any question that it may not erase.
    if (!q.exec(QStringLiteral("SELECT bool_and(has_table_privilege(t, 'DELETE')) FROM unnest(ARRAY['games', 'items',"
                               " 'mistakes', 'expected_chars']) AS t"))
        || !q.next())
        return refused(QStringLiteral("le serveur %1 ne peut pas être lu (%2).")
                           .arg(quoted(address.display()), firstLine(q.lastError())));
    if (!q.value(0).toBool())
        return refused(kNoRight);
    return eraseIn(store.database(), address.display(), player, false, false, confirm);
}

RoomCommandResult eraseInFile(const QString &file, const QString &player,
                              const std::function<bool(const QString &)> &confirm)
{
    const QString shown = QFileInfo(file).absoluteFilePath();
    if (!QFileInfo(file).isFile())
        return {0, QStringLiteral("Aucun historique dans %1\u00A0: rien n'a été effacé.\n").arg(quoted(shown)), QString()};
    const QString name = QStringLiteral("clavimo-erase-%1").arg(fileConnections.fetchAndAddRelaxed(1));
    RoomCommandResult result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        // The game may be writing a game in the same file: wait for it rather than fail.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        QSqlQuery q(db);
        if (!db.open() || !q.exec(QStringLiteral("SELECT count(*), sum(name = 'outbox') FROM sqlite_master"
                                                 " WHERE type = 'table' AND name IN ('games', 'items', 'mistakes',"
                                                 " 'expected_chars', 'outbox')"))
            || !q.next()) {
            result = refused(QStringLiteral("le fichier %1 n'a pas pu être lu comme un historique (%2).")
                                 .arg(quoted(shown), firstLine(db.isOpen() ? q.lastError() : db.lastError())));
        } else if (q.value(0).toInt() - q.value(1).toInt() < 4) {
            result = refused(QStringLiteral("le fichier %1 n'est pas un historique de Clavimo.").arg(quoted(shown)));
        } else {
            const bool outbox = q.value(1).toInt() > 0;
            q.finish();
            result = eraseIn(db, shown, player, outbox, true, confirm);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

} // namespace

RoomCommandResult erasePlayer(const std::optional<ServerAddress> &server, const QString &file, const QString &player,
                              const std::function<bool(const QString &question)> &confirm)
{
    if (PlayerNames::trimSpaces(player).isEmpty())
        return refused(QStringLiteral("le nom du joueur à effacer est vide."));
    return server ? eraseOnServer(*server, player, confirm) : eraseInFile(file, player, confirm);
}
