// The recording's stored values: its key, the frame rate, the longest
// recording and the pointer, read and written beside the other settings.
#pragma once

#include <string>

#include "app/AppSettings.h"
#include "app/SettingsStore.h"

// The frame rates offered; another stored value reads as the default, 15.
inline constexpr int kRecordFrameRates[] = {5, 10, 15, 20, 30};
// The longest recordings offered, in seconds; another stored value reads as 60.
inline constexpr int kRecordLongestChoices[] = {10, 30, 60, 120, 300, 600};

int ValidFrameRate(int framesPerSecond) noexcept;
int ValidLongestSeconds(int seconds) noexcept;

void ReadRecordingSettings(const TSettingsStore& store, const std::wstring& section, TAppSettings& s);
void SaveRecordingSettings(TSettingsStore& store, const std::wstring& section, const TAppSettings& s);
