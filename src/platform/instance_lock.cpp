#include "instance_lock.h"

#include <QDir>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#else
#include <QLockFile>
#endif

namespace platform {

QString instanceLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/brenvo.lock");
}

bool claimInstanceLock()
{
    const QByteArray path = QFile::encodeName(instanceLockPath());
#ifdef Q_OS_UNIX
    // Kept open for the life of the process: closing it would release the lock.
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true; // cannot tell: rather start than refuse the user
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    ::close(fd);
    return false;
#else
    static QLockFile lock(QString::fromLocal8Bit(path));
    lock.setStaleLockTime(0);
    return lock.tryLock(0);
#endif
}

} // namespace platform
