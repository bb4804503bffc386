// The per-user settings store of Windows: values of the registry key
// HKEY_CURRENT_USER\Software\Brenvo\<section>, as Windows programs keep their settings.
// Only the one value is ever read or written; a value that is not text is never
// written over.
#pragma once

#include "services.h"

namespace platform {

class RegistrySettingsStore final : public SettingsStore
{
public:
    // base: the key under HKEY_CURRENT_USER that holds the sections.
    explicit RegistrySettingsStore(QString base = QStringLiteral("Software\\Brenvo"));

    QString read(const QString &section, const QString &key) override;
    void write(const QString &section, const QString &key, const QString &value) override;

private:
    QString m_base;
};

} // namespace platform
