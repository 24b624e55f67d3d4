// Guards that the chosen keyboard layout is kept in its own group of the settings file
// `clavimo.conf`, read back as written, without changing what the classroom's server
// setting of the same file reads; the user's own file by default.
#include "history/ServerSetting.h"
#include "platform/SettingsLayoutMemory.h"
#include "support/TestDoubles.h"

#include <QtTest>

class TestLayoutMemory : public QObject
{
    Q_OBJECT

private slots:
    void rememberedBesideTheServer()
    {
        const QString server = "postgresql://salle12@serveur.ecole.fr:5432/clavimo_salle12?sslmode=require&application_name=a,b";
        for (const QByteArray &before : {QByteArray(), "[historique]\nserveur=" + server.toUtf8() + "\n",
                                         QByteArray("[historique]\nserveur=\n\n[clavier]\ndisposition=ca\n")}) {
            ScratchFolder folder;
            const QString file = folder.file(QStringLiteral("clavimo.conf"));
            if (!before.isEmpty())
                folder.write(QStringLiteral("clavimo.conf"), before);
            const QString read = ServerSetting::find(QString(), {file}).uri;
            QCOMPARE(read, before.contains("salle12") ? server : QString());
            SettingsLayoutMemory(file).remember(QStringLiteral("ch(fr)"));
            QCOMPARE(SettingsLayoutMemory(file).remembered(), QStringLiteral("ch(fr)"));
            QCOMPARE(ServerSetting::find(QString(), {file}).uri, read);
            QVERIFY(folder.read(QStringLiteral("clavimo.conf")).contains("[clavier]\ndisposition=ch(fr)\n"));
        }
        ScratchFolder folder;
        qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
        SettingsLayoutMemory().remember(QStringLiteral("fr(bepo)"));
        QVERIFY(folder.read(QStringLiteral("clavimo/clavimo.conf")).contains("disposition=fr(bepo)"));
        QCOMPARE(SettingsLayoutMemory().remembered(), QStringLiteral("fr(bepo)"));
    }
};

QTEST_MAIN(TestLayoutMemory)
#include "tst_layout_memory.moc"
