// Guards where the history file goes: network file systems are told from local ones, and
// the history leaves a remote play folder for the user's own data folder.
#include "platform/Environment.h"
#include "platform/HistoryLocation.h"
#include "platform/SystemFolderKinds.h"
#include "support/TestDoubles.h"

#include <QDir>
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
    // A type on each side, and the two ways a number can be widened (sign or not).
    void fileSystemTypes()
    {
        QVERIFY(isNetworkFileSystemType(0x6969ull) && isNetworkFileSystemType(0xFF534D42ull) && isNetworkFileSystemType(0xFFFFFFFFFF534D42ull));
        QVERIFY(!isNetworkFileSystemType(0xEF53ull) && !isNetworkFileSystemType(0xEF5300000000ull));
    }

    // "path > nearest existing", relative to a scratch folder holding "here/file".
    void nearestExisting()
    {
        ScratchFolder scratch;
        const QString root = QDir(scratch.path()).canonicalPath();
        QVERIFY(QDir(root).mkpath(QStringLiteral("here")));
        scratch.write(QStringLiteral("here/file"), "x");
        const QStringList rows = {"here > here", "here/file > here/file", "here/a/b > here", "here/a/../b > here",
                                  "elsewhere/a > ", " > ", "<root>/here/x/y > here"};
        for (QString row : rows) {
            row.replace(QLatin1String("<root>"), root);
            const QStringList pair = row.split(QStringLiteral(" > "));
            const QString want = pair[1].isEmpty() ? root : root + QLatin1Char('/') + pair[1];
            QCOMPARE(QDir(nearestExistingFolder(pair[0].trimmed())).canonicalPath(), want);
        }
        QVERIFY(!SystemFolderKinds().isRemote(root + QStringLiteral("/missing/a"))); // a local disk, through a missing folder
    }

    // "play folder | remote folder | user folder > history file": ~ is the user folder,
    // - no remote folder, @ the working folder.
    void placement()
    {
        const QString user = QStringLiteral("/home/eleve/.local/share/clavimo");
        const QStringList rows = {"/srv/club | - | ~ > /srv/club/historique.sqlite",
                                  "/mnt/club | /mnt/club | ~ > ~/historique.sqlite",
                                  "~ | ~ | ~ > ~/historique.sqlite",
                                  "/srv/club | ~ | ~ > /srv/club/historique.sqlite",
                                  "/mnt/club | /mnt/club |  > /mnt/club/historique.sqlite",
                                  " | /mnt/club | ~ > historique.sqlite",
                                  " | @ | ~ > ~/historique.sqlite",
                                  "/mnt/club | /mnt/club | ~/ > ~/historique.sqlite"};
        for (QString row : rows) {
            row.replace(QLatin1Char('~'), user);
            QStringList f = row.split(QRegularExpression(QStringLiteral("[|>]")));
            for (QString &field : f)
                field = field.trimmed();
            ListedRemoteFolders kinds;
            if (f[1] != QLatin1String("-"))
                kinds.remote = {f[1] == QLatin1String("@") ? QString() : f[1]};
            QCOMPARE(historyFilePath(f[0], kinds, f[2]), f[3]);
        }
    }
};

QTEST_GUILESS_MAIN(TestFolderKinds)
#include "tst_folder_kinds.moc"
