// Benchmark (not a test): a quarter turn, a mirror and an ellipse composition
// of a 3840 x 2160 picture, each reported as a multiple of one memcpy of the
// same picture measured in the same run. Run with `make bench-transforms`.
//
// Every one of these operations delivers a new picture, and the first touch of
// fresh pages can cost several copies on its own (on some virtual machines
// about 4 us a page). So each is also set against a memcpy into freshly
// allocated memory, and the turn and mirror loops are timed on their own
// into a picture that exists already.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "capture/Composition.h"
#include "capture/SelectionOverlay.h"
#include "preview/BitmapTransforms.h"
#include "preview/TransformKernels.h"
#include "tests/support/TestPictures.h"

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;
constexpr int kRuns = 21;

double MedianMs(const std::function<void()>& work)
{
    work();  // warm-up: first-touch page faults, caches
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// One memcpy between two buffers that exist already.
double MemcpyMs(size_t bytes)
{
    std::vector<unsigned char> from(bytes, 0x5A), to(bytes, 0);
    return MedianMs([&] {
        std::memcpy(to.data(), from.data(), bytes);
        // Keep the copy observable.
        if (to[bytes / 2] != 0x5A) std::puts("memcpy failed");
    });
}

// One memcpy into memory allocated for it (and released after), as a new
// picture gets it.
double FreshMemcpyMs(size_t bytes)
{
    std::vector<unsigned char> from(bytes, 0x5A);
    return MedianMs([&] {
        void* to = ::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!to) return;
        std::memcpy(to, from.data(), bytes);
        ::VirtualFree(to, 0, MEM_RELEASE);
    });
}

void Report(const char* name, double ms, double memcpyMs, double freshMs, double goal)
{
    const double ratio = ms / memcpyMs;
    std::printf("%-38s %8.2f ms  %5.2f x memcpy  %5.2f x fresh memcpy  (goal <= %.0f x memcpy) %s\n", name,
                ms, ratio, ms / freshMs, goal, ratio <= goal ? "ok" : "over");
}

gif::MutablePixelRows RowsOf(win::Bitmap& b) { return {b.Width(), b.Height(), b.BitsPerPixel(), b.Row(0), b.Stride()}; }

}  // namespace

int main()
{
    std::printf("%d x %d picture, median of %d runs\n", kWidth, kHeight, kRuns);

    win::Bitmap picture24;
    testpics::FillPattern(picture24, kWidth, kHeight, win::PixelFormat::Bits24);
    const size_t bytes24 = static_cast<size_t>(picture24.Stride()) * kHeight;
    const double memcpy24 = MemcpyMs(bytes24);
    const double fresh24 = FreshMemcpyMs(bytes24);
    std::printf("%-38s %8.2f ms\n", "memcpy of the 24-bit picture", memcpy24);
    std::printf("%-38s %8.2f ms\n", "memcpy into fresh memory", fresh24);

    const double turn = MedianMs([&] { auto r = RotateBitmap(90, picture24); });
    Report("quarter turn (RotateBitmap 90)", turn, memcpy24, fresh24, 6);
    const double turnBack = MedianMs([&] { auto r = RotateBitmap(-90, picture24); });
    Report("quarter turn (RotateBitmap -90)", turnBack, memcpy24, fresh24, 6);
    const double mirror = MedianMs([&] { auto r = FlipBitmap(false, true, picture24); });
    Report("mirror (FlipBitmap horizontal)", mirror, memcpy24, fresh24, 3);

    // The loops alone, into pictures that exist already.
    win::Bitmap turned, mirrored;
    turned.SetPixelFormat(win::PixelFormat::Bits24);
    turned.SetSize(kHeight, kWidth);
    mirrored.SetPixelFormat(win::PixelFormat::Bits24);
    mirrored.SetSize(kWidth, kHeight);
    const double turnLoop = MedianMs([&] { RotateRows24(RowsOf(picture24), RowsOf(turned), true); });
    Report("quarter turn loop, existing picture", turnLoop, memcpy24, fresh24, 6);
    const double mirrorLoop = MedianMs([&] { FlipRows(RowsOf(picture24), RowsOf(mirrored), false, true); });
    Report("mirror loop, existing picture", mirrorLoop, memcpy24, fresh24, 3);

    // The composition reads a 32-bit desktop, as a capture is on these displays.
    win::Bitmap desktop;
    testpics::FillPattern(desktop, kWidth, kHeight, win::PixelFormat::Bits32);
    const size_t bytes32 = static_cast<size_t>(desktop.Stride()) * kHeight;
    const double memcpy32 = MemcpyMs(bytes32);
    const double fresh32 = FreshMemcpyMs(bytes32);
    std::printf("%-38s %8.2f ms\n", "memcpy of the 32-bit picture", memcpy32);
    std::printf("%-38s %8.2f ms\n", "memcpy into fresh memory", fresh32);
    win::Bitmap output;
    const double ellipse = MedianMs([&] {
        ComposeCapture(desktop, scEllipse, {0, 0}, {kWidth, kHeight}, RGB(255, 255, 255), {0, 0, kWidth, kHeight},
                       output);
    });
    Report("ellipse composition", ellipse, memcpy32, fresh32, 10);
    const double rectangle = MedianMs([&] {
        ComposeCapture(desktop, scRectangle, {0, 0}, {kWidth, kHeight}, RGB(255, 255, 255), {0, 0, kWidth, kHeight},
                       output);
    });
    Report("rectangle cut (for reference)", rectangle, memcpy32, fresh32, 10);
    return 0;
}
