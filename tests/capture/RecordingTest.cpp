// The recording through RecordScreen on the test display: a disk that fills
// up and a display change both stop it by themselves, the frames kept the
// right way up; the area it is given is clipped to the screen.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincodec.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "capture/RecordCommand.h"
#include "tests/doubles/FullDiskSink.h"
#include "win/Error.h"

namespace {

constexpr int kSide = 256;
constexpr int kBand = 16;

// The first frame of a GIF file as the system's own decoder gives it: BGRA
// pixels, rows from the top; empty when it cannot be read.
std::vector<std::uint32_t> FirstFrame(const std::wstring& path)
{
    std::vector<std::uint32_t> pixels;
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICBitmapSource* bgra = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_PPV_ARGS(&factory))) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame, &bgra))) {
        pixels.resize(std::size_t{kSide} * kSide);
        if (FAILED(bgra->CopyPixels(nullptr, kSide * 4, kSide * kSide * 4, reinterpret_cast<BYTE*>(pixels.data()))))
            pixels.clear();
    }
    for (IUnknown* object : std::initializer_list<IUnknown*>{bgra, frame, decoder, factory})
        if (object) object->Release();
    if (SUCCEEDED(com)) ::CoUninitialize();
    return pixels;
}

// A window that shows new noise every 30 ms under a red band along its top,
// so each frame is large and new and shows which way is up.
LRESULT CALLBACK NoiseProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    static std::minstd_rand random;
    if (message == WM_TIMER) return ::InvalidateRect(hwnd, nullptr, FALSE), 0;
    if (message != WM_PAINT) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    std::vector<std::uint32_t> pixels(kSide * kSide);
    for (auto& p : pixels) p = random();
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), kSide, -kSide, 1, 32, BI_RGB}};
    ::SetDIBitsToDevice(dc, 0, 0, kSide, kSide, 0, 0, 0, kSide, pixels.data(), &info, DIB_RGB_COLORS);
    const RECT band{0, 0, kSide, kBand};
    HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
    ::FillRect(dc, &band, red);
    ::DeleteObject(red);
    ::EndPaint(hwnd, &ps);
    return 0;
}

class NoiseWindow {
public:
    NoiseWindow()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = NoiseProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TavroTestNoise";
        ::RegisterClassW(&wc);
        hwnd_ = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0,
                                  0, kSide, kSide, nullptr, nullptr, wc.hInstance, nullptr);
        ::SetTimer(hwnd_, 1, 30, nullptr);
        ::UpdateWindow(hwnd_);
    }
    ~NoiseWindow() { ::DestroyWindow(hwnd_); }

private:
    HWND hwnd_;
};

// The program around the recording: opens the file on a disk with freeBytes
// (0: the real file), posts WM_DISPLAYCHANGE to the bar after displayChangeMs
// (0: never) and times the recording.
class TestHost final : public RecordHost {
public:
    DWORD freeBytes = 0;
    UINT displayChangeMs = 0;
    std::wstring path;
    DWORD started = 0, ended = 0;

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

private:
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
    NoiseWindow noise;
    TestHost host;
    host.freeBytes = 5000;
    try {
        RecordScreen(Options(), host);
        ADD_FAILURE() << "the recording ended as if written";
    } catch (const win::Error& e) {
        EXPECT_NE(e.Message().find(win::SystemErrorText(ERROR_DISK_FULL)), std::wstring::npos)
            << std::string(e.Message().begin(), e.Message().end());
    }
    EXPECT_LT(host.ended - host.started, 5000u) << "the recording ran on after the failed write";
    EXPECT_FALSE(host.path.empty());
    EXPECT_FALSE(Exists(host.path));
}

TEST(Recording, ADisplayChangeStopsItAndKeepsWhatWasRecordedAtTheAreasSize)
{
    NoiseWindow noise;
    TestHost host;
    host.displayChangeMs = 700;
    {
        const auto file = RecordScreen(Options(), host);
        ASSERT_TRUE(file);
        EXPECT_LT(host.ended - host.started, 5000u);
        std::ifstream in(std::filesystem::path(file->Path()), std::ios::binary);
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
        ASSERT_GT(bytes.size(), 13u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF89a");
        EXPECT_EQ(bytes[6] | bytes[7] << 8, kSide);
        EXPECT_EQ(bytes[8] | bytes[9] << 8, kSide);
        EXPECT_EQ(bytes.back(), 0x3B);  // the trailer: the file is complete
        // The band is at the top of the frame, as on the screen.
        const auto pixels = FirstFrame(file->Path());
        ASSERT_EQ(pixels.size(), std::size_t{kSide} * kSide);
        const auto red = [&](int y) { return (pixels[std::size_t(y) * kSide + kSide / 2] & 0xFFFFFF) == 0xFF0000; };
        EXPECT_TRUE(red(0) && red(kBand - 1));
        EXPECT_FALSE(red(kSide - 1) && red(kSide - kBand));
    }
    EXPECT_FALSE(Exists(host.path));  // the temporary file goes with its object
}

TEST(Recording, AnAreaReachingOffTheScreenIsClippedToIt)
{
    const RECT desktop{-1280, 0, 1920, 1080};  // a screen left of the primary one
    const struct { RECT area, clipped; } cases[] = {
        {{1800, 1000, 2000, 1200}, {1800, 1000, 1920, 1080}},
        {{-1400, -50, -1000, 100}, {-1280, 0, -1000, 100}},
        {{100, 100, 200, 200}, {100, 100, 200, 200}},
        {{2000, 0, 2100, 100}, {0, 0, 0, 0}},  // none of it on the screen
    };
    for (const auto& c : cases) {
        const RECT r = ClipToDesktop(c.area, desktop);
        EXPECT_TRUE(::EqualRect(&r, &c.clipped)) << c.area.left << "," << c.area.top;
    }
}
