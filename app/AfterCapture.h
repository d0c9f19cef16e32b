// What is done with a fresh capture, as the user chose in Settings: copy it,
// save it into the folder, pin it, and show the preview.
#pragma once

#include <windows.h>

#include <string>

#include "app/AppSettings.h"
#include "preview/PinWindow.h"
#include "win/AlphaMask.h"
#include "win/Bitmap.h"

// Runs the chosen copy, save and pin steps on picture (as rendered, with its
// see-through mask; topLeft is where it was taken). Returns whether the
// preview is to show: when chosen, when no other step was, or when the save
// failed (its message shown first), so the picture is never lost. saved
// receives the file written, empty when none.
bool RunAfterCaptureSteps(const TAppSettings& settings, const win::Bitmap& picture, const win::AlphaMask& alpha,
                          POINT topLeft, HWND owner, PinBoard& pins, std::wstring& saved);
