#include "platform/scale_factors.h"

#include <QByteArray>
#include <QList>
#include <cmath>

namespace platform {

bool usableScaleFactor(QByteArrayView text)
{
    bool ok = false;
    const double factor = QByteArray(text.data(), text.size()).trimmed().toDouble(&ok);
    return ok && std::isfinite(factor) && factor >= kSmallestScale && factor <= kLargestScale;
}

bool usableScreenScaleFactors(QByteArrayView list)
{
    const QList<QByteArray> factors = QByteArray(list.data(), list.size()).split(';');
    for (const QByteArray &entry : factors) {
        const qsizetype named = entry.lastIndexOf('=');
        if (!usableScaleFactor(named < 0 ? entry : entry.mid(named + 1)))
            return false;
    }
    return true;
}

QStringList dropUnusableScaleFactors()
{
    QStringList said;
    const auto check = [&said](const char *name, bool (*usable)(QByteArrayView)) {
        if (!qEnvironmentVariableIsSet(name))
            return;
        const QByteArray value = qgetenv(name);
        if (usable(value))
            return;
        qunsetenv(name);
        said << QStringLiteral("brenvo: %1=%2 is not a scale from %3 to %4; the windows come at the desktop's own")
                    .arg(QString::fromLatin1(name), QString::fromLocal8Bit(value))
                    .arg(kSmallestScale)
                    .arg(kLargestScale);
    };
    check("QT_SCALE_FACTOR", usableScaleFactor);
    check("QT_SCREEN_SCALE_FACTORS", usableScreenScaleFactors);
    return said;
}

} // namespace platform
