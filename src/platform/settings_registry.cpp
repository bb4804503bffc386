#include "settings_registry.h"

#include <qt_windows.h>

namespace platform {
namespace {

std::wstring wide(const QString &text)
{
    return text.toStdWString();
}

// What the registry holds under that name: its type, and its text when it is text.
struct Stored
{
    bool exists = false;
    DWORD type = REG_NONE;
    QString text;
};

Stored lookUp(const QString &path, const QString &name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(path).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return {};
    Stored stored;
    DWORD size = 0;
    const std::wstring value = wide(name);
    LONG status = RegQueryValueExW(key, value.c_str(), nullptr, &stored.type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        stored.exists = true;
        if (stored.type == REG_SZ) {
            // A Brenvo date is ten characters; anything far longer is not one of its.
            std::wstring buffer(std::min<DWORD>(size, 4096) / sizeof(wchar_t) + 1, L'\0');
            DWORD bytes = DWORD((buffer.size() - 1) * sizeof(wchar_t));
            status =
                RegQueryValueExW(key, value.c_str(), nullptr, nullptr, reinterpret_cast<BYTE *>(buffer.data()), &bytes);
            if (status != ERROR_SUCCESS) {
                RegCloseKey(key);
                throw PlatformError("settings value unreadable");
            }
            stored.text = QString::fromWCharArray(buffer.c_str());
        }
    } else if (status != ERROR_FILE_NOT_FOUND) {
        RegCloseKey(key);
        throw PlatformError("settings value unreadable");
    }
    RegCloseKey(key);
    return stored;
}

} // namespace

RegistrySettingsStore::RegistrySettingsStore(QString base) : m_base(std::move(base)) {}

QString RegistrySettingsStore::read(const QString &section, const QString &key)
{
    const Stored stored = lookUp(m_base + u'\\' + section, key);
    if (stored.exists && stored.type != REG_SZ)
        throw PlatformError("settings value is not text");
    return stored.text;
}

void RegistrySettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    const QString path = m_base + u'\\' + section;
    const Stored stored = lookUp(path, key);
    if (stored.exists && stored.type != REG_SZ)
        throw PlatformError("settings value is not text");
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, wide(path).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr)
        != ERROR_SUCCESS)
        throw PlatformError("settings key cannot be made");
    const std::wstring text = wide(value);
    const LONG status =
        RegSetValueExW(handle, wide(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                       DWORD((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS)
        throw PlatformError("settings value cannot be written");
}

} // namespace platform
