#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// The PostgreSQL server the suite starts for its tests (support/pg_server.sh, run by the
// CTest fixture postgres, its folder named by CLAVIMO_TEST_POSTGRES): its settings, fresh
// databases, statements run through psql, and the server frozen, crashed or put back by
// the same script. Without a server (PostgreSQL missing, or the test run outside ctest),
// available() is false and skipReason() says why.
class TestPostgres
{
public:
    TestPostgres();

    bool available() const { return reason_.isEmpty(); }
    QString skipReason() const { return reason_; }

    QString host() const { return env_.value("PG_HOST"); }
    int port() const { return env_.value("PG_PORT").toInt(); }
    QString user() const { return env_.value("PG_USER"); } // the computers' role
    QString password() const { return env_.value("PG_PASSWORD"); }
    QString ownerUser() const { return env_.value("PG_OWNER_USER"); } // owns a room
    QString ownerPassword() const { return env_.value("PG_OWNER_PASSWORD"); }
    QString adminUser() const { return env_.value("PG_ADMIN_USER"); }
    // A password file with the passwords of user() and ownerUser(), for PGPASSFILE.
    QString passwordFile() const { return dir_ + "/pgpass"; }

    // postgresql://USER@HOST:PORT/DATABASE, the user being user() by default.
    QString uri(const QString &database, const QString &user = QString()) const;
    // A fresh database owned by `owner` (user() by default), dropped first if it exists.
    bool createDatabase(const QString &name, QString *error = nullptr, const QString &owner = QString()) const;
    // Statements run as the administrator (or as `user`), each in its own transaction
    // unless the script says otherwise; the first error stops them.
    bool execute(const QString &script, const QString &database = "postgres", QString *error = nullptr,
                 const QString &user = QString()) const;
    // The rows of one statement as support/SqlitePeek.h gives them: values joined by "|",
    // rows by " / "; "error: ..." on error.
    QString query(const QString &statement, const QString &database = "postgres") const;
    // pg_server.sh COMMAND: freeze, crash or restore.
    bool control(const QString &command) const;

private:
    bool psql(const QStringList &arguments, QString *output, const QString &user = QString(),
              const QByteArray &input = QByteArray()) const;

    QString dir_;
    QString reason_;
    QMap<QString, QString> env_;
};
