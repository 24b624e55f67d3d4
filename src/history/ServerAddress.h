#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Where the shared history of a classroom lives: a PostgreSQL server given as one
// connection URI, `postgresql://utilisateur@hôte:port/base?sslmode=...`. Only what the
// program needs is accepted, so that what reaches the driver is always well formed; the
// password is never part of it (it comes from ~/.pgpass or PGPASSWORD, read by the
// driver's client library).
struct ServerAddress
{
    QString host;       // empty: the client library's default (its local socket)
    int port = 5432;
    QString user;       // empty: the client library's default (the login name)
    QString database;
    // Without sslmode in the URI: require for a host reached over the network, prefer on
    // this machine (the loopback or the local socket), where nothing crosses the wire.
    QString sslMode = QStringLiteral("prefer");
    // Further parameters of the URI, each "name=value", already checked.
    QStringList options;

    // Reads a URI; on failure, nothing, and the reason in French in `error`.
    static std::optional<ServerAddress> parse(const QString &uri, QString *error);

    // The text shown to people: the URI without anything secret (it never holds any).
    QString display() const;
    // The connection options for the driver: the TLS mode, the given parameters, and the
    // time limits of the program (`connectTimeoutSeconds` to connect).
    QString connectOptions(int connectTimeoutSeconds) const;
};
