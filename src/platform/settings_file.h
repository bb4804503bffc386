// The per-user settings file, read and changed with care for what else it holds: one
// value is changed as text and every other byte stays as it was; a file that is not a
// settings file Brenvo can change without loss, or that is not a regular file at all,
// is never written.
#pragma once

#include "services.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// $XDG_CONFIG_HOME/brenvo/brenvo.conf, or ~/.config/brenvo/brenvo.conf when the
// variable is unset or not an absolute path (as the XDG base-directory rules say).
QString settingsPath();

// The text of a settings file: lines of "[section]", "key=value", comments (";" or
// "#") and blank lines, in UTF-8.
class IniText
{
public:
    IniText() = default;
    // Nothing when the bytes are not such a text (binary data, a note, lines that are
    // neither section nor value), which Brenvo then never rewrites.
    static std::optional<IniText> parse(const QByteArray &bytes);

    // The value's text, without surrounding blanks or double quotes; nothing when the
    // file does not hold it. The last of several wins.
    std::optional<QString> value(const QString &section, const QString &key) const;
    // Changes that one line, or adds it (and its section) at the end of the section
    // (the file); all other lines stay byte for byte.
    void setValue(const QString &section, const QString &key, const QString &value);

    QByteArray bytes() const;

private:
    void endLastLine(const QString &cr);

    struct Line
    {
        QString text;
        QString section; // the section the line belongs to
        QString key;     // empty unless it is a value line
    };
    QList<Line> m_lines;
    QString m_newline = QStringLiteral("\n");
    bool m_endsWithNewline = true;
};

// The settings store on the file above.
class FileSettingsStore final : public SettingsStore
{
public:
    // path: the settings file; settingsPath() by default.
    explicit FileSettingsStore(QString path = QString());

    QString read(const QString &section, const QString &key) override;
    void write(const QString &section, const QString &key, const QString &value) override;

private:
    QString path() const;
    QString m_path;
};

} // namespace platform
