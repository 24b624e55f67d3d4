// Guards how a classroom's server is named: the URIs a room's settings or the command line
// may give, what reaches the database driver from them (TLS demanded off this machine),
// the French reason for each one refused, which settings file names the server, and the
// keyboard layout remembered in the same file without changing it.
#include "history/ServerAddress.h"
#include "history/ServerSetting.h"
#include "platform/SettingsLayoutMemory.h"
#include "support/TestDoubles.h"

#include <QtTest>

class TestServerAddress : public QObject
{
    Q_OBJECT

private slots:
    // "URI > what is shown | the TLS mode and further options", or "! part of the reason".
    void parse()
    {
        for (const QString row : {
                 "postgresql://prof@salle-12:5433/clavimo > postgresql://prof@salle-12:5433/clavimo | require",
                 "postgres://prof@serveur/classe > postgresql://prof@serveur:5432/classe | require",
                 "postgresql://élève@hôte.école.fr/base > postgresql://élève@xn--hte-kna.xn--cole-9oa.fr:5432/base | require",
                 "postgresql://prof@[::1]:6543/base?sslmode=verify-full&sslrootcert=/etc/ca.pem > postgresql://prof@[::1]:6543/base"
                 " | verify-full;sslrootcert=/etc/ca.pem",
                 "postgresql://p@h/b?application_name=salle12 > postgresql://p@h:5432/b | require;application_name=salle12",
                 "  postgresql://p@h/b \n > postgresql://p@h:5432/b | require",
                 "postgresql://p@localhost/b > postgresql://p@localhost:5432/b | prefer",
                 "postgresql://p@127.0.0.2/b > postgresql://p@127.0.0.2:5432/b | prefer",
                 "postgresql://p@[::1]/b > postgresql://p@[::1]:5432/b | prefer", "postgresql://p@/b > postgresql://p@:5432/b | prefer",
                 "postgresql://p@127.0.0.1.ecole.fr/b > postgresql://p@127.0.0.1.ecole.fr:5432/b | require",
                 "postgresql://p@h/b?sslmode=disable > postgresql://p@h:5432/b | disable",
                 " > ! l'adresse du serveur d'historique est vide.",
                 "mysql://p@h/b > ! doit commencer par «\u00A0postgresql://\u00A0», pas «\u00A0mysql://p@h/b\u00A0».",
                 "postgresql://p:secret@h/b > ! ne doit pas contenir de mot de passe (mettez-le dans le fichier ~/.pgpass",
                 "postgresql://p@h:5432 > ! ne nomme pas de base de données", "postgresql://p@h/a/b > ! ne nomme pas de base de données",
                 "postgresql://p@h:0/b > ! le port du serveur d'historique est invalide",
                 "postgresql://p@h:/b > ! le port du serveur d'historique est invalide", "postgresql://p@h:70000/b > ! est illisible.",
                 "postgresql://p@h/b?sslmode=allow > ! sslmode=allow n'est pas accepté",
                 "postgresql://p@h/b?options=-csearch_path%3Dx > ! le paramètre «\u00A0options\u00A0» de l'adresse du serveur d'historique est inconnu",
                 "postgresql://p@h/b?application_name=x%20sslmode%3Ddisable > ! la valeur du paramètre «\u00A0application_name\u00A0» est invalide",
                 "postgresql://a%27b@h/b > ! contient un caractère non permis", "postgresql://p@h/a%3Bsslmode=disable > ! contient un caractère non permis"}) {
            const QString uri = row.section(" > ", 0, 0), expected = row.section(" > ", 1);
            QString error;
            const auto address = ServerAddress::parse(uri, &error);
            QString options = address ? address->connectOptions(2) : QString();
            options.replace(";connect_timeout=2;keepalives_idle=10;keepalives_interval=3;keepalives_count=3;tcp_user_timeout=20000", "")
                .replace(QRegularExpression(";application_name=clavimo$"), "").remove("sslmode=");
            QVERIFY2(address ? address->display() + " | " + options == expected : expected.startsWith("! ") && error.contains(expected.mid(2)),
                     qPrintable(uri + ": " + (address ? address->display() + " | " + address->connectOptions(2) : error)));
        }
    }

    // "command line | user's file | computer's file > the server | where it came from", a
    // file given by its value of serveur in [historique] (- for no file, x for a file without
    // it): the user's file wins over the computer's, the command line over both; an empty
    // value in the user's file turns the computer's server off. The layout remembered in the
    // user's file leaves the server read from it as it was.
    void setting()
    {
        for (const QString row : {"|-|- >  | ", "|-|postgresql://salle@s/c > postgresql://salle@s/c | system",
                                  "|postgresql://moi@a/p|postgresql://salle@s/c > postgresql://moi@a/p | user",
                                  "|x|postgresql://salle@s/c > postgresql://salle@s/c | system", "||postgresql://salle@s/c >  | user",
                                  "postgresql://cli@h/b|postgresql://moi@a/p|- > postgresql://cli@h/b | --historique-serveur",
                                  "|postgresql://p@h/b?application_name=a,b|- > postgresql://p@h/b?application_name=a,b | user"}) {
            const QStringList given = row.section(" > ", 0, 0).split('|');
            ScratchFolder folder;
            const QStringList paths = {folder.file("user.conf"), folder.file("system.conf")};
            for (int i : {1, 2}) {
                if (given[i] != "-")
                    folder.write(QFileInfo(paths[i - 1]).fileName(),
                                 given[i] == "x" ? "[autre]\nx=1\n" : "[historique]\nserveur=" + given[i].toUtf8() + "\n");
            }
            for (int pass = 0; pass < 2; ++pass) {
                const ServerSetting found = ServerSetting::find(given[0].isEmpty() ? QString() : given[0], paths);
                const QString source = QString(found.source).replace(QDir::toNativeSeparators(paths[0]), "user").replace(QDir::toNativeSeparators(paths[1]), "system");
                QCOMPARE(found.uri + " | " + source, row.section(" > ", 1));
                SettingsLayoutMemory(paths[0]).remember(QStringLiteral("ch(fr)"));
                QCOMPARE(SettingsLayoutMemory(paths[0]).remembered(), QStringLiteral("ch(fr)"));
            }
        }
        // The user's own file by default.
        ScratchFolder folder;
        qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
        SettingsLayoutMemory().remember(QStringLiteral("fr(bepo)"));
        QVERIFY(folder.read(QStringLiteral("clavimo/clavimo.conf")).contains("[clavier]\ndisposition=fr(bepo)\n"));
        QCOMPARE(SettingsLayoutMemory().remembered(), QStringLiteral("fr(bepo)"));
    }
};

QTEST_GUILESS_MAIN(TestServerAddress)
#include "tst_server_address.moc"
