// Loading the settings at start-up and saving them at an orderly close.
#pragma once

#include <windows.h>

#include <string>

#include "app/AppSettings.h"

inline constexpr wchar_t kSettingsKey[] = L"Software\\Tavro";
inline constexpr wchar_t kSettingsSection[] = L"SETTINGS";

// Reads the values, each with the current field as its default.
void ReadSettings(TAppSettings& settings, HKEY root = HKEY_CURRENT_USER,
                  const std::wstring& keyPath = kSettingsKey);

// Writes SaveOnExit, and the other values only when it is true. Throws
// win::Error with the registry layer's message when a write fails.
void SaveSettings(const TAppSettings& settings, HKEY root = HKEY_CURRENT_USER,
                  const std::wstring& keyPath = kSettingsKey);
