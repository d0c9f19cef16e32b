#include "app/RecordingSettings.h"

#include <algorithm>
#include <iterator>

int ValidFrameRate(int framesPerSecond) noexcept
{
    const bool offered = std::find(std::begin(kRecordFrameRates), std::end(kRecordFrameRates), framesPerSecond) !=
                         std::end(kRecordFrameRates);
    return offered ? framesPerSecond : 15;
}

int ValidLongestSeconds(int seconds) noexcept
{
    const bool offered = std::find(std::begin(kRecordLongestChoices), std::end(kRecordLongestChoices), seconds) !=
                         std::end(kRecordLongestChoices);
    return offered ? seconds : 60;
}

void ReadRecordingSettings(const TSettingsStore& store, const std::wstring& section, TAppSettings& s)
{
    s.RecordHotKey = store.ReadInteger(section, L"RecordHotKey", s.RecordHotKey);
    s.RecordFramesPerSecond =
        ValidFrameRate(store.ReadInteger(section, L"RecordFramesPerSecond", s.RecordFramesPerSecond));
    s.RecordLongestSeconds =
        ValidLongestSeconds(store.ReadInteger(section, L"RecordLongestSeconds", s.RecordLongestSeconds));
    s.RecordShowPointer = store.ReadBool(section, L"RecordShowPointer", s.RecordShowPointer);
}

void SaveRecordingSettings(TSettingsStore& store, const std::wstring& section, const TAppSettings& s)
{
    store.WriteInteger(section, L"RecordHotKey", s.RecordHotKey);
    store.WriteInteger(section, L"RecordFramesPerSecond", s.RecordFramesPerSecond);
    store.WriteInteger(section, L"RecordLongestSeconds", s.RecordLongestSeconds);
    store.WriteBool(section, L"RecordShowPointer", s.RecordShowPointer);
}
