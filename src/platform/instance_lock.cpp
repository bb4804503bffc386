#include "instance_lock.h"
#ifdef Q_OS_UNIX
#include "settings_file.h"
#endif

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

#ifdef Q_OS_LINUX
QByteArray &abstractLockName()
{
    static QByteArray name = "brenvo-" + QByteArray::number(::geteuid()) + ".lock";
    return name;
}

// The third place, which no file can spoil: a socket named in Linux's abstract
// namespace, which the system drops with the process. Anyone may take a name there, so
// a name already taken counts as another copy only when its owner is this user.
Claim lockBySocket()
{
    const QByteArray &name = abstractLockName();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.size() + 1 > qsizetype(sizeof address.sun_path))
        return Claim::Unusable;
    std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size())); // sun_path[0] == 0: abstract
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(name.size()));
    const auto *where = reinterpret_cast<const sockaddr *>(&address);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return Claim::Unusable;
    // Kept for the life of the process; a large backlog, so that many asking copies
    // still reach it (it never accepts: each asker only reads who holds it).
    if (::bind(fd, where, length) == 0 && ::listen(fd, SOMAXCONN) == 0)
        return Claim::Taken;
    const bool taken = errno == EADDRINUSE;
    ::close(fd);
    if (!taken)
        return Claim::Unusable;
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (probe < 0)
        return Claim::Unusable;
    Claim claim = Claim::Unusable;
    ucred holder{};
    socklen_t size = sizeof holder;
    if (::connect(probe, where, length) == 0 && ::getsockopt(probe, SOL_SOCKET, SO_PEERCRED, &holder, &size) == 0
        && holder.uid == ::geteuid())
        claim = Claim::HeldByAnother;
    ::close(probe);
    return claim;
}
#endif

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
    QByteArray lent = QFile::encodeName(privateCacheFolder());
    if (lent.isEmpty()) {
        const QString settings = QFileInfo(settingsPath()).absolutePath();
        QDir().mkpath(settings);
        QByteArray made = QFile::encodeName(settings) + "/.runtime-XXXXXX";
        if (!privateFolder(settings) || !::mkdtemp(made.data()))
            return;
        lent = m_made = made;
    }
    m_lent = true;
    qputenv("XDG_RUNTIME_DIR", lent);
}

RuntimeFolderLoan::~RuntimeFolderLoan()
{
    if (m_lent)
        qunsetenv("XDG_RUNTIME_DIR");
    if (!m_made.isEmpty())
        ::rmdir(m_made.constData());
}
#else
RuntimeFolderLoan::RuntimeFolderLoan() = default;
RuntimeFolderLoan::~RuntimeFolderLoan() = default;
#endif

#ifdef Q_OS_LINUX
void useAbstractLockName(const QByteArray &name)
{
    abstractLockName() = name;
}
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
    // folder Brenvo may not write), the cache; then a socket in the abstract namespace.
    // Only when none can hold a lock does Brenvo start unguarded: rather start than
    // refuse the user.
    Claim claim = lockAt(runtimeLockPath());
    if (claim == Claim::Unusable)
        claim = lockAt(cacheLockPath());
#ifdef Q_OS_LINUX
    if (claim == Claim::Unusable)
        claim = lockBySocket();
#endif
    if (claim == Claim::Unusable)
        std::fprintf(stderr, "brenvo: found no place for the lock that keeps a second copy from starting; "
                             "starting without it\n");
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
