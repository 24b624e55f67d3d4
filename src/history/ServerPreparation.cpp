#include "history/ServerPreparation.h"

#include "history/PostgresStore.h"
#include "history/ServerSchema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

// The tables the games go into, and the sequences that number their rows.
const QStringList kGameTables = {QStringLiteral("games"), QStringLiteral("items"), QStringLiteral("mistakes"),
                                 QStringLiteral("expected_chars")};
const QStringList kSequences = {QStringLiteral("games_id_seq"), QStringLiteral("mistakes_id_seq")};

QString quoted(const QString &text)
{
    return QStringLiteral("«\u00A0%1\u00A0»").arg(text);
}

// A name as SQL reads it, whatever it holds.
QString identifier(const QString &name)
{
    QString out = name;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

RoomCommandResult refused(const QString &message)
{
    return {2, QString(), QStringLiteral("clavimo\u00A0: %1\n").arg(message)};
}

QString firstLine(const QSqlError &error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.trimmed().section(QLatin1Char('\n'), 0, 0).trimmed();
}

// Who connects, whose database it is, and what the computers' role is.
struct Roles
{
    QString preparer;
    QString database;
    QString schema;
    QString databaseOwner;
    bool ownsDatabase = false;
    bool roomExists = false;
    bool roomIsSuperuser = false;
    qint64 roomObjects = 0; // tables and sequences of the schema that the computers' role owns
};

std::optional<Roles> readRoles(QSqlQuery &q, const QString &room)
{
    q.prepare(QStringLiteral(
        "SELECT current_user, current_database(), current_schema(), pg_get_userbyid(d.datdba),"
        " pg_has_role(current_user, d.datdba, 'MEMBER'), r.oid IS NOT NULL, COALESCE(r.rolsuper, false),"
        " (SELECT count(*) FROM pg_class AS c WHERE c.relnamespace = to_regnamespace(current_schema())"
        "  AND c.relowner = r.oid)"
        " FROM pg_database AS d LEFT JOIN pg_roles AS r ON r.rolname = ? WHERE d.datname = current_database()"));
    q.addBindValue(room);
    if (!q.exec() || !q.next())
        return std::nullopt;
    Roles r;
    r.preparer = q.value(0).toString();
    r.database = q.value(1).toString();
    r.schema = q.value(2).toString();
    r.databaseOwner = q.value(3).toString();
    r.ownsDatabase = q.value(4).toBool();
    r.roomExists = q.value(5).toBool();
    r.roomIsSuperuser = q.value(6).toBool();
    r.roomObjects = q.value(7).toLongLong();
    return r;
}

// The statements that leave the computers' role with reading and adding games only.
QStringList grants(const Roles &r, const QString &room)
{
    const QString role = identifier(room);
    const QString schema = identifier(r.schema);
    QStringList tables;
    for (const QString &t : kGameTables)
        tables << identifier(t);
    QStringList sequences;
    for (const QString &s : kSequences)
        sequences << identifier(s);
    return {
        // Connecting: the computers' role and the owner only.
        QStringLiteral("REVOKE ALL ON DATABASE %1 FROM PUBLIC, %2").arg(identifier(r.database), role),
        QStringLiteral("GRANT CONNECT ON DATABASE %1 TO %2").arg(identifier(r.database), role),
        // Reaching the tables, and creating nothing beside them.
        QStringLiteral("REVOKE ALL ON SCHEMA %1 FROM PUBLIC, %2").arg(schema, role),
        QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2").arg(schema, role),
        QStringLiteral("REVOKE ALL ON ALL TABLES IN SCHEMA %1 FROM PUBLIC, %2").arg(schema, role),
        QStringLiteral("REVOKE ALL ON ALL SEQUENCES IN SCHEMA %1 FROM PUBLIC, %2").arg(schema, role),
        // Sending a game and reading the progression; the version, to know the schema.
        QStringLiteral("GRANT SELECT, INSERT ON %1 TO %2").arg(tables.join(QStringLiteral(", ")), role),
        QStringLiteral("GRANT SELECT ON clavimo_schema TO %1").arg(role),
        // The numbers of the new rows.
        QStringLiteral("GRANT USAGE ON SEQUENCE %1 TO %2").arg(sequences.join(QStringLiteral(", ")), role),
    };
}

// The rights the computers' role still has beyond what it was given, read back from the
// server (directly or through the roles it belongs to): empty when the room is as meant.
QStringList extraRights(QSqlQuery &q, const Roles &r, const QString &room)
{
    QStringList extra;
    q.prepare(QStringLiteral("SELECT has_schema_privilege(?, current_schema(), 'CREATE'),"
                             " has_database_privilege(?, current_database(), 'CREATE, TEMPORARY')"));
    q.addBindValue(room);
    q.addBindValue(room);
    if (q.exec() && q.next()) {
        if (q.value(0).toBool())
            extra << QStringLiteral("CREATE sur le schéma %1").arg(r.schema);
        if (q.value(1).toBool())
            extra << QStringLiteral("CREATE ou TEMPORARY sur la base %1").arg(r.database);
    }
    const QString changing = QStringLiteral("UPDATE, DELETE, TRUNCATE, REFERENCES, TRIGGER");
    for (const QString &table : kGameTables + QStringList{QStringLiteral("clavimo_schema")}) {
        q.prepare(QStringLiteral("SELECT has_table_privilege(?, ?, ?)"));
        q.addBindValue(room);
        q.addBindValue(table);
        q.addBindValue(table == QLatin1String("clavimo_schema") ? changing + QStringLiteral(", INSERT") : changing);
        if (q.exec() && q.next() && q.value(0).toBool())
            extra << QStringLiteral("modifier ou effacer dans %1").arg(table);
    }
    return extra;
}

} // namespace

