// Guards where the history file goes: network and cluster file systems are told from local ones, and the history leaves a remote play folder for the user's own data folder.

#include "platform/FolderKinds.h"
#include "platform/HistoryLocation.h"
#include "platform/SystemFolderKinds.h"
#include "support/TestDoubles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtTest>

// Says "remote" for the folders listed only, so a placement that asks about the wrong folder shows.
struct ListedRemoteFolders : FolderKinds
{
    QStringList remote;
    bool isRemote(const QString &folder) const override { return remote.contains(folder); }
};

class TestFolderKinds : public QObject
{
    Q_OBJECT

private slots:
    // The numbers are the kernel's own (linux/magic.h and each file system's source).
    void fileSystemTypes_data()
    {
        QTest::addColumn<qulonglong>("magic");
        QTest::addColumn<bool>("network");
        QTest::newRow("nfs") << 0x6969ull << true;
        QTest::newRow("smb") << 0x517Bull << true;
        QTest::newRow("cifs") << 0xFF534D42ull << true;
        QTest::newRow("cifs, sign-extended from a 32-bit f_type") << 0xFFFFFFFFFF534D42ull << true;
        QTest::newRow("smb2") << 0xFE534D42ull << true;
        QTest::newRow("9p") << 0x01021997ull << true;
        QTest::newRow("afs") << 0x5346414Full << true;
        QTest::newRow("kafs") << 0x6B414653ull << true;
        QTest::newRow("ceph") << 0x00C36400ull << true;
        QTest::newRow("coda") << 0x73757245ull << true;
        QTest::newRow("ncp") << 0x564Cull << true;
        QTest::newRow("ocfs2") << 0x7461636Full << true;
        QTest::newRow("gfs2") << 0x01161970ull << true;
        QTest::newRow("lustre") << 0x0BD00BD0ull << true;
        QTest::newRow("gpfs") << 0x47504653ull << true;
        QTest::newRow("orangefs") << 0x20030528ull << true;
        QTest::newRow("beegfs") << 0x19830326ull << true;
        QTest::newRow("panfs") << 0xAAD7AAEAull << true;
        QTest::newRow("ibrix") << 0x013111A8ull << true;
        QTest::newRow("stornext") << 0xBEEFDEADull << true;
        QTest::newRow("acfs") << 0x61636673ull << true;
        QTest::newRow("vboxsf") << 0x786F4256ull << true;
        QTest::newRow("vmhgfs") << 0xBACBACBCull << true;
        QTest::newRow("prl_fs") << 0x7C7C6673ull << true;
        QTest::newRow("fuse (sshfs, glusterfs...)") << 0x65735546ull << true;
        QTest::newRow("ext4") << 0xEF53ull << false;
        QTest::newRow("xfs") << 0x58465342ull << false;
        QTest::newRow("btrfs") << 0x9123683Eull << false;
        QTest::newRow("tmpfs") << 0x01021994ull << false;
        QTest::newRow("overlayfs") << 0x794C7630ull << false;
        QTest::newRow("zfs") << 0x2FC12FC1ull << false;
        QTest::newRow("vfat") << 0x4D44ull << false;
        QTest::newRow("ecryptfs") << 0xF15Full << false;
        QTest::newRow("fusectl, not a FUSE mount") << 0x65735543ull << false;
        QTest::newRow("nfsd, the server's own control files") << 0x6E667364ull << false;
        QTest::newRow("ext4 number in the high half") << 0xEF5300000000ull << false;
    }
    void fileSystemTypes()
    {
        QFETCH(qulonglong, magic);
        QFETCH(bool, network);
        QCOMPARE(isNetworkFileSystemType(magic), network);
    }

    // Paths relative to a scratch folder holding "here/" and "here/file".
    void nearestExisting_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("existing folder") << "here" << "here";
        QTest::newRow("existing file") << "here/file" << "here/file";
        QTest::newRow("missing folder") << "here/missing" << "here";
        QTest::newRow("missing several levels") << "here/a/b/c" << "here";
        QTest::newRow("missing beside") << "elsewhere/a" << "";
        QTest::newRow("with dot-dot") << "here/a/../b" << "here";
        QTest::newRow("empty: the working folder") << "" << "";
        QTest::newRow("absolute") << "<scratch>/here/x/y" << "here";
    }
    void nearestExisting()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        ScratchFolder scratch;
        const QString root = QDir(scratch.path()).canonicalPath();
        QVERIFY(QDir(root).mkpath(QStringLiteral("here")));
        scratch.write(QStringLiteral("here/file"), "x");
        path.replace(QLatin1String("<scratch>"), root);
        const QString want = expected.isEmpty() ? root : root + QLatin1Char('/') + expected;
        QCOMPARE(QDir(nearestExistingFolder(path)).canonicalPath(), QDir(want).canonicalPath());
    }

    // This machine's build and temporary folders are on local disks.
    void localFoldersOfThisMachine_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("build folder") << QCoreApplication::applicationDirPath();
        QTest::newRow("temporary folder") << QDir::tempPath();
