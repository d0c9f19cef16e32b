// The recording under Wine (make bench-record-wine): a 1280 x 720 scene that
// changes every frame (typing, a progress bar, a moving box, a scrolling list)
// recorded by the real ScreenRecorder into the real encoder and file for a
// while at 15 fps. Prints the frames taken and dropped and the recorded length
// against the wall time; first the medians of the steps a frame takes (the
// grab from the screen, the copy into the frame, the encoding) on the same
// scene, to show where the time goes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "capture/RecordingSink.h"
#include "capture/ScreenRecorder.h"
#include "gif/AnimationEncoder.h"
#include "gif/AnimationStream.h"
#include "win/Bitmap.h"

namespace {

constexpr int kWidth = 1280, kHeight = 720, kFps = 15;

double Ms(LARGE_INTEGER a, LARGE_INTEGER b)
{
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) * 1000.0 / double(f.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return t;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The scene at tick t (milliseconds).
void DrawScene(HDC dc, DWORD t)
{
    RECT all{0, 0, kWidth, kHeight};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetBkMode(dc, TRANSPARENT);
    // Typing: one more letter every 80 ms, a caret blinking every 500 ms.
    static const char kText[] = "The quick brown fox jumps over the lazy dog. Recording the screen to a GIF. ";
    std::string line;
    for (DWORD i = 0; i < (t / 80) % 400; ++i) line += kText[i % (sizeof kText - 1)];
    for (std::size_t row = 0; row * 90 < line.size() && row < 4; ++row) {
        const std::string part = line.substr(row * 90, 90);
        ::TextOutA(dc, 20, 20 + int(row) * 18, part.c_str(), int(part.size()));
    }
    if ((t / 500) % 2) {
        RECT caret{20 + int(line.size() % 90) * 7, 20 + int(std::min<std::size_t>(line.size() / 90, 3)) * 18, 0, 0};
        caret.right = caret.left + 2;
        caret.bottom = caret.top + 16;
        ::FillRect(dc, &caret, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    // A progress bar and a moving box.
    RECT bar{20, 110, 20 + int((t / 10) % 1240), 130};
    HBRUSH green = ::CreateSolidBrush(RGB(40, 170, 60));
    ::FillRect(dc, &bar, green);
    ::DeleteObject(green);
    const int x = int((t / 4) % 1100);
    RECT box{x, 160, x + 120, 280};
    HBRUSH blue = ::CreateSolidBrush(RGB(30, 90, 200));
    ::FillRect(dc, &box, blue);
    ::DeleteObject(blue);
    // A list scrolling one line every 100 ms.
    for (int i = 0; i < 22; ++i) {
        const std::string item = "Item " + std::to_string(i + int(t / 100)) + "  size " +
                                 std::to_string((i + int(t / 100)) * 37 % 1000) + " KB";
        ::TextOutA(dc, 40 + (i % 2) * 600, 300 + (i / 2) * 36, item.c_str(), int(item.size()));
    }
}

LRESULT CALLBACK SceneProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) return ::InvalidateRect(hwnd, nullptr, FALSE), 0;
    if (message != WM_PAINT) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    static win::Bitmap back;  // drawn off screen, shown at once
    if (back.Width() != kWidth) {
        back.SetPixelFormat(win::PixelFormat::Bits32);
        back.SetSize(kWidth, kHeight);
    }
    DrawScene(back.Canvas(), ::GetTickCount());
    ::BitBlt(dc, 0, 0, kWidth, kHeight, back.Canvas(), 0, 0, SRCCOPY);
    ::EndPaint(hwnd, &ps);
    return 0;
}

void Pump(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
}

// The steps of one frame, timed apart on the live scene.
void TimeSteps(const std::wstring& folder)
{
    HDC screen = ::GetDC(nullptr);
    win::Bitmap canvas;
    canvas.SetPixelFormat(win::PixelFormat::Bits32);
    canvas.SetSize(kWidth, kHeight);
    std::vector<std::uint32_t> frame(std::size_t{kWidth} * kHeight);
    RecordingSink sink(folder + L"steps.gif");
    gif::AnimationEncoder encoder(sink, kWidth, kHeight);
    std::vector<double> grab, copy, encode;
    for (int i = 0; i < 45; ++i) {
        Pump(1000 / kFps);
        const LARGE_INTEGER t0 = Now();
        ::BitBlt(canvas.Canvas(), 0, 0, kWidth, kHeight, screen, 0, 0, SRCCOPY | CAPTUREBLT);
        ::GdiFlush();
        const LARGE_INTEGER t1 = Now();
        for (int y = 0; y < kHeight; ++y) std::memcpy(&frame[std::size_t(y) * kWidth], canvas.Row(y), kWidth * 4);
        const LARGE_INTEGER t2 = Now();
        encoder.AddFrame({frame.data(), kWidth}, std::int64_t{i} * 1000000 / kFps);
        const LARGE_INTEGER t3 = Now();
        grab.push_back(Ms(t0, t1));
        copy.push_back(Ms(t1, t2));
        encode.push_back(Ms(t2, t3));
    }
    ::ReleaseDC(nullptr, screen);
    sink.Close();
    std::printf("steps of one %d x %d frame (median of %zu): grab %.1f ms, copy %.1f ms, encode %.1f ms; "
                "budget %.1f ms\n",
                kWidth, kHeight, grab.size(), Median(grab), Median(copy), Median(encode), 1000.0 / kFps);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: record_wine_bench FOLDER\\ [SECONDS]\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const int seconds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 20;
    ::SetProcessDPIAware();
    WNDCLASSW wc{};
    wc.lpfnWndProc = SceneProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TavroBenchScene";
    ::RegisterClassW(&wc);
    HWND scene = ::CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                                   kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetTimer(scene, 1, 15, nullptr);  // a new picture about every 15 ms, several per frame
    Pump(500);
    TimeSteps(folder);

    RecordingSink sink(folder + L"recording.gif");
    gif::AnimationStream stream(sink, kWidth, kHeight, 4);
    RecordingOptions options;
    options.area = {0, 0, kWidth, kHeight};
    options.framesPerSecond = kFps;
    options.longestSeconds = seconds + 10;
    const LARGE_INTEGER start = Now();
    double wall = 0;
    int taken = 0, dropped = 0;
    std::int64_t recordedUs = 0;
    {
        ScreenRecorder recorder(stream, options);
        Pump(DWORD(seconds) * 1000);
        recorder.Stop();
        wall = Ms(start, Now());
        taken = recorder.FramesTaken();
        dropped = recorder.FramesDropped();
        recordedUs = recorder.ElapsedUs();
    }
    const bool finished = stream.Finish(recordedUs) && sink.Close();
    const int slots = taken + dropped;
    std::printf("recording %d x %d at %d fps for %.2f s: frames taken %d, dropped %d (%.2f%%, goal at most 2%%)\n",
                kWidth, kHeight, kFps, wall / 1000.0, taken, dropped, slots ? 100.0 * dropped / slots : 0.0);
    std::printf("recorded length %.3f s against wall time %.3f s; file %s\n", double(recordedUs) / 1e6,
                wall / 1000.0, finished ? "complete" : stream.Failure().c_str());
    ::DestroyWindow(scene);
    return finished ? 0 : 1;
}
