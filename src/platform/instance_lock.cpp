#include "instance_lock.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <qt_windows.h>
#endif

namespace platform {
namespace {

#ifdef Q_OS_UNIX
// A folder fit to hold the lock: a folder itself (not a link), this user's, and
// writable by no one else, so that no other user can take or redirect the lock.
bool privateFolder(const QString &dir)
{
    struct stat st
    {
    };
    if (dir.isEmpty() || !QDir::isAbsolutePath(dir) || ::lstat(QFile::encodeName(dir).constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

enum class Claim { Taken, HeldByAnother, Unusable };

// Kept open for the life of the process: closing it would release the lock. Never
// through a link, and never blocking on something that is not a file.
Claim lockAt(const QString &path)
{
    if (path.isEmpty())
        return Claim::Unusable;
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0600);
    if (fd < 0)
        return Claim::Unusable;
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        ::close(fd);
        return Claim::Unusable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return Claim::Taken;
    const bool heldByAnother = errno == EWOULDBLOCK;
    ::close(fd);
    return heldByAnother ? Claim::HeldByAnother : Claim::Unusable;
}

QString runtimeLockPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return privateFolder(runtime) ? runtime + QStringLiteral("/brenvo.lock") : QString();
}

QString cacheLockPath()
{
    const QString dir = privateCacheFolder();
    return dir.isEmpty() ? QString() : dir + QStringLiteral("/brenvo.lock");
}

#endif

} // namespace

#ifdef Q_OS_UNIX
QString privateCacheFolder()
{
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (cache.isEmpty() || !QDir::isAbsolutePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    const QString dir = cache + QStringLiteral("/brenvo");
    QDir().mkpath(cache);
    ::mkdir(QFile::encodeName(dir).constData(), 0700);
    return privateFolder(dir) ? dir : QString();
}

RuntimeFolderLoan::RuntimeFolderLoan()
{
    // A folder the user named is left as it is, fit or not: a Wayland display is
    // found through it.
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QString lent = privateCacheFolder();
    if (lent.isEmpty())
        return;
    m_lent = true;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(lent));
}

RuntimeFolderLoan::~RuntimeFolderLoan()
{
    if (m_lent)
        qunsetenv("XDG_RUNTIME_DIR");
}
#else
RuntimeFolderLoan::RuntimeFolderLoan() = default;
RuntimeFolderLoan::~RuntimeFolderLoan() = default;
#endif

QString instanceLockPath()
{
#ifdef Q_OS_UNIX
    const QString runtime = runtimeLockPath();
    return runtime.isEmpty() ? cacheLockPath() : runtime;
#else
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return dir + QStringLiteral("/brenvo.lock");
#endif
}

bool claimInstanceLock()
{
#ifdef Q_OS_UNIX
    // The runtime folder first; when the lock there cannot be used (a spoiled path, a
    // folder Brenvo may not write), the cache. Only when neither can hold a lock does
    // Brenvo start unguarded: rather start than refuse the user.
    Claim claim = lockAt(runtimeLockPath());
    if (claim == Claim::Unusable)
        claim = lockAt(cacheLockPath());
    return claim != Claim::HeldByAnother;
#else
    // A named mutex of the user's session, kept for the life of the process: Windows
    // drops it when the process ends, however it ends, and never mistakes a new process
    // for the one that held it (as a lock file naming a process ID may).
    static const HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\Brenvo.OneCopy");
    static const bool heldByAnother = mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    return !heldByAnother;
#endif
}

} // namespace platform
