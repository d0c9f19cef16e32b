// The recording through RecordScreen on the test display: a disk that fills
// up and a display change both stop it by themselves, the frames kept the
// right way up; the area it is given is clipped to the screen.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincodec.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <vector>

#include "capture/RecordCommand.h"
#include "tests/doubles/FullDiskSink.h"
#include "win/Error.h"

namespace {

constexpr int kSide = 256, kBand = 16;

// The first frame of a GIF file as the system's own decoder gives it (BGRA,
// rows from the top); empty unless it is kSide x kSide.
std::vector<std::uint32_t> FirstFrame(const std::wstring& path)
{
    std::vector<std::uint32_t> pixels(std::size_t{kSide} * kSide);
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICBitmapSource* bgra = nullptr;
    UINT width = 0, height = 0;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)) || width != kSide ||
        height != kSide || FAILED(::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame, &bgra)) ||
        FAILED(bgra->CopyPixels(nullptr, kSide * 4, kSide * kSide * 4, reinterpret_cast<BYTE*>(pixels.data()))))
        pixels.clear();
    for (IUnknown* object : {static_cast<IUnknown*>(bgra), static_cast<IUnknown*>(frame),
                             static_cast<IUnknown*>(decoder), static_cast<IUnknown*>(factory)})
        if (object) object->Release();
    if (SUCCEEDED(com)) ::CoUninitialize();
    return pixels;
}

// A window at the top left that shows new noise every 30 ms under a red band
// along its top, so each frame is large and new and shows which way is up.
LRESULT CALLBACK NoiseProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    static std::minstd_rand random;
    if (message == WM_TIMER) return ::InvalidateRect(hwnd, nullptr, FALSE), 0;
    if (message != WM_PAINT) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    std::vector<std::uint32_t> pixels(kSide * kSide, 0xFF0000);
    for (std::size_t i = kSide * kBand; i < pixels.size(); ++i) pixels[i] = random();
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), kSide, -kSide, 1, 32, BI_RGB}};
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    ::SetDIBitsToDevice(dc, 0, 0, kSide, kSide, 0, 0, 0, kSide, pixels.data(), &info, DIB_RGB_COLORS);
    ::EndPaint(hwnd, &ps);
    return 0;
}

using Window = std::unique_ptr<HWND__, decltype(&::DestroyWindow)>;
Window ShowNoise()
{
    WNDCLASSW wc{0, NoiseProc, 0, 0, ::GetModuleHandleW(nullptr)};
    wc.lpszClassName = L"TavroTestNoise";
    ::RegisterClassW(&wc);
    Window window(::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE,
                                    0, 0, kSide, kSide, nullptr, nullptr, wc.hInstance, nullptr),
                  &::DestroyWindow);
    ::SetTimer(window.get(), 1, 30, nullptr);
    // Painted, and the picture on the screen, before the first frame.
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < 200; ::Sleep(10))
        for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageW(&msg);
    return window;
}

// The program around the recording: opens the file on a disk with freeBytes
// (0: the real file), posts WM_DISPLAYCHANGE to the bar after displayChangeMs
// (0: never) and times the recording.
struct TestHost final : RecordHost {
    DWORD freeBytes = 0, started = 0, ended = 0;
    UINT displayChangeMs = 0;
    std::wstring path;

    void RecordingChanged(std::function<void()> stop) override
    {
        (stop ? started : ended) = ::GetTickCount();
        if (stop && displayChangeMs) ::SetTimer(nullptr, 0, displayChangeMs, PostDisplayChange);
    }
    std::unique_ptr<RecordingSink> OpenSink(const std::wstring& file) override
    {
        path = file;
        if (freeBytes == 0) return std::make_unique<RecordingSink>(file);
        return std::make_unique<FullDiskSink>(file, freeBytes);
    }
    static void CALLBACK PostDisplayChange(HWND, UINT, UINT_PTR timer, DWORD)
    {
        ::KillTimer(nullptr, timer);
        ::PostMessageW(::FindWindowW(L"TRecordBar", nullptr), WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    }
};

RecordingOptions Options()
{
    RecordingOptions options;
    options.area = {0, 0, kSide, kSide};
    options.longestSeconds = 10;
    options.showPointer = false;
    return options;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

TEST(Recording, AFullDiskStopsItInTheSystemsWordsAndLeavesNoFile)
{
    const Window noise = ShowNoise();
    TestHost host;
    host.freeBytes = 5000;
    try {
        RecordScreen(Options(), host);
        ADD_FAILURE() << "the recording ended as if written";
    } catch (const win::Error& e) {
        EXPECT_NE(e.Message().find(win::SystemErrorText(ERROR_DISK_FULL)), std::wstring::npos);
    }
    EXPECT_LT(host.ended - host.started, 5000u) << "the recording ran on after the failed write";
    EXPECT_FALSE(host.path.empty() || Exists(host.path));
}

TEST(Recording, ADisplayChangeStopsItAndKeepsWhatWasRecordedAtTheAreasSize)
{
    const Window noise = ShowNoise();
    TestHost host;
    host.displayChangeMs = 700;
    {
        const auto file = RecordScreen(Options(), host);
        ASSERT_TRUE(file);
        EXPECT_LT(host.ended - host.started, 5000u);
        std::ifstream in(std::filesystem::path(file->Path()), std::ios::binary | std::ios::ate);
        in.seekg(-1, std::ios::end);
        EXPECT_EQ(in.get(), 0x3B);  // the trailer: the file is complete
        // The band is at the top of the frame, as on the screen.
        const auto pixels = FirstFrame(file->Path());
        ASSERT_FALSE(pixels.empty());
        const auto red = [&](int y) { return (pixels[std::size_t(y) * kSide + kSide / 2] & 0xFFFFFF) == 0xFF0000; };
        EXPECT_TRUE(red(0) && red(kBand - 1));
        EXPECT_FALSE(red(kSide - 1) && red(kSide - kBand));
    }
    EXPECT_FALSE(Exists(host.path));  // the temporary file goes with its object
}

TEST(Recording, AnAreaReachingOffTheScreenIsClippedToIt)
{
    const RECT desktop{-1280, 0, 1920, 1080};  // a screen left of the primary one
    const struct { RECT area, clipped; } cases[] = {{{1800, 1000, 2000, 1200}, {1800, 1000, 1920, 1080}},
                                                    {{-1400, -50, -1000, 100}, {-1280, 0, -1000, 100}},
                                                    {{2000, 0, 2100, 100}, {0, 0, 0, 0}}};  // none on the screen
    for (const auto& c : cases) {
        const RECT r = ClipToDesktop(c.area, desktop);
        EXPECT_TRUE(::EqualRect(&r, &c.clipped)) << c.area.left << "," << c.area.top;
    }
}
