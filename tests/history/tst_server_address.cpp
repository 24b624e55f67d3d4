// Guards how a classroom's server is named: the URIs a room's settings or the command line
// may give, what reaches the database driver from them (TLS demanded off this machine),
// the French reason for each one refused, and which settings file names the server.
#include "history/ServerAddress.h"
#include "history/ServerSetting.h"
#include "support/TestDoubles.h"

#include <QtTest>

class TestServerAddress : public QObject
{
    Q_OBJECT

private slots:
    // "URI > what is shown | the driver's options beyond the time limits", or "! part of the reason".
    void parse()
    {
        const QString limits = ";connect_timeout=2;keepalives_idle=10;keepalives_interval=3;keepalives_count=3;tcp_user_timeout=20000";
        const QStringList rows = {
            "postgresql://prof@salle-12:5433/clavimo > postgresql://prof@salle-12:5433/clavimo | sslmode=require;application_name=clavimo",
            "postgres://prof@serveur/classe > postgresql://prof@serveur:5432/classe | sslmode=require;application_name=clavimo",
            "postgresql://élève@hôte.école.fr/base > postgresql://élève@xn--hte-kna.xn--cole-9oa.fr:5432/base | sslmode=require;application_name=clavimo",
            "postgresql://prof@[::1]:6543/base?sslmode=verify-full&sslrootcert=/etc/ca.pem > postgresql://prof@[::1]:6543/base"
            " | sslmode=verify-full;sslrootcert=/etc/ca.pem;application_name=clavimo",
            "postgresql://p@h/b?application_name=salle12 > postgresql://p@h:5432/b | sslmode=require;application_name=salle12",
            "  postgresql://p@h/b \n > postgresql://p@h:5432/b | sslmode=require;application_name=clavimo",
            "postgresql://p@localhost/b > postgresql://p@localhost:5432/b | sslmode=prefer;application_name=clavimo",
            "postgresql://p@127.0.0.2/b > postgresql://p@127.0.0.2:5432/b | sslmode=prefer;application_name=clavimo",
            "postgresql://p@[::1]/b > postgresql://p@[::1]:5432/b | sslmode=prefer;application_name=clavimo",
            "postgresql://p@/b > postgresql://p@:5432/b | sslmode=prefer;application_name=clavimo",
            "postgresql://p@127.0.0.1.ecole.fr/b > postgresql://p@127.0.0.1.ecole.fr:5432/b | sslmode=require;application_name=clavimo",
            "postgresql://p@10.0.0.1/b > postgresql://p@10.0.0.1:5432/b | sslmode=require;application_name=clavimo",
            "postgresql://p@h/b?sslmode=prefer > postgresql://p@h:5432/b | sslmode=prefer;application_name=clavimo",
            "postgresql://p@h/b?sslmode=disable > postgresql://p@h:5432/b | sslmode=disable;application_name=clavimo",
            " > ! l'adresse du serveur d'historique est vide.",
            "mysql://p@h/b > ! doit commencer par «\u00A0postgresql://\u00A0», pas «\u00A0mysql://p@h/b\u00A0».",
            "salle-12 > ! doit commencer par «\u00A0postgresql://\u00A0», pas «\u00A0salle-12\u00A0».",
            "postgresql://p:secret@h/b > ! ne doit pas contenir de mot de passe (mettez-le dans le fichier ~/.pgpass",
            "postgresql://p@h:5432 > ! ne nomme pas de base de données",
            "postgresql://p@h/a/b > ! ne nomme pas de base de données",
            "postgresql://p@h:0/b > ! le port du serveur d'historique est invalide",
            "postgresql://p@h:/b > ! le port du serveur d'historique est invalide",
            "postgresql://p@h:70000/b > ! est illisible.",
            "postgresql://p@h:abc/b > ! est illisible.",
            "postgresql://p@h/b?sslmode=allow > ! sslmode=allow n'est pas accepté",
            "postgresql://p@h/b?options=-csearch_path%3Dx > ! le paramètre «\u00A0options\u00A0» de l'adresse du serveur d'historique est inconnu",
            "postgresql://p@h/b?application_name=x%20sslmode%3Ddisable > ! la valeur du paramètre «\u00A0application_name\u00A0» est invalide",
            "postgresql://a%27b@h/b > ! contient un caractère non permis",
            "postgresql://p@h/a%3Bsslmode=disable > ! contient un caractère non permis",
        };
        for (const QString &row : rows) {
            const QString uri = row.section(" > ", 0, 0), expected = row.section(" > ", 1);
            QString error;
            const auto address = ServerAddress::parse(uri, &error);
            if (!address) {
                QVERIFY2(expected.startsWith("! ") && error.contains(expected.mid(2)), qPrintable(uri + ": " + error));
                continue;
            }
            QString options = address->connectOptions(2);
            QVERIFY2(options.contains(limits), qPrintable(options));
            QCOMPARE(address->display() + " | " + options.remove(limits), expected);
        }
    }

    // "command line | user's file | computer's file > the server | where it came from": the
    // user's file wins over the computer's, the command line over both; an empty value in
    // the user's file turns the computer's server off.
    void setting()
    {
        const QStringList rows = {
            "|| >  | ", "||room > postgresql://salle@serveur/classe | system",
            "|own|room > postgresql://moi@ailleurs/perso | user", "|other|room > postgresql://salle@serveur/classe | system",
            "|off|room >  | user", "postgresql://cli@h/b|own|room > postgresql://cli@h/b | --historique-serveur",
            "|comma| > postgresql://p@h/b?application_name=a,b | user",
        };
        const QMap<QString, QByteArray> files = {
            {"room", "[historique]\nserveur=postgresql://salle@serveur/classe\n"},
            {"own", "[historique]\nserveur=postgresql://moi@ailleurs/perso\n"},
            {"other", "[autre]\nx=1\n"},
            {"off", "[historique]\nserveur=\n"},
            {"comma", "[historique]\nserveur=postgresql://p@h/b?application_name=a,b\n"},
        };
        for (const QString &row : rows) {
            const QStringList given = row.section(" > ", 0, 0).split('|');
            ScratchFolder folder;
            if (!given[1].isEmpty())
                folder.write("user.conf", files[given[1]]);
            if (!given[2].isEmpty())
                folder.write("system.conf", files[given[2]]);
            const ServerSetting found = ServerSetting::find(given[0].isEmpty() ? QString() : given[0], {folder.file("user.conf"), folder.file("system.conf")});
            QString source = found.source;
            source.replace(QDir::toNativeSeparators(folder.file("user.conf")), "user");
            source.replace(QDir::toNativeSeparators(folder.file("system.conf")), "system");
            QCOMPARE(found.uri + " | " + source, row.section(" > ", 1));
        }
    }
};

QTEST_GUILESS_MAIN(TestServerAddress)
#include "tst_server_address.moc"
