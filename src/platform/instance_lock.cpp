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
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <qt_windows.h>
#include <sddl.h>
#include <string>
#include <vector>
#endif

namespace platform {
namespace {

enum class Claim { Taken, HeldByAnother, Unusable };

#ifdef Q_OS_WIN
// The user's SID as text ("S-1-5-21-..."); empty when it cannot be read.
std::wstring userSid()
{
    std::wstring sid;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return sid;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    wchar_t *text = nullptr;
    if (size && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)
        && ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER *>(buffer.data())->User.Sid, &text)) {
        sid = text;
        LocalFree(text);
    }
    CloseHandle(token);
    return sid;
}
#endif

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

// The folder of Brenvo's settings file, made private to the user when it is new; empty
// when it is not a folder of the user's own that no one else can write.
QString privateSettingsFolder()
{
    const QString dir = QFileInfo(settingsPath()).absolutePath();
    QDir().mkpath(QFileInfo(dir).absolutePath());
    ::mkdir(QFile::encodeName(dir).constData(), 0700);
    return privateFolder(dir) ? dir : QString();
}

QString settingsLockPath()
{
    const QString dir = privateSettingsFolder();
    return dir.isEmpty() ? QString() : dir + QStringLiteral("/brenvo.lock");
}

// A folder of the user's own, reached through a link or not: fit to lend for the start
// (the folder lent is made private inside it), not to hold the lock.
bool ownFolder(const QString &dir)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(dir).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

constexpr char kLentPrefix[] = ".runtime-";

// Folders lent to an earlier start that was stopped before it could remove them: only
// such names, only empty folders of the user's own (rmdir takes nothing else).
void sweepLentFolders(const QString &dir)
{
    const QStringList names = QDir(dir).entryList({QString::fromLatin1(kLentPrefix) + QStringLiteral("??????")},
                                                  QDir::Dirs | QDir::Hidden | QDir::NoSymLinks);
    for (const QString &name : names) {
        const QByteArray path = QFile::encodeName(dir + u'/' + name);
        struct stat st
        {
        };
        if (::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid())
            ::rmdir(path.constData());
    }
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
        if (!ownFolder(settings))
            return;
        sweepLentFolders(settings);
        QByteArray made = QFile::encodeName(settings) + '/' + kLentPrefix + "XXXXXX";
        if (!::mkdtemp(made.data())) // private to the user
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

QString instanceLockPath()
{
#ifdef Q_OS_UNIX
    for (const QString &path : {runtimeLockPath(), cacheLockPath(), settingsLockPath()})
        if (!path.isEmpty())
            return path;
    return {};
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
    // folder Brenvo may not write), the cache, then the settings folder: each private to
    // the user, so that no one else can take, fill or replace the lock, and shared by
    // every copy that shares the user's files, whatever namespaces it runs in. Only when
    // none can hold a lock does Brenvo start unguarded: rather start than refuse the user.
    Claim claim = lockAt(runtimeLockPath());
    if (claim == Claim::Unusable)
        claim = lockAt(cacheLockPath());
    if (claim == Claim::Unusable)
        claim = lockAt(settingsLockPath());
    if (claim == Claim::Unusable)
        std::fprintf(stderr, "brenvo: found no place for the lock that keeps a second copy from starting; "
                             "starting without it\n");
    return claim != Claim::HeldByAnother;
#else
    // A named mutex of the user's session, kept for the life of the process: Windows
    // drops it when the process ends, however it ends, and never mistakes a new process
    // for the one that held it (as a lock file naming a process ID may). Its name holds
    // the user's SID, so no other user's copy meets it; a name taken by an object of
    // another kind, or by a mutex this user may not open, counts as held: whoever took
    // it could otherwise switch the guard off.
    static const Claim claim = [] {
        const std::wstring name = L"Local\\Brenvo.OneCopy." + userSid();
        if (const HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str()))
            return GetLastError() == ERROR_ALREADY_EXISTS ? Claim::HeldByAnother : Claim::Taken;
        const DWORD error = GetLastError();
        return error == ERROR_INVALID_HANDLE || error == ERROR_ACCESS_DENIED ? Claim::HeldByAnother : Claim::Unusable;
    }();
    if (claim == Claim::Unusable)
        std::fprintf(stderr, "brenvo: found no place for the lock that keeps a second copy from starting; "
                             "starting without it\n");
    return claim != Claim::HeldByAnother;
#endif
}

} // namespace platform
