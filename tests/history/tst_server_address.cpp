// Guards how a classroom's server is named: the URIs a room's settings or the command line
// may give, what reaches the database driver from them, and the French reason for each one
// refused, so that nothing but a well-formed, password-free address is ever used.
#include "history/ServerAddress.h"
#include "history/ServerSetting.h"
#include "support/TestDoubles.h"

#include <QtTest>

class TestServerAddress : public QObject
{
    Q_OBJECT

private slots:
    // An accepted URI is shown as "display | driver options"; a refused one as "! reason".
    void parse_data()
    {
        QTest::addColumn<QString>("uri");
        QTest::addColumn<QString>("expected");
        const QString limits = ";connect_timeout=2;keepalives_idle=10;keepalives_interval=3;keepalives_count=3;"
                               "tcp_user_timeout=20000";
        QTest::newRow("whole") << "postgresql://prof@salle-12:5433/clavimo"
                               << "postgresql://prof@salle-12:5433/clavimo | sslmode=require" + limits
                                      + ";application_name=clavimo";
        QTest::newRow("short scheme, default port") << "postgres://prof@serveur/classe"
                                                    << "postgresql://prof@serveur:5432/classe | sslmode=require" + limits
                                                           + ";application_name=clavimo";
        // The host name reaches the resolver in its ASCII form.
        QTest::newRow("host with an accent") << "postgresql://élève@hôte.école.fr/base"
                                             << "postgresql://élève@xn--hte-kna.xn--cole-9oa.fr:5432/base | sslmode=require" + limits
                                                    + ";application_name=clavimo";
        QTest::newRow("IPv6 and TLS demanded") << "postgresql://prof@[::1]:6543/base?sslmode=verify-full&sslrootcert=/etc/ca.pem"
                                               << "postgresql://prof@[::1]:6543/base | sslmode=verify-full" + limits
                                                      + ";sslrootcert=/etc/ca.pem;application_name=clavimo";
        QTest::newRow("own application name") << "postgresql://p@h/b?application_name=salle12"
                                              << "postgresql://p@h:5432/b | sslmode=require" + limits
                                                     + ";application_name=salle12";
        QTest::newRow("spaces around") << "  postgresql://p@h/b \n" << "postgresql://p@h:5432/b | sslmode=require" + limits
                                                                           + ";application_name=clavimo";
        QTest::newRow("empty") << "" << "! l'adresse du serveur d'historique est vide.";
        QTest::newRow("other scheme") << "mysql://p@h/b" << "! l'adresse du serveur d'historique doit commencer par "
                                                            "«\u00A0postgresql://\u00A0», pas «\u00A0mysql://p@h/b\u00A0».";
        QTest::newRow("a password") << "postgresql://p:secret@h/b"
                                    << "! l'adresse du serveur d'historique ne doit pas contenir de mot de passe "
                                       "(mettez-le dans le fichier ~/.pgpass de l'utilisateur).";
        QTest::newRow("no database") << "postgresql://p@h:5432" << "! l'adresse du serveur d'historique «\u00A0postgresql://p@h:5432\u00A0» "
                                                                   "ne nomme pas de base de données (postgresql://utilisateur@hôte:port/base).";
        QTest::newRow("database path") << "postgresql://p@h/a/b" << "! l'adresse du serveur d'historique «\u00A0postgresql://p@h/a/b\u00A0» "
                                                                    "ne nomme pas de base de données (postgresql://utilisateur@hôte:port/base).";
        QTest::newRow("port zero") << "postgresql://p@h:0/b" << "! le port du serveur d'historique est invalide dans «\u00A0postgresql://p@h:0/b\u00A0».";
        QTest::newRow("port too large") << "postgresql://p@h:70000/b" << "! l'adresse du serveur d'historique «\u00A0postgresql://p@h:70000/b\u00A0» est illisible.";
        QTest::newRow("port not a number") << "postgresql://p@h:abc/b" << "! l'adresse du serveur d'historique «\u00A0postgresql://p@h:abc/b\u00A0» est illisible.";
        QTest::newRow("colon, no port") << "postgresql://p@h:/b" << "! le port du serveur d'historique est invalide dans «\u00A0postgresql://p@h:/b\u00A0».";
        // TLS is demanded off this machine unless the URI says otherwise.
        for (const auto &[host, mode] : {std::pair("localhost", "prefer"), {"127.0.0.2", "prefer"}, {"[::1]", "prefer"},
                                         {"", "prefer"}, {"127.0.0.1.ecole.fr", "require"}, {"10.0.0.1", "require"}})
            QTest::newRow(host) << QStringLiteral("postgresql://p@%1/b").arg(host)
                                << QStringLiteral("postgresql://p@%1:5432/b | sslmode=%2").arg(host, mode) + limits
                                       + ";application_name=clavimo";
        QTest::newRow("prefer written") << "postgresql://p@h/b?sslmode=prefer"
                                        << "postgresql://p@h:5432/b | sslmode=prefer" + limits + ";application_name=clavimo";
        QTest::newRow("TLS turned off") << "postgresql://p@h/b?sslmode=disable"
                                        << "postgresql://p@h:5432/b | sslmode=disable" + limits + ";application_name=clavimo";
        QTest::newRow("unknown TLS mode") << "postgresql://p@h/b?sslmode=allow"
                                          << "! sslmode=allow n'est pas accepté pour le serveur d'historique (disable, prefer, require, verify-ca ou verify-full).";
        QTest::newRow("unknown parameter") << "postgresql://p@h/b?options=-csearch_path%3Dx"
                                           << "! le paramètre «\u00A0options\u00A0» de l'adresse du serveur d'historique est inconnu "
                                              "(sslmode, sslrootcert, sslcert, sslkey, sslcrl ou application_name).";
        QTest::newRow("option smuggled in a value") << "postgresql://p@h/b?application_name=x%20sslmode%3Ddisable"
                                                    << "! la valeur du paramètre «\u00A0application_name\u00A0» est invalide dans "
                                                       "l'adresse du serveur d'historique.";
        QTest::newRow("quote in the user") << "postgresql://a%27b@h/b"
                                           << "! l'adresse du serveur d'historique «\u00A0postgresql://a%27b@h/b\u00A0» contient un caractère "
                                              "non permis (espace, guillemet, barre oblique inverse ou point-virgule).";
        QTest::newRow("semicolon in the database") << "postgresql://p@h/a%3Bsslmode=disable"
                                                   << "! l'adresse du serveur d'historique «\u00A0postgresql://p@h/a%3Bsslmode=disable\u00A0» "
                                                      "contient un caractère non permis (espace, guillemet, barre oblique inverse ou point-virgule).";
        QTest::newRow("not a URI") << "salle-12" << "! l'adresse du serveur d'historique doit commencer par "
                                                    "«\u00A0postgresql://\u00A0», pas «\u00A0salle-12\u00A0».";
    }
    void parse()
    {
        QFETCH(QString, uri);
        QFETCH(QString, expected);
        QString error;
        const auto address = ServerAddress::parse(uri, &error);
        const QString found = address ? address->display() + " | " + address->connectOptions(2) : "! " + error;
        QCOMPARE(found, expected);
    }

