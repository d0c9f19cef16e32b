#include "capture/RecordCommand.h"

#include <commctrl.h>

#include <chrono>
#include <future>

#include "capture/CaptureCommand.h"
#include "capture/RecordBar.h"
#include "win/Error.h"
#include "win/Strings.h"

namespace {

constexpr int kFrameSlots = 4;

std::wstring NewTemporaryFile()
{
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t name[MAX_PATH + 1] = {};
    if (!::GetTempPathW(MAX_PATH, folder) || !::GetTempFileNameW(folder, L"tvr", 0, name))
        throw win::Error(L"Cannot create a temporary file for the recording");
    return name;
}

// Tells the host a recording runs for as long as it lives.
class RecordingShown {
public:
    RecordingShown(RecordHost& host, HWND bar) : host_(host)
    {
        host_.RecordingChanged([bar] { ::PostMessageW(bar, RecordBar::StopMessage(), 0, 0); });
    }
    ~RecordingShown() { host_.RecordingChanged(nullptr); }
    RecordingShown(const RecordingShown&) = delete;
    RecordingShown& operator=(const RecordingShown&) = delete;

private:
    RecordHost& host_;
};

// Waits for the encoder, with a progress bar when that takes a moment.
bool FinishShowingProgress(gif::AnimationStream& stream, std::int64_t endUs)
{
    const int waiting = stream.Waiting();
    auto done = std::async(std::launch::async, [&] { return stream.Finish(endUs); });
    HWND window = nullptr;
    const auto shownAfter = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    while (done.wait_for(std::chrono::milliseconds(30)) != std::future_status::ready) {
        if (!window && std::chrono::steady_clock::now() > shownAfter) {
            window = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, PROGRESS_CLASSW, L"",
                                       WS_POPUP | WS_BORDER | WS_VISIBLE, ::GetSystemMetrics(SM_CXSCREEN) / 2 - 120,
                                       ::GetSystemMetrics(SM_CYSCREEN) / 2 - 10, 240, 20, nullptr, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr);
            if (window) ::SendMessageW(window, PBM_SETRANGE32, 0, waiting > 0 ? waiting : 1);
        }
        if (window) ::SendMessageW(window, PBM_SETPOS, waiting - stream.Waiting(), 0);
        win::Form::ProcessMessages();
    }
    if (window) ::DestroyWindow(window);
    return done.get();
}

}  // namespace

RecordingFile::~RecordingFile()
{
    if (!path_.empty()) ::DeleteFileW(path_.c_str());
}

std::optional<RECT> ChooseRecordingArea(TImageForm& overlay, int shapeIndex)
{
    GrabDesktop(overlay);
    const DesktopLayout& layout = overlay.Layout;
    RECT grab = layout.primary;
    if (shapeIndex != csEntireScreen) {
        // Only the rectangle and the window are offered: the other shapes drag a rectangle.
        const int shape = shapeIndex == csWindow ? csWindow : csRectangle;
        auto userShape = std::move(overlay.ShapeIndex);
        overlay.ShapeIndex = [shape] { return shape; };
        const TSelection selection = overlay.SelectArea();
        overlay.ShapeIndex = std::move(userShape);
        win::Form::ProcessMessages();
        if (!selection.SelectionMade) return std::nullopt;
        grab = SelectionRect(selection.ShapeCode, selection.SelStart, selection.SelEnd, layout.primary);
    }
    ::OffsetRect(&grab, layout.bounds.left, layout.bounds.top);
    const RECT area = ClipToDesktop(grab, layout.bounds);
    if (::IsRectEmpty(&area)) return std::nullopt;
    return area;
}

std::optional<RecordingFile> RecordScreen(const RecordingOptions& options, RecordHost& host)
{
    RecordingFile file(NewTemporaryFile());
    const std::unique_ptr<RecordingSink> sink = host.OpenSink(file.Path());
    if (!sink || !sink->IsOpen())
        throw win::Error(L"Cannot create a temporary file for the recording." +
                         (sink ? L"\n\n" + sink->FailureMessage() : std::wstring()));
    const RECT& area = options.area;
    gif::AnimationStream stream(*sink, area.right - area.left, area.bottom - area.top, kFrameSlots);

    RecordBar bar(area);
    RecordingOptions running = options;
    running.notify = bar.Hwnd();
    running.notifyMessage = RecordBar::StopMessage();
    ScreenRecorder recorder(stream, running);
    bar.ElapsedUs = [&recorder] { return recorder.ElapsedUs(); };
    bar.OnPause = [&recorder](bool paused) { recorder.SetPaused(paused); };
    // Nothing is taken from a screen that changed: the frames keep the area's size.
    bar.OnDisplayChange = [&recorder] { recorder.Stop(RecordingEnd::DisplayChanged); };
    int result;
    {
        RecordingShown shown(host, bar.Hwnd());
        result = bar.ShowModal();
        recorder.Stop();
    }
    if (result != win::mrOk) {
        stream.Abandon();
        sink->Close();
        return std::nullopt;
    }
    if (recorder.FramesTaken() == 0) {
        stream.Abandon();
        sink->Close();
        throw win::Error(recorder.End() == RecordingEnd::DisplayChanged
                             ? L"Nothing was recorded: the display changed before the first frame."
                             : L"Nothing was recorded: the screen could not be read.");
    }
    const bool complete = FinishShowingProgress(stream, recorder.ElapsedUs());
    const bool closed = sink->Close();
    if (!complete || !closed) {
        const std::string reason = !stream.Failure().empty() ? stream.Failure() : sink->FailureText();
        throw win::Error(L"The recording stopped: it could not be written.\n\n" + win::Widen(reason));
    }
    return file;
}
