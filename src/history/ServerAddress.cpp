#include "history/ServerAddress.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace {

// The TLS modes the program accepts when the URI names one: demanded, with or without a
// check of the server's certificate, used when the server offers it, or turned off.
const QStringList kSslModes = {QStringLiteral("disable"), QStringLiteral("prefer"), QStringLiteral("require"),
                               QStringLiteral("verify-ca"), QStringLiteral("verify-full")};

// Whether the host is this machine: no host (the local socket), a socket folder, the
// loopback's name or one of its addresses. Names and results of children then never
// cross the school's network, so TLS need not be demanded.
bool onThisMachine(const QString &host)
{
    if (host.isEmpty() || host.startsWith(QLatin1Char('/')) || host == QLatin1String("::1")
        || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    static const QRegularExpression loopback(QStringLiteral("^127\\.\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}$"));
    return loopback.match(host).hasMatch();
}

// Parameters a room may need besides the TLS mode: the certificates and the name shown in
// the server's activity. Everything else (timeouts, options sent to the server) is the
// program's own.
const QStringList kFileOptions = {QStringLiteral("sslrootcert"), QStringLiteral("sslcert"), QStringLiteral("sslkey"),
                                  QStringLiteral("sslcrl")};

// What a value may hold: no space, quote, backslash or semicolon, which would change the
// meaning of the option string the driver is given.
bool plainValue(const QString &value)
{
    static const QRegularExpression plain(QStringLiteral("^[^\\s'\"\\\\;]+$"));
    return plain.match(value).hasMatch();
}

// Whether the host is followed by a colon and no port ("hôte:/base"), which the URL reader
// takes for no port at all.
bool hasEmptyPort(const QString &uri)
{
    const qsizetype start = uri.indexOf(QStringLiteral("//"));
    if (start < 0)
        return false;
    QString authority = uri.mid(start + 2);
    authority.truncate(authority.indexOf(QRegularExpression(QStringLiteral("[/?#]"))) >= 0
                           ? authority.indexOf(QRegularExpression(QStringLiteral("[/?#]")))
                           : authority.size());
    authority = authority.mid(authority.lastIndexOf(QLatin1Char('@')) + 1);
    authority = authority.mid(authority.lastIndexOf(QLatin1Char(']')) + 1);
    return authority.endsWith(QLatin1Char(':'));
}

QString quoted(const QString &text)
{
    return QStringLiteral("«\u00A0%1\u00A0»").arg(text);
}

} // namespace

std::optional<ServerAddress> ServerAddress::parse(const QString &uri, QString *error)
{
    auto refuse = [error](const QString &why) {
        *error = why;
        return std::optional<ServerAddress>();
    };
    const QString text = uri.trimmed();
    if (text.isEmpty())
        return refuse(QStringLiteral("l'adresse du serveur d'historique est vide."));
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return refuse(QStringLiteral("l'adresse du serveur d'historique %1 est illisible.").arg(quoted(text)));
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("postgresql") && scheme != QLatin1String("postgres"))
        return refuse(QStringLiteral("l'adresse du serveur d'historique doit commencer par "
                                     "«\u00A0postgresql://\u00A0», pas %1.")
                          .arg(quoted(text)));
    if (!url.password().isEmpty())
        return refuse(QStringLiteral("l'adresse du serveur d'historique ne doit pas contenir de mot de passe "
                                     "(mettez-le dans le fichier ~/.pgpass de l'utilisateur)."));

    ServerAddress address;
    address.host = url.host(QUrl::FullyDecoded);
    address.user = url.userName(QUrl::FullyDecoded);
    if (url.port() == 0)
        return refuse(QStringLiteral("le port du serveur d'historique est invalide dans %1.").arg(quoted(text)));
    if (url.port() > 0)
        address.port = url.port();
    else if (hasEmptyPort(text))
        return refuse(QStringLiteral("le port du serveur d'historique est invalide dans %1.").arg(quoted(text)));
    QString path = url.path(QUrl::FullyDecoded);
    if (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    address.database = path;
    if (address.database.isEmpty() || address.database.contains(QLatin1Char('/')))
        return refuse(QStringLiteral("l'adresse du serveur d'historique %1 ne nomme pas de base de données "
                                     "(postgresql://utilisateur@hôte:port/base).")
                          .arg(quoted(text)));
    for (const QString &part : {address.host, address.user, address.database}) {
        if (!part.isEmpty() && !plainValue(part))
            return refuse(QStringLiteral("l'adresse du serveur d'historique %1 contient un caractère non permis "
                                         "(espace, guillemet, barre oblique inverse ou point-virgule).")
                              .arg(quoted(text)));
    }

    address.sslMode = onThisMachine(address.host) ? QStringLiteral("prefer") : QStringLiteral("require");
    const QUrlQuery query(url);
    for (const auto &[name, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (!plainValue(value))
            return refuse(QStringLiteral("la valeur du paramètre %1 est invalide dans l'adresse du serveur "
                                         "d'historique.")
                              .arg(quoted(name)));
        if (name == QLatin1String("sslmode")) {
            if (!kSslModes.contains(value))
                return refuse(QStringLiteral("sslmode=%1 n'est pas accepté pour le serveur d'historique "
                                             "(disable, prefer, require, verify-ca ou verify-full).")
                                  .arg(value));
            address.sslMode = value;
        } else if (kFileOptions.contains(name) || name == QLatin1String("application_name")) {
            address.options << name + QLatin1Char('=') + value;
        } else {
            return refuse(QStringLiteral("le paramètre %1 de l'adresse du serveur d'historique est inconnu "
                                         "(sslmode, sslrootcert, sslcert, sslkey, sslcrl ou application_name).")
                              .arg(quoted(name)));
        }
    }
    return address;
}

QString ServerAddress::display() const
{
    QString text = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        text += user + QLatin1Char('@');
    text += host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    text += QStringLiteral(":%1/%2").arg(port).arg(database);
    return text;
}

QString ServerAddress::connectOptions(int connectTimeoutSeconds) const
{
    QStringList parts{QStringLiteral("sslmode=") + sslMode,
                      QStringLiteral("connect_timeout=%1").arg(connectTimeoutSeconds),
                      // A server that vanished without closing the connection is noticed
                      // within about twenty seconds instead of the system's two hours.
                      QStringLiteral("keepalives_idle=10"), QStringLiteral("keepalives_interval=3"),
                      QStringLiteral("keepalives_count=3"), QStringLiteral("tcp_user_timeout=20000")};
    parts += options;
    if (!options.join(QLatin1Char(' ')).contains(QLatin1String("application_name=")))
        parts << QStringLiteral("application_name=clavimo");
    return parts.join(QLatin1Char(';'));
}