#if !defined(Q_OS_WIN)
        QTest::newRow("/tmp") << QStringLiteral("/tmp");
#endif
        QTest::newRow("missing below the temporary folder") << QDir::tempPath() + QStringLiteral("/clavimo-missing/a/b");
        QTest::newRow("working folder") << QString();
    }
    void localFoldersOfThisMachine()
    {
        QFETCH(QString, folder);
        QVERIFY(!SystemFolderKinds().isRemote(folder));
    }

    // Every network mount this machine happens to have, found by its type's name in the
    // mount table, is seen as remote, also through a folder below it that does not exist.
    void networkMountsOfThisMachine()
    {
#if defined(Q_OS_LINUX)
        QFile mounts(QStringLiteral("/proc/self/mounts"));
        QVERIFY(mounts.open(QIODevice::ReadOnly));
        const QStringList networkTypes = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "afs", "ceph", "coda",
                                          "ncpfs", "ocfs2", "gfs2", "lustre", "gpfs", "orangefs", "beegfs",
                                          "vboxsf", "fuse", "fuseblk"};
        int checked = 0;
        const QList<QByteArray> lines = mounts.readAll().split('\n');
        for (const QByteArray &line : lines) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() < 3)
                continue;
            const QString type = QString::fromLatin1(fields[2]);
            if (!networkTypes.contains(type) && !type.startsWith(QLatin1String("fuse.")))
                continue;
            // Spaces and tabs in a mount point are written as octal escapes.
            QString point = QString::fromLocal8Bit(fields[1]);
            point.replace(QLatin1String("\\040"), QLatin1String(" ")).replace(QLatin1String("\\011"), QLatin1String("\t"));
            if (!QFileInfo(point).isReadable())
                continue; // another user's FUSE mount refuses even root
            QVERIFY2(SystemFolderKinds().isRemote(point), qPrintable(type + QLatin1Char(' ') + point));
            QVERIFY2(SystemFolderKinds().isRemote(point + QStringLiteral("/clavimo-missing/a")), qPrintable(point));
            ++checked;
        }
        if (checked == 0)
            QSKIP("no network file system is mounted on this machine");
#else
        QSKIP("the mount table is read on Linux only");
#endif
    }

    void placement_data()
    {
        QTest::addColumn<QString>("playFolder");
        QTest::addColumn<QStringList>("remoteFolders");
        QTest::addColumn<QString>("userFolder");
        QTest::addColumn<QString>("expected");
        const QString user = QStringLiteral("/home/eleve/.local/share/clavimo");
        const QStringList none;
        const QStringList club = {QStringLiteral("/mnt/club")};
        QTest::newRow("local play folder") << "/srv/club" << none << user << "/srv/club/historique.sqlite";
        QTest::newRow("remote play folder") << "/mnt/club" << club << user << user + "/historique.sqlite";
        QTest::newRow("remote play folder that is the user folder")
            << user << QStringList{user} << user << user + "/historique.sqlite";
        QTest::newRow("only the user folder remote") << "/srv/club" << QStringList{user} << user << "/srv/club/historique.sqlite";
        QTest::newRow("remote, no user folder known") << "/mnt/club" << club << "" << "/mnt/club/historique.sqlite";
        QTest::newRow("working folder, local") << "" << club << user << "historique.sqlite";
        QTest::newRow("working folder, remote") << "" << QStringList{QString()} << user << user + "/historique.sqlite";
        QTest::newRow("user folder with a trailing slash") << "/mnt/club" << club << user + "/" << user + "/historique.sqlite";
    }
    void placement()
    {
        QFETCH(QString, playFolder);
        QFETCH(QStringList, remoteFolders);
        QFETCH(QString, userFolder);
        QFETCH(QString, expected);
        ListedRemoteFolders kinds;
        kinds.remote = remoteFolders;
        QCOMPARE(historyFilePath(playFolder, kinds, userFolder), expected);
    }
};

QTEST_GUILESS_MAIN(TestFolderKinds)
#include "tst_folder_kinds.moc"
