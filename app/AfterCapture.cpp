#include "app/AfterCapture.h"

#include "output/CaptureSave.h"
#include "output/CopyToClipboard.h"
#include "preview/PinCommand.h"
#include "win/Form.h"

namespace {

// Runs one step, showing what it throws; false when it failed.
template <typename Step>
bool RunStep(Step&& step) noexcept
{
    try {
        step();
        return true;
    } catch (...) {
        win::ReportCurrentException();
    }
    return false;
}

}  // namespace

bool RunAfterCaptureSteps(const TAppSettings& settings, const win::Bitmap& picture, const win::AlphaMask& alpha,
                          POINT topLeft, HWND owner, PinBoard& pins, std::wstring& saved)
{
    saved.clear();
    bool preview = settings.AfterCaptureShowPreview ||
                   !(settings.AfterCaptureCopy || settings.AfterCaptureSave || settings.AfterCapturePin);
    if (settings.AfterCaptureCopy) RunStep([&] { CopyToClipboardActionExecute(picture, owner, &alpha); });
    if (settings.AfterCaptureSave &&
        !RunStep([&] {
            saved = SaveCaptureInFolder(picture, alpha, settings.SaveDir, settings.FileNamePattern,
                                        settings.AutoSaveType);
        }))
        preview = true;
    if (settings.AfterCapturePin) RunStep([&] { PinToScreenActionExecute(pins, picture, alpha, topLeft); });
    return preview;
}
