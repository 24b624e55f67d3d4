#include "platform/FileLock.h"

#include "platform/EntryFile.h"

#include <QDeadlineTimer>
#include <QThread>

#if defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <sys/file.h>
#endif

namespace {

enum class Attempt { Locked, Busy, Unsupported };

#if defined(Q_OS_WIN)
// A byte far beyond any record stands for the whole file: locking the records themselves
// would stop other programs from even reading them.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

OVERLAPPED lockPlace()
{
    OVERLAPPED place = {};
    place.OffsetHigh = kLockOffsetHigh;
    return place;
}

Attempt tryLock(int fd)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    OVERLAPPED place = lockPlace();
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &place))
        return Attempt::Locked;
    return GetLastError() == ERROR_LOCK_VIOLATION ? Attempt::Busy : Attempt::Unsupported;
}

void unlock(int fd)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    OVERLAPPED place = lockPlace();
    UnlockFileEx(handle, 0, 1, 0, &place);
}
#else
Attempt tryLock(int fd)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return Attempt::Locked;
    return errno == EWOULDBLOCK || errno == EINTR ? Attempt::Busy : Attempt::Unsupported;
}

void unlock(int fd)
{
    ::flock(fd, LOCK_UN);
}
#endif

} // namespace

FileLock::FileLock(const EntryFile &file, int waitMs)
    : handle_(file.handle())
{
    if (handle_ < 0)
        return;
    // Short steps: the other program lets go within a few milliseconds.
    const QDeadlineTimer deadline(waitMs);
    int sleepMs = 1;
    for (;;) {
        const Attempt attempt = tryLock(handle_);
        if (attempt == Attempt::Locked) {
            locked_ = true;
            return;
        }
        if (attempt == Attempt::Unsupported || deadline.hasExpired())
            return;
        QThread::msleep(sleepMs);
        sleepMs = qMin(sleepMs * 2, 16);
    }
}

FileLock::~FileLock()
{
    if (locked_)
        unlock(handle_);
}
