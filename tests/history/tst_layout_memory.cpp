// Guards that the chosen keyboard layout is kept in its own group of the settings file
// `clavimo.conf`, read back as written, without changing what the classroom's server
// setting of the same file reads.
#include "history/ServerSetting.h"
#include "platform/SettingsLayoutMemory.h"
#include "support/TestDoubles.h"

#include <QtTest>

class TestLayoutMemory : public QObject
{
    Q_OBJECT

private slots:
    void rememberedBesideTheServer_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("server"); // the server setting read, before and after
        QTest::newRow("no file") << QByteArray() << "";
        QTest::newRow("a server") << QByteArray("[historique]\nserveur=postgresql://salle12@serveur.ecole.fr:5432/"
                                                "clavimo_salle12?sslmode=require&application_name=a,b\n")
                                  << "postgresql://salle12@serveur.ecole.fr:5432/clavimo_salle12?sslmode=require&application_name=a,b";
        QTest::newRow("no server, an earlier choice")
            << QByteArray("[historique]\nserveur=\n\n[clavier]\ndisposition=ca\n") << "";
    }
    void rememberedBesideTheServer()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, server);
        ScratchFolder folder;
        const QString file = folder.file(QStringLiteral("clavimo.conf"));
        if (!before.isEmpty())
            folder.write(QStringLiteral("clavimo.conf"), before);
        QCOMPARE(ServerSetting::find(QString(), {file}).uri, server);

        SettingsLayoutMemory memory(file);
        memory.remember(QStringLiteral("ch(fr)"));
        QCOMPARE(SettingsLayoutMemory(file).remembered(), QStringLiteral("ch(fr)"));
        QCOMPARE(ServerSetting::find(QString(), {file}).uri, server);
        QVERIFY(folder.read(QStringLiteral("clavimo.conf")).contains("[clavier]\ndisposition=ch(fr)\n"));
        QVERIFY(!QFile::exists(folder.file(QStringLiteral("clavimo.ini"))));
    }

    // The user's own file by default, under $XDG_CONFIG_HOME.
    void userFileByDefault()
    {
        ScratchFolder folder;
        qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
        SettingsLayoutMemory().remember(QStringLiteral("fr(bepo)"));
        QVERIFY(folder.read(QStringLiteral("clavimo/clavimo.conf")).contains("disposition=fr(bepo)"));
        QCOMPARE(SettingsLayoutMemory().remembered(), QStringLiteral("fr(bepo)"));
    }
};

QTEST_MAIN(TestLayoutMemory)
#include "tst_layout_memory.moc"
