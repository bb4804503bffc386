// The per-user lock that lets only one copy of the program run.
#pragma once

#include <QString>

namespace platform {

// Where the lock lives: the user's runtime folder ($XDG_RUNTIME_DIR on Linux) when it is
// the user's own and private, else the folder brenvo in the user's cache folder, else
// the folder of the settings file, each when private. Empty when none is fit.
QString instanceLockPath();

// True when this process now holds the lock, or when none of those three can hold it
// (Brenvo then starts, and says so on standard error); false only when another copy
// holds it. The operating system drops the lock when the process dies, however it dies,
// so a killed copy never blocks the next start.
bool claimInstanceLock();

#ifdef Q_OS_UNIX
// The folder brenvo in the user's cache ($XDG_CACHE_HOME, else ~/.cache), made private
// to the user when it is new; empty when it is not a folder of the user's own that no
// one else can write.
QString privateCacheFolder();
#endif

// Qt needs a runtime folder while the application starts; when $XDG_RUNTIME_DIR is
// unset, Qt warns and makes /tmp/runtime-<user>. While this lives, the variable names
// the private cache folder above instead (or, when that is spoiled, a private folder
// made in Brenvo's settings folder, a folder of the user's own, and removed again; one
// that a start stopped early left there is removed at the next); afterwards it is unset
// again, so programs Brenvo starts (the browser) see the environment as it was.
class RuntimeFolderLoan
{
public:
    RuntimeFolderLoan();
    ~RuntimeFolderLoan();
    RuntimeFolderLoan(const RuntimeFolderLoan &) = delete;
    RuntimeFolderLoan &operator=(const RuntimeFolderLoan &) = delete;

private:
    bool m_lent = false;
    QByteArray m_made; // a folder made for the start alone, removed afterwards
};

} // namespace platform
