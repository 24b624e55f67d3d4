#include "platform/SystemFolderKinds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_LINUX)
#include <sys/vfs.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#include <vector>
#elif defined(Q_OS_DARWIN)
#include <sys/param.h>
#include <sys/mount.h>
#endif

bool isNetworkFileSystemType(unsigned long long magic)
{
    // The kernel's magic numbers are 32 bits; on a 32-bit system f_type is a signed int,
    // so a number with its top bit set (CIFS, SMB2) would come sign-extended.
    switch (magic & 0xFFFFFFFFull) {
    case 0x6969: // NFS
    case 0x517B: // SMB (the old client)
    case 0xFF534D42: // CIFS
    case 0xFE534D42: // SMB2 and SMB3
    case 0x01021997: // 9P (v9fs), also the shared folders of virtual machines
    case 0x5346414F: // AFS
    case 0x6B414653: // kAFS
    case 0x00C36400: // Ceph
    case 0x73757245: // Coda
    case 0x564C: // NCP (NetWare)
    case 0x7461636F: // OCFS2
    case 0x01161970: // GFS2
    case 0x0BD00BD0: // Lustre
    case 0x47504653: // GPFS
    case 0x20030528: // OrangeFS
    case 0x19830326: // BeeGFS
    case 0xAAD7AAEA: // PanFS
    case 0x013111A8: // IBRIX
    case 0xBEEFDEAD: // StorNext
    case 0x61636673: // ACFS
    case 0x786F4256: // vboxsf, a virtual machine's folder shared from its host
    case 0xBACBACBC: // vmhgfs, the same
    case 0x7C7C6673: // prl_fs, the same
    // FUSE gives one type to every file system it carries (sshfs, glusterfs, s3fs, but
    // also ntfs-3g on a local disk), so none can be told apart; all of FUSE counts as
    // remote, since a history kept in the user's folder costs nothing and a damaged one
    // is lost.
    case 0x65735546:
        return true;
    default:
        return false;
    }
}

QString nearestExistingFolder(const QString &path)
{
    QString current = QDir::cleanPath(QDir::current().absoluteFilePath(path.isEmpty() ? QStringLiteral(".") : path));
    while (!QFileInfo::exists(current)) {
        const QString parent = QFileInfo(current).absolutePath();
        if (parent == current)
            break;
        current = parent;
    }
    return current;
}

#if defined(Q_OS_LINUX)
bool SystemFolderKinds::isRemote(const QString &folder) const
{
    struct statfs info = {};
    if (::statfs(QFile::encodeName(nearestExistingFolder(folder)).constData(), &info) != 0)
        return false;
    return isNetworkFileSystemType(static_cast<unsigned long long>(info.f_type));
}
#elif defined(Q_OS_WIN)
namespace {

bool isUncPath(const QString &nativePath)
{
    // \\server\share, and \\?\UNC\server\share in the long form; \\?\C:\ and \\.\ name
    // local devices.
    if (nativePath.startsWith(QLatin1String("\\\\?\\UNC\\"), Qt::CaseInsensitive))
        return true;
    return nativePath.startsWith(QLatin1String("\\\\")) && !nativePath.startsWith(QLatin1String("\\\\?\\"))
           && !nativePath.startsWith(QLatin1String("\\\\.\\"));
}

} // namespace

bool SystemFolderKinds::isRemote(const QString &folder) const
{
    // The path as given first: walking up from a share that cannot be reached would end
    // on the local drive of the current folder.
    if (isUncPath(QDir::toNativeSeparators(QDir::current().absoluteFilePath(folder))))
        return true;
    const QString native = QDir::toNativeSeparators(nearestExistingFolder(folder));
    if (isUncPath(native))
        return true;
    // The volume's root rather than the drive letter: a folder may be a mount point of
    // another volume.
    const std::wstring path = native.toStdWString();
    std::vector<wchar_t> root(path.size() + MAX_PATH + 1, L'\0');
    if (!GetVolumePathNameW(path.c_str(), root.data(), static_cast<DWORD>(root.size())))
        return false;
    const QString rootText = QString::fromWCharArray(root.data());
    return isUncPath(rootText) || GetDriveTypeW(root.data()) == DRIVE_REMOTE;
}
#elif defined(Q_OS_DARWIN)
bool SystemFolderKinds::isRemote(const QString &folder) const
{
    struct statfs info = {};
    if (::statfs(QFile::encodeName(nearestExistingFolder(folder)).constData(), &info) != 0)
        return false;
    return (info.f_flags & MNT_LOCAL) == 0;
}
#else
bool SystemFolderKinds::isRemote(const QString &) const
{
    return false;
}
#endif
