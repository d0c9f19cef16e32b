// The user settings, held in memory for the whole run by the main form and
// handed to whoever reads or changes them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

struct TAppSettings {
    bool SaveOnExit = true;
    std::wstring SaveDir;
    std::wstring ImageProgram;
    int ImageProgIndex = 0;
    std::wstring UserName;
    bool NameOnSlides = true;
    bool DateOnSlides = true;
    int CaptureShapeIndex = 0;
    bool ShowHints = true;
    int BackgroundColor = 16777215;  // 0x00BBGGRR, white
    bool DateStampImage = true;
    // The global capture key as the hot-key control spells it (virtual key in
    // the low byte, HOTKEYF_* in the high byte; 0 none). Print Screen alone.
    int CaptureHotKey = 0x2C;
    // Recording a GIF: its key (Ctrl+Shift+Print Screen), frames per second,
    // the longest recording in seconds and whether the pointer is drawn.
    int RecordHotKey = (HOTKEYF_CONTROL | HOTKEYF_SHIFT) << 8 | 0x2C;
    int RecordFramesPerSecond = 15;
    int RecordLongestSeconds = 60;
    bool RecordShowPointer = true;
    // The "Capture Last Region" key, spelled as CaptureHotKey: Shift+Print Screen.
    int LastRegionHotKey = 0x12C;
    // "Show the mouse pointer in captures".
    bool ShowMousePointer = false;
    // After a capture: the preview (as always before), and the steps that can
    // stand in for it or go with it.
    bool AfterCaptureShowPreview = true;
    bool AfterCaptureCopy = false;
    bool AfterCaptureSave = false;
    bool AfterCapturePin = false;
    // The name and type of the files "Save in the folder" writes into SaveDir
    // (tokens: output/CaptureFileName.h; the type as the save dialog numbers
    // it, 4 PNG).
    std::wstring FileNamePattern = L"Capture %Y-%m-%d %H%M%S";
    int AutoSaveType = 4;
};