RoomCommandResult prepareServer(const ServerAddress &owner, const QString &room)
{
    PostgresStore store(owner);
    if (store.connect() != PostgresStore::Status::Ready)
        return refused(QStringLiteral("le serveur %1 ne peut pas être utilisé (%2).")
                           .arg(quoted(owner.display()), store.problem()));
    const QSqlDatabase db = store.database();
    QSqlQuery q(db);
    const auto roles = readRoles(q, room);
    if (!roles)
        return refused(QStringLiteral("erreur du serveur\u00A0: %1.").arg(firstLine(q.lastError())));
    const Roles &r = *roles;
    if (!r.roomExists)
        return refused(QStringLiteral("le rôle %1 n'existe pas sur le serveur\u00A0; créez-le d'abord "
                                      "(CREATE ROLE %2 LOGIN PASSWORD '…').")
                           .arg(quoted(room), identifier(room)));
    if (room == r.preparer)
        return refused(QStringLiteral("le rôle des ordinateurs %1 ne peut pas préparer le serveur lui-même\u00A0: "
                                      "lancez la commande avec l'adresse du rôle propriétaire de la base.")
                           .arg(quoted(room)));
    if (r.roomIsSuperuser)
        return refused(QStringLiteral("le rôle %1 est superutilisateur du serveur\u00A0: aucun droit ne le limite.")
                           .arg(quoted(room)));
    if (r.databaseOwner == room || r.roomObjects > 0)
        return refused(QStringLiteral("la base %1 ou ses tables appartiennent encore au rôle des ordinateurs %2 "
                                      "(ancienne installation)\u00A0: avec son mot de passe, chaque élève pourrait "
                                      "tout effacer. Confiez-les au rôle %3 en lançant, en superutilisateur de "
                                      "PostgreSQL, dans la base %1\u00A0:\n"
                                      "    ALTER DATABASE %4 OWNER TO %5;\n"
                                      "    REASSIGN OWNED BY %6 TO %5;\n"
                                      "puis relancez clavimo --preparer-serveur.")
                           .arg(quoted(r.database), quoted(room), quoted(r.preparer), identifier(r.database),
                                identifier(r.preparer), identifier(room)));
    if (!r.ownsDatabase)
        return refused(QStringLiteral("le rôle %1 n'est pas propriétaire de la base %2 (elle appartient à %3)\u00A0: "
                                      "lancez la commande avec l'adresse du propriétaire.")
                           .arg(quoted(r.preparer), quoted(r.database), quoted(r.databaseOwner)));

    QSqlError error;
    const auto before = ServerSchema::migrate(db, &error);
    if (!before)
        return refused(QStringLiteral("les tables n'ont pas pu être préparées (%1).").arg(firstLine(error)));
    if (before->state == ServerSchema::State::Foreign)
        return refused(QStringLiteral("la base %1 contient les tables d'un autre programme\u00A0: rien n'y a été changé.")
                           .arg(quoted(r.database)));
    if (before->state == ServerSchema::State::Newer)
        return refused(QStringLiteral("la base %1 a été préparée par une version plus récente de Clavimo\u00A0: "
                                      "rien n'y a été changé.")
                           .arg(quoted(r.database)));

    // The rights in one transaction: a room is never left half prepared.
    bool granted = q.exec(QStringLiteral("BEGIN"));
    for (const QString &statement : grants(r, room)) {
        if (granted)
            granted = q.exec(statement);
    }
    if (granted)
        granted = q.exec(QStringLiteral("COMMIT"));
    if (!granted) {
        error = q.lastError();
        q.exec(QStringLiteral("ROLLBACK"));
        return refused(QStringLiteral("les droits n'ont pas pu être donnés (%1).").arg(firstLine(error)));
    }

    const int version = ServerSchema::kVersion;
    QString text = QStringLiteral("Base %1 du serveur %2\u00A0:\n").arg(quoted(r.database), quoted(owner.display()));
    if (before->state == ServerSchema::State::Missing)
        text += QStringLiteral("- tables de Clavimo créées (version %1)\u00A0;\n").arg(version);
    else if (before->state == ServerSchema::State::Older)
        text += QStringLiteral("- tables mises à jour de la version %1 à la version %2\u00A0;\n").arg(before->version).arg(version);
    else
        text += QStringLiteral("- tables déjà à la version %1\u00A0;\n").arg(version);
    text += QStringLiteral("- le rôle %1 peut lire et ajouter des parties (SELECT et INSERT sur %2\u00A0; SELECT sur "
                           "clavimo_schema\u00A0; USAGE sur %3)\u00A0;\n"
                           "- il ne peut ni modifier ni effacer une partie, ni créer, changer ou supprimer une table "
                           "(tous les autres droits retirés, à lui et à PUBLIC)\u00A0;\n"
                           "- seuls le propriétaire %4 et le rôle %1 peuvent se connecter à la base.\n")
                .arg(quoted(room), kGameTables.join(QStringLiteral(", ")), kSequences.join(QStringLiteral(", ")),
                     quoted(r.preparer));
    const QStringList extra = extraRights(q, r, room);
    if (!extra.isEmpty())
        return {2, text,
                QStringLiteral("clavimo\u00A0: le rôle %1 garde pourtant des droits en trop (%2), sans doute par un "
                               "rôle dont il est membre ou par le propriétaire du schéma\u00A0; retirez-les en "
                               "superutilisateur de PostgreSQL.\n")
                    .arg(quoted(room), extra.join(QStringLiteral(", ")))};
    return {0, text, QString()};
}
