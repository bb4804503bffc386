#include "settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace platform {
namespace {

// A settings file of Brenvo's is a few dozen bytes; anything far larger is not one,
// and is not read into memory.
constexpr qint64 kMaxBytes = 64 * 1024;

enum class Kind { Missing, Regular, Unusable };

struct Located
{
    Kind kind = Kind::Unusable;
    QString target; // the file to read and replace: the path itself, or what its link names
};

// Looks at the path without opening it: opening a FIFO or a device could block or
// have effects of its own.
Located locate(const QString &path)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat st
    {
    };
    if (::lstat(name.constData(), &st) != 0)
        return errno == ENOENT ? Located{Kind::Missing, path} : Located{};
    if (S_ISLNK(st.st_mode)) {
        // Dotfile managers link the file from elsewhere: writing through the link is
        // right when it names a regular file. A dangling link is left alone.
        if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode))
            return {};
        return {Kind::Regular, QFileInfo(path).canonicalFilePath()};
    }
    if (!S_ISREG(st.st_mode))
        return {};
    return {Kind::Regular, path};
#else
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {Kind::Missing, path};
    if (!info.exists() || !info.isFile())
        return {};
    return {Kind::Regular, info.isSymLink() ? info.canonicalFilePath() : path};
#endif
}

std::optional<QByteArray> readRegular(const QString &path)
{
#ifdef Q_OS_UNIX
    // Non-blocking and no links followed: should the path have changed since it was
    // looked at, a FIFO still cannot hold the start-up.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        return std::nullopt;
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxBytes) {
        ::close(fd);
        return std::nullopt;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
#else
    QFile file(path);
    if (file.size() > kMaxBytes || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
#endif
    QByteArray bytes = file.read(kMaxBytes + 1);
    if (bytes.size() > kMaxBytes || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

#ifdef Q_OS_UNIX
// Brenvo's own temporary files are named "<file>.brenvo-tmp-" and six letters or digits,
// so that one left by a killed copy is told apart from anything the user keeps there.
const QString kTemporaryInfix = QStringLiteral(".brenvo-tmp-");
constexpr qsizetype kTemporarySuffix = 6;

bool isTemporaryName(const QString &name, const QString &fileName)
{
    if (name.size() != fileName.size() + kTemporaryInfix.size() + kTemporarySuffix
        || !name.startsWith(fileName + kTemporaryInfix))
        return false;
    const QStringView suffix = QStringView(name).last(kTemporarySuffix);
    return std::all_of(suffix.begin(), suffix.end(),
                       [](QChar c) { return c.unicode() < 0x80 && c.isLetterOrNumber(); });
}

// Removes the temporary files a killed copy left beside the file: only regular files of
// this user's with Brenvo's own pattern of name, never through a link.
void removeStaleTemporaries(const QString &dir, const QString &fileName)
{
    const QStringList names =
        QDir(dir).entryList({fileName + kTemporaryInfix + u'*'}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const QByteArray path = QFile::encodeName(dir + u'/' + name);
        struct stat st
        {
        };
        if (isTemporaryName(name, fileName) && ::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode)
            && st.st_uid == ::geteuid())
            ::unlink(path.constData());
    }
}

// Opens a new temporary file beside target, created by this call alone.
std::pair<int, QByteArray> createTemporary(const QString &target, mode_t mode)
{
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray path = QFile::encodeName(target + kTemporaryInfix);
        for (qsizetype i = 0; i < kTemporarySuffix; ++i)
            path += kAlphabet[QRandomGenerator::global()->bounded(int(sizeof kAlphabet - 1))];
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, mode);
        if (fd >= 0 || errno != EEXIST)
            return {fd, path};
    }
    return {-1, {}};
}

bool writeAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}
#endif

// Replaces target with bytes through a temporary file renamed over it, so that a failure
// at any point (a full disk above all) leaves the old file whole; the file keeps its
// permissions.
void replaceFile(const QString &target, const QByteArray &bytes)
{
#ifdef Q_OS_UNIX
    const QFileInfo info(target);
    removeStaleTemporaries(info.absolutePath(), info.fileName());
    struct stat old
    {
    };
    const bool existed = ::stat(QFile::encodeName(target).constData(), &old) == 0;
    // A file its owner made read-only stays as it is (a rename would replace it anyway).
    if (existed && (old.st_mode & S_IWUSR) == 0)
        throw PlatformError("settings file is read-only");
    const auto [fd, temporary] = createTemporary(target, existed ? (old.st_mode & 07777) : 0666);
    if (fd < 0)
        throw PlatformError("settings file cannot be written");
    // fchmod: the old file's mode as it was, not as the umask would cut it. fsync: a
    // full disk may only show when the data reaches it.
    bool written = (!existed || ::fchmod(fd, old.st_mode & 07777) == 0) && writeAll(fd, bytes) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0) {
        ::unlink(temporary.constData());
        throw PlatformError("settings file cannot be written");
    }
#else
    QSaveFile out(target);
    out.setDirectWriteFallback(false);
    // A failed flush must stop the rename: commit alone would replace the old file.
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush()) {
        out.cancelWriting();
        out.commit();
        throw PlatformError("settings file cannot be written");
    }
    if (!out.commit())
        throw PlatformError("settings file cannot be written");
