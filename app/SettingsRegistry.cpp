#include "app/SettingsRegistry.h"

#include "app/RecordingSettings.h"
#include "app/SettingsStore.h"
#include "win/Error.h"
#include "win/Strings.h"

void ReadSettings(TAppSettings& s, HKEY root, const std::wstring& keyPath)
{
    const TSettingsStore store(root, keyPath, TSettingsStore::Access::Read);
    const std::wstring section = kSettingsSection;
    s.SaveOnExit = store.ReadBool(section, L"SaveOnExit", s.SaveOnExit);
    s.SaveDir = store.ReadString(section, L"SaveDir", s.SaveDir);
    s.ImageProgram = store.ReadString(section, L"ImageProgram", s.ImageProgram);
    s.ImageProgIndex = store.ReadInteger(section, L"ImageProgIndex", s.ImageProgIndex);
    s.UserName = store.ReadString(section, L"UserName", s.UserName);
    s.NameOnSlides = store.ReadBool(section, L"NameOnSlides", s.NameOnSlides);
    s.DateOnSlides = store.ReadBool(section, L"DateOnSlides", s.DateOnSlides);
    s.CaptureShapeIndex = store.ReadInteger(section, L"CaptureShapeIndex", s.CaptureShapeIndex);
    s.ShowHints = store.ReadBool(section, L"ShowHints", s.ShowHints);
    s.BackgroundColor = store.ReadInteger(section, L"BackgroundColor", s.BackgroundColor);
    s.DateStampImage = store.ReadBool(section, L"DateStampImage", s.DateStampImage);
    s.CaptureHotKey = store.ReadInteger(section, L"CaptureHotKey", s.CaptureHotKey);
    ReadRecordingSettings(store, section, s);
    s.LastRegionHotKey = store.ReadInteger(section, L"LastRegionHotKey", s.LastRegionHotKey);
    s.ShowMousePointer = store.ReadBool(section, L"ShowMousePointer", s.ShowMousePointer);
    s.AfterCaptureShowPreview = store.ReadBool(section, L"AfterCaptureShowPreview", s.AfterCaptureShowPreview);
    s.AfterCaptureCopy = store.ReadBool(section, L"AfterCaptureCopy", s.AfterCaptureCopy);
    s.AfterCaptureSave = store.ReadBool(section, L"AfterCaptureSave", s.AfterCaptureSave);
    s.AfterCapturePin = store.ReadBool(section, L"AfterCapturePin", s.AfterCapturePin);
    s.FileNamePattern = store.ReadString(section, L"FileNamePattern", s.FileNamePattern);
    s.AutoSaveType = store.ReadInteger(section, L"AutoSaveType", s.AutoSaveType);
}

void SaveSettings(const TAppSettings& s, HKEY root, const std::wstring& keyPath)
{
    TSettingsStore store(root, keyPath, TSettingsStore::Access::Write);
    if (!store.IsOpen()) throw win::Error(win::FormatOne(L"Failed to create key %s", keyPath));
    const std::wstring section = kSettingsSection;
    store.WriteBool(section, L"SaveOnExit", s.SaveOnExit);
    if (!s.SaveOnExit) return;
    store.WriteString(section, L"SaveDir", s.SaveDir);
    store.WriteString(section, L"ImageProgram", s.ImageProgram);
    store.WriteInteger(section, L"ImageProgIndex", s.ImageProgIndex);
    store.WriteString(section, L"UserName", s.UserName);
    store.WriteBool(section, L"NameOnSlides", s.NameOnSlides);
    store.WriteBool(section, L"DateOnSlides", s.DateOnSlides);
    store.WriteInteger(section, L"CaptureShapeIndex", s.CaptureShapeIndex);
    store.WriteBool(section, L"ShowHints", s.ShowHints);
    store.WriteInteger(section, L"BackgroundColor", s.BackgroundColor);
    store.WriteBool(section, L"DateStampImage", s.DateStampImage);
    store.WriteInteger(section, L"CaptureHotKey", s.CaptureHotKey);
    SaveRecordingSettings(store, section, s);
    store.WriteInteger(section, L"LastRegionHotKey", s.LastRegionHotKey);
    store.WriteBool(section, L"ShowMousePointer", s.ShowMousePointer);
    store.WriteBool(section, L"AfterCaptureShowPreview", s.AfterCaptureShowPreview);
    store.WriteBool(section, L"AfterCaptureCopy", s.AfterCaptureCopy);
    store.WriteBool(section, L"AfterCaptureSave", s.AfterCaptureSave);
    store.WriteBool(section, L"AfterCapturePin", s.AfterCapturePin);
    store.WriteString(section, L"FileNamePattern", s.FileNamePattern);
    store.WriteInteger(section, L"AutoSaveType", s.AutoSaveType);
}
