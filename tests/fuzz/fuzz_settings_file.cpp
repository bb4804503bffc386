// Any bytes found in the settings file, read and written through the real store on a
// real file: what cannot be changed without loss is never written; what can keeps
// every line but the date's, in order, and reads back the date written.
#include "platform/settings_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
const QString kSection = QStringLiteral("Settings");
const QString kKey = QStringLiteral("Duration");
const QString kToday = QStringLiteral("2026-12-07");

void require(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// The lines of a text without their ends: a last line without one gains it when a line
// is added after it.
QList<QByteArray> linesOf(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

// before's lines stand in after: the date's changed in its place, or lines added among
// them in their order.
bool keepsTheOtherLines(const QByteArray &before, const QByteArray &after)
{
    const QList<QByteArray> old = linesOf(before);
    const QList<QByteArray> now = linesOf(after);
    if (old.size() == now.size()) {
        int changed = 0;
        for (qsizetype i = 0; i < old.size(); ++i) {
            if (old[i] != now[i] && (++changed > 1 || !old[i].trimmed().startsWith(kKey.toLatin1())))
                return false;
        }
        return true;
    }
    qsizetype from = 0;
    for (const QByteArray &line : old) {
        const qsizetype at = now.indexOf(line, from);
        if (at < 0)
            return false;
        from = at + 1;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("brenvo.conf"));
    const QByteArray before(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile f(path);
        require(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(before) == before.size(),
                "cannot prepare the file");
    }
    platform::FileSettingsStore store(path);
    const std::optional<platform::IniText> ini = platform::IniText::parse(before);
    bool wrote = true;
    try {
        store.write(kSection, kKey, kToday);
    } catch (const platform::PlatformError &) {
        wrote = false;
    }
    const QByteArray after = contents(path);
    if (!ini) {
        require(!wrote && after == before, "a file that is not a settings file was changed");
        return 0;
    }
    require(ini->bytes() == before, "parsing and writing back changed the bytes");
    require(wrote, "a settings file could not be written");
    const std::optional<platform::IniText> reread = platform::IniText::parse(after);
    require(reread && reread->value(kSection, kKey) == kToday, "the date does not read back");
    require(store.read(kSection, kKey) == kToday, "the store does not read the date back");
    require(keepsTheOtherLines(before, after), "a line other than the date's was lost");
    require(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() == 1, "a temporary file was left");
    return 0;
}