#endif
}

} // namespace

QString settingsPath()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
#else
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
    return base + QStringLiteral("/brenvo/brenvo.conf");
}

std::optional<IniText> IniText::parse(const QByteArray &bytes)
{
    if (bytes.size() > kMaxBytes || bytes.startsWith("\xEF\xBB\xBF"))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    for (const QChar c : text) {
        if ((c.unicode() < 0x20 && c != u'\t' && c != u'\r' && c != u'\n') || c.unicode() == 0x7f)
            return std::nullopt;
    }

    IniText ini;
    if (text.contains(QStringLiteral("\r\n")))
        ini.m_newline = QStringLiteral("\r\n");
    QStringList lines = text.split(u'\n');
    ini.m_endsWithNewline = text.isEmpty() || text.endsWith(u'\n');
    if (ini.m_endsWithNewline)
        lines.removeLast();
    QString section;
    for (const QString &raw : lines) {
        const QString t = raw.trimmed();
        Line line{raw, section, QString()};
        if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'#')) {
            // blank or comment
        } else if (t.startsWith(u'[') && t.endsWith(u']')) {
            section = t.mid(1, t.size() - 2).trimmed();
            line.section = section;
        } else if (const qsizetype eq = t.indexOf(u'='); eq > 0 && !t.left(eq).trimmed().isEmpty()) {
            line.key = t.left(eq).trimmed();
        } else {
            return std::nullopt; // neither section nor value: not a settings file
        }
        ini.m_lines.append(line);
    }
    return ini;
}

std::optional<QString> IniText::value(const QString &section, const QString &key) const
{
    for (auto it = m_lines.crbegin(); it != m_lines.crend(); ++it) {
        if (it->section != section || it->key != key)
            continue;
        QString v = it->text.mid(it->text.indexOf(u'=') + 1).trimmed();
        if (v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"'))
            v = v.mid(1, v.size() - 2);
        return v;
    }
    return std::nullopt;
}

void IniText::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString cr = m_newline.size() == 2 ? QStringLiteral("\r") : QString();
    for (qsizetype i = m_lines.size() - 1; i >= 0; --i) {
        Line &line = m_lines[i];
        if (line.section == section && line.key == key) {
            line.text =
                line.text.left(line.text.indexOf(u'=') + 1) + value + (line.text.endsWith(u'\r') ? cr : QString());
            return;
        }
    }
    const Line added{key + u'=' + value + cr, section, key};
    for (qsizetype i = m_lines.size() - 1; i >= 0; --i) {
        if (m_lines[i].section != section)
            continue;
        // After the section's last line that is not blank.
        qsizetype at = i;
        while (at > 0 && m_lines[at].section == section && m_lines[at].text.trimmed().isEmpty())
            --at;
        if (at + 1 == m_lines.size())
            endLastLine(cr);
        m_lines.insert(at + 1, added);
        return;
    }
    endLastLine(cr);
    if (!m_lines.isEmpty() && !m_lines.last().text.trimmed().isEmpty())
        m_lines.append(Line{cr, m_lines.last().section, QString()});
    m_lines.append(Line{u'[' + section + u']' + cr, section, QString()});
    m_lines.append(added);
    m_endsWithNewline = true;
}

void IniText::endLastLine(const QString &cr)
{
    // A last line without its line break gets one, in the file's own kind, before a
    // line is added after it.
    if (!m_lines.isEmpty() && !m_endsWithNewline && !m_lines.last().text.endsWith(u'\r'))
        m_lines.last().text += cr;
    m_endsWithNewline = true;
}

QByteArray IniText::bytes() const
{
    QString text;
    for (const Line &line : m_lines) {
        if (&line != &m_lines.first())
            text += u'\n';
        text += line.text;
    }
    if (m_endsWithNewline && !m_lines.isEmpty())
        text += u'\n';
    return text.toUtf8();
}

FileSettingsStore::FileSettingsStore(QString path) : m_path(std::move(path)) {}

QString FileSettingsStore::path() const
{
    return m_path.isEmpty() ? settingsPath() : m_path;
}

QString FileSettingsStore::read(const QString &section, const QString &key)
{
    const Located file = locate(path());
    if (file.kind == Kind::Missing)
        return {};
    const std::optional<QByteArray> bytes = file.kind == Kind::Regular ? readRegular(file.target) : std::nullopt;
    const std::optional<IniText> ini = bytes ? IniText::parse(*bytes) : std::nullopt;
    if (!ini)
        throw PlatformError("settings file unreadable");
    return ini->value(section, key).value_or(QString());
}

void FileSettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    const Located file = locate(path());
    IniText ini;
    if (file.kind == Kind::Unusable)
        throw PlatformError("settings file is not a regular file");
    if (file.kind == Kind::Regular) {
        const std::optional<QByteArray> bytes = readRegular(file.target);
        std::optional<IniText> parsed = bytes ? IniText::parse(*bytes) : std::nullopt;
        if (!parsed)
            throw PlatformError("settings file would lose what it holds");
        ini = std::move(*parsed);
    } else if (!QDir().mkpath(QFileInfo(file.target).absolutePath())) {
        throw PlatformError("settings folder cannot be made");
    }
    ini.setValue(section, key, value);
    replaceFile(file.target, ini.bytes());
}

} // namespace platform
