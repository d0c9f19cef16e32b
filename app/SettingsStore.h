// The settings store: a key under HKEY_CURRENT_USER whose subkeys are sections
// and whose values are the settings, read and written one value at a time.
#pragma once

#include <windows.h>

#include <string>

#include "win/UniqueHandle.h"

class TSettingsStore {
public:
    enum class Access { Read, Write };

    // Opens (creating when missing) root\keyPath for reading, or for reading
    // and writing. When that fails the store stays closed: reads give their
    // defaults, writes throw.
    TSettingsStore(HKEY root, std::wstring keyPath, Access access);

    bool IsOpen() const noexcept { return static_cast<bool>(key_); }

    // Reads: a missing key or value, a value of an unusable type or an integer
    // text that does not parse all give the default.
    bool ReadBool(const std::wstring& section, const std::wstring& name, bool defaultValue) const;
    int ReadInteger(const std::wstring& section, const std::wstring& name, int defaultValue) const;
    // A REG_EXPAND_SZ value comes with its environment variables expanded.
    std::wstring ReadString(const std::wstring& section, const std::wstring& name,
                            const std::wstring& defaultValue) const;

    // Writes create the section when missing and throw win::Error on failure.
    void WriteBool(const std::wstring& section, const std::wstring& name, bool value);
    // As a REG_DWORD, or as a decimal string when the value exists as a string.
    void WriteInteger(const std::wstring& section, const std::wstring& name, int value);
    void WriteString(const std::wstring& section, const std::wstring& name, const std::wstring& value);

private:
    win::UniqueKey OpenSection(const std::wstring& section) const;
    win::UniqueKey CreateSection(const std::wstring& section);
    void SetValue(const std::wstring& section, const std::wstring& name, DWORD type,
                  const void* data, DWORD size);

    std::wstring keyPath_;
    win::UniqueKey key_;
};
