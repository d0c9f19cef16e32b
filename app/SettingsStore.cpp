#include "app/SettingsStore.h"

#include "app/SettingsEncoding.h"
#include "win/Error.h"
#include "win/Strings.h"

namespace {

constexpr DWORD kStringTypes = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;

// The value's type and size, or false when it cannot be read at all.
bool QueryType(HKEY key, const std::wstring& name, DWORD& type, DWORD& size)
{
    type = REG_NONE;
    size = 0;
    return ::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

bool ReadText(HKEY key, const std::wstring& name, std::wstring& out)
{
    DWORD size = 0;
    if (::RegGetValueW(key, nullptr, name.c_str(), kStringTypes, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    // Room for a terminator the stored data may lack.
    std::wstring buffer(size / sizeof(wchar_t) + 2, L'\0');
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (::RegGetValueW(key, nullptr, name.c_str(), kStringTypes, nullptr, buffer.data(), &bytes) !=
        ERROR_SUCCESS)
        return false;
    buffer.resize(wcsnlen(buffer.c_str(), buffer.size()));
    out = std::move(buffer);
    return true;
}

// A REG_EXPAND_SZ value with its environment variables expanded; one that
// names an unknown variable keeps it as written.
bool ReadExpandedText(HKEY key, const std::wstring& name, std::wstring& out)
{
    DWORD type, size;
    if (!QueryType(key, name, type, size) || !ReadText(key, name, out)) return false;
    if (type != REG_EXPAND_SZ) return true;
    const DWORD length = ::ExpandEnvironmentStringsW(out.c_str(), nullptr, 0);
    if (length == 0) return true;
    std::wstring expanded(length, L'\0');
    const DWORD written = ::ExpandEnvironmentStringsW(out.c_str(), expanded.data(), length);
    if (written == 0 || written > length) return true;
    expanded.resize(written - 1);
    out = std::move(expanded);
    return true;
}

}  // namespace

TSettingsStore::TSettingsStore(HKEY root, std::wstring keyPath, Access access) : keyPath_(std::move(keyPath))
{
    // Reading asks for read access only, so a key that can be read but not
    // written still gives its values; a missing key is created (first start).
    const REGSAM rights = access == Access::Read ? KEY_READ : KEY_READ | KEY_WRITE;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, keyPath_.c_str(), 0, rights, &key) == ERROR_SUCCESS ||
        ::RegCreateKeyExW(root, keyPath_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, rights, nullptr, &key,
                          nullptr) == ERROR_SUCCESS)
        key_.reset(key);
}

win::UniqueKey TSettingsStore::OpenSection(const std::wstring& section) const
{
    HKEY key = nullptr;
    if (!key_ || ::RegOpenKeyExW(key_.get(), section.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    return win::UniqueKey(key);
}

win::UniqueKey TSettingsStore::CreateSection(const std::wstring& section)
{
    HKEY key = nullptr;
    if (!key_ || ::RegCreateKeyExW(key_.get(), section.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw win::Error(win::FormatOne(L"Failed to create key %s", section));
    return win::UniqueKey(key);
}

int TSettingsStore::ReadInteger(const std::wstring& section, const std::wstring& name,
                                int defaultValue) const
{
    win::UniqueKey key = OpenSection(section);
    if (!key) return defaultValue;
    DWORD type, size;
    if (!QueryType(key.get(), name, type, size)) return defaultValue;
    if (type == REG_DWORD) {
        // A short value must not leave stale upper bytes: start from zero and
        // insist on exactly four bytes.
        DWORD value = 0;
        DWORD bytes = sizeof value;
        if (size != sizeof value ||
            ::RegGetValueW(key.get(), nullptr, name.c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                           &bytes) != ERROR_SUCCESS ||
            bytes != sizeof value)
            return defaultValue;
        return static_cast<int>(value);
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring text;
        if (!ReadText(key.get(), name, text)) return defaultValue;
        return settings::ParseDecimal(text).value_or(defaultValue);
    }
    return defaultValue;  // binary, QWORD, multi-string...: treated as missing
}

bool TSettingsStore::ReadBool(const std::wstring& section, const std::wstring& name,
                              bool defaultValue) const
{
    return ReadInteger(section, name, defaultValue ? 1 : 0) != 0;
}

std::wstring TSettingsStore::ReadString(const std::wstring& section, const std::wstring& name,
                                        const std::wstring& defaultValue) const
{
    win::UniqueKey key = OpenSection(section);
    std::wstring text;
    if (!key || !ReadExpandedText(key.get(), name, text)) return defaultValue;
    return text;
}

void TSettingsStore::SetValue(const std::wstring& section, const std::wstring& name, DWORD type,
                              const void* data, DWORD size)
{
    win::UniqueKey key = CreateSection(section);
    if (::RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size) !=
        ERROR_SUCCESS)
        throw win::Error(win::FormatOne(L"Failed to set data for '%s'", name));
}

void TSettingsStore::WriteString(const std::wstring& section, const std::wstring& name,
                                 const std::wstring& value)
{
    SetValue(section, name, REG_SZ, value.c_str(),
             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void TSettingsStore::WriteBool(const std::wstring& section, const std::wstring& name, bool value)
{
    WriteString(section, name, settings::FlagText(value));
}

void TSettingsStore::WriteInteger(const std::wstring& section, const std::wstring& name, int value)
{
    win::UniqueKey key = OpenSection(section);
    DWORD type, size;
    if (key && QueryType(key.get(), name, type, size) && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        key.reset();
        WriteString(section, name, settings::DecimalText(value));
        return;
    }
    key.reset();
    const DWORD data = static_cast<DWORD>(value);
    SetValue(section, name, REG_DWORD, &data, sizeof data);
}
