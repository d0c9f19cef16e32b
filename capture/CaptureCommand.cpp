// The capture command: freeze the desktop, ask for the shape, let the user
// select on the frozen copy, compose, preview, and start over on Retry.
#include "app/AppSettings.h"
#include "app/Unit1.h"
#include "capture/ImageUnit.h"
#include "capture/SelectUnit.h"
#include "preview/PreviewUnit.h"
#include "win/Error.h"

namespace {

// Deletes the display DC on every path.
class DisplayDC {
public:
    DisplayDC() noexcept : dc_(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)) {}
    ~DisplayDC() { if (dc_) ::DeleteDC(dc_); }
    DisplayDC(const DisplayDC&) = delete;
    DisplayDC& operator=(const DisplayDC&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

// Enables "CAPTURE SCREEN" again however the command ends.
class CaptureRunGuard {
public:
    explicit CaptureRunGuard(TForm1& form) : form_(form) { form_.SetSaveScreenSelectEnabled(false); }
    ~CaptureRunGuard() { form_.SetSaveScreenSelectEnabled(true); }
    CaptureRunGuard(const CaptureRunGuard&) = delete;
    CaptureRunGuard& operator=(const CaptureRunGuard&) = delete;

private:
    TForm1& form_;
};

}  // namespace

void TForm1::SaveScreenSelectClick()
{
    CaptureRunGuard running(*this);
    bool retry = false;
    do {
        MirrorFlag = false;
        RotationCount = 0;
        GrabDesktop();

        ImageForm->SetDesktopBounds(::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                    ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
        ImageForm->Image1.SetSize(::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                  ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
        ::BitBlt(ImageForm->Image1.Canvas(), 0, 0, OutputImage->Width(), OutputImage->Height(),
                 OutputImage->Canvas(), 0, 0, SRCCOPY);
        ::GdiFlush();
        SelectionMade = false;

        int result = win::mrOk;
        if (!retry && !SelectForm->NoShowChecked()) result = SelectForm->ShowModal();
        retry = result == win::mrOk ? SaveScreen() : false;
    } while (retry);
}

bool TForm1::SaveScreen()
{
    PickMode = false;
    if (AppSettings.CaptureShapeIndex == csEntireScreen) {
        ShapeCode = scEntireScreen;
        ProcessMessages();
    } else {
        const std::uint8_t previousShape = ShapeCode;
        ImageForm->ShowModal();
        ProcessMessages();
        if (!SelectionMade) {
            ShapeCode = previousShape;
            return false;
        }
    }
    DrawPreview();
    return ShowPreview();
}

bool TForm1::ShowPreview() { return PreviewForm->ShowModal() == win::mrRetry; }

void TForm1::GrabDesktop()
{
    DisplayDC display;
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    OutputImage->SetPixelFormat(win::PixelFormat::Device);
    OutputImage->SetSize(width, height);
    // Let the tray menu, the shape dialog and the last preview leave the screen.
    ProcessMessages();
    ::Sleep(100);
    ::StretchBlt(OutputImage->Canvas(), 0, 0, width, height, display.get(), 0, 0, width, height,
                 SRCCOPY);
    ::GdiFlush();
}
