#include "capture/CaptureCommand.h"

#include "capture/Composition.h"
#include "capture/Countdown.h"
#include "capture/MousePointer.h"
#include "capture/WindowList.h"
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
    explicit CaptureRunGuard(CaptureHost& host) : host_(host) { host_.SetCaptureEnabled(false); }
    ~CaptureRunGuard() { host_.SetCaptureEnabled(true); }
    CaptureRunGuard(const CaptureRunGuard&) = delete;
    CaptureRunGuard& operator=(const CaptureRunGuard&) = delete;

private:
    CaptureHost& host_;
};

// The delay the shape dialog asked for; false when the user cancelled it.
bool CountDown(CaptureHost& host, int seconds)
{
    struct Over {
        CaptureHost& host;
        ~Over() { host.ShowCountdown(0); }
    } over{host};
    return RunCountdown(
        seconds, [&host](int left) { host.ShowCountdown(left); }, [&host] { return host.CountdownCancelled(); });
}

// The shape dialog, the delay, the overlay and the preview, round after round
// while the user asks for a retry (which skips the shape dialog).
void RunCaptureRounds(CaptureHost& host, TSelectForm& shapeDialog, TImageForm& overlay,
                      const int& backgroundColor, bool retry)
{
    do {
        GrabDesktop(overlay, host.PointerShown());
        int result = win::mrOk;
        if (!retry && !shapeDialog.NoShowChecked()) result = shapeDialog.ShowModal();
        if (result != win::mrOk) break;
        // After a delay the desktop as it is then is the one cut.
        if (const int delay = shapeDialog.DelaySeconds(); delay > 0) {
            if (!CountDown(host, delay)) break;
            GrabDesktop(overlay, host.PointerShown());
        }
        retry = SaveScreen(host, shapeDialog, overlay, backgroundColor);
    } while (retry);
}

// Composes the selection from the frozen desktop and hands it on; true when
// the user asks for a retry.
bool ComposeAndShow(CaptureHost& host, TImageForm& overlay, const TSelection& selection,
                    const int& backgroundColor)
{
    win::Bitmap composed;
    DrawPreview(overlay.Image1, overlay.Layout.primary, selection, static_cast<COLORREF>(backgroundColor), composed);
    host.PictureComposed(composed, selection);
    host.RegionCaptured(RegionOfSelection(selection, overlay.Layout));
    return host.ShowPreview();
}

}  // namespace

void SaveScreenSelectClick(CaptureHost& host, TSelectForm& shapeDialog, TImageForm& overlay,
                           const int& backgroundColor)
{
    CaptureRunGuard running(host);
    RunCaptureRounds(host, shapeDialog, overlay, backgroundColor, false);
}

void CaptureLastRegionClick(CaptureHost& host, TSelectForm& shapeDialog, TImageForm& overlay,
                            const int& backgroundColor, const LastRegion& region)
{
    CaptureRunGuard running(host);
    GrabDesktop(overlay, host.PointerShown());
    const std::optional<TSelection> selection = SelectionForRegion(region, overlay.Layout);
    if (!selection) throw win::Error(L"The last region is no longer on any screen");
    // A copy: the host replaces its own region as the picture is handed on.
    if (ComposeAndShow(host, overlay, *selection, backgroundColor))
        RunCaptureRounds(host, shapeDialog, overlay, backgroundColor, true);
}

bool SaveScreen(CaptureHost& host, const TSelectForm& shapeDialog, TImageForm& overlay,
                const int& backgroundColor)
{
    TSelection selection;
    if (shapeDialog.CaptureShapeIndex() == csEntireScreen) {
        selection.ShapeCode = scEntireScreen;
        selection.SelectionMade = true;
        win::Form::ProcessMessages();
    } else {
        selection = overlay.SelectArea();
        win::Form::ProcessMessages();
        // A click is no selection: the command ends, and the picture kept
        // from before keeps its own selection.
        if (!selection.SelectionMade) return false;
    }
    return ComposeAndShow(host, overlay, selection, backgroundColor);
}

void CopyDesktop(HDC display, const DesktopLayout& layout, win::Bitmap& into)
{
    if (!display) throw win::Error(L"Cannot read the screen");
    // Built aside: a failed read never leaves a stale or black picture behind.
    win::Bitmap grab;
    grab.SetPixelFormat(win::PixelFormat::Device);
    grab.SetSize(layout.Width(), layout.Height());
    if (!::BitBlt(grab.Canvas(), 0, 0, layout.Width(), layout.Height(), display, layout.bounds.left,
                  layout.bounds.top, SRCCOPY))
        throw win::Error(L"Cannot read the screen");
    ::GdiFlush();
    into.TakeFrom(grab);
}

void GrabDesktop(TImageForm& overlay, bool withPointer)
{
    const DesktopLayout layout = CurrentDesktopLayout();
    // Let the tray menu, the shape dialog and the last preview leave the screen.
    win::Form::ProcessMessages();
    ::Sleep(100);
    // Listed before the freeze, so that the list is the picture's.
    std::vector<RECT> windows = VisibleWindowFrames(layout);
    DisplayDC display;
    CopyDesktop(display.get(), layout, overlay.Image1);
    if (withPointer) DrawMousePointer(overlay.Image1.Canvas(), {layout.bounds.left, layout.bounds.top});
    overlay.Windows = std::move(windows);
    overlay.Layout = layout;
    overlay.SetDesktopBounds(layout.bounds);
}