    // The user's settings file wins over the computer's, the command line over both; an
    // empty value in the user's file turns the computer's server off.
    void setting_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("userFile");
        QTest::addColumn<QString>("systemFile");
        QTest::addColumn<QString>("expected");
        const QString room = "[historique]\nserveur=postgresql://salle@serveur/classe\n";
        const QString own = "[historique]\nserveur=postgresql://moi@ailleurs/perso\n";
        QTest::newRow("nothing") << QString() << "" << "" << " | ";
        QTest::newRow("computer's file") << QString() << "" << room << "postgresql://salle@serveur/classe | system";
        QTest::newRow("user's file wins") << QString() << own << room << "postgresql://moi@ailleurs/perso | user";
        QTest::newRow("user's file without the key") << QString() << "[autre]\nx=1\n" << room
                                                     << "postgresql://salle@serveur/classe | system";
        QTest::newRow("user turns it off") << QString() << "[historique]\nserveur=\n" << room << " | user";
        QTest::newRow("command line wins") << "postgresql://cli@h/b" << own << room
                                           << "postgresql://cli@h/b | --historique-serveur";
        QTest::newRow("comma kept") << QString() << "[historique]\nserveur=postgresql://p@h/b?application_name=a,b\n" << ""
                                    << "postgresql://p@h/b?application_name=a,b | user";
    }
    void setting()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, userFile);
        QFETCH(QString, systemFile);
        QFETCH(QString, expected);
        ScratchFolder folder;
        if (!userFile.isEmpty())
            folder.write(QStringLiteral("user.conf"), userFile.toUtf8());
        if (!systemFile.isEmpty())
            folder.write(QStringLiteral("system.conf"), systemFile.toUtf8());
        const ServerSetting found = ServerSetting::find(commandLine, {folder.file("user.conf"), folder.file("system.conf")});
        QString source = found.source;
        source.replace(QDir::toNativeSeparators(folder.file("user.conf")), QStringLiteral("user"));
        source.replace(QDir::toNativeSeparators(folder.file("system.conf")), QStringLiteral("system"));
        QCOMPARE(found.uri + " | " + source, expected);
    }
};

QTEST_GUILESS_MAIN(TestServerAddress)
#include "tst_server_address.moc"
