// Benchmark (not a test): a quarter turn, a mirror and an ellipse composition
// of a 3840 x 2160 picture, each reported as a multiple of one memcpy of the
// same picture measured in the same run; then the document at that size: an
// edit against its undo and redo, and what 200 edits add to the process.
// Run with `make bench-transforms`.
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
#include "preview/Document.h"
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

// The memory this process has committed for itself (MB), summed over its
// address space: what the document's pictures and history take.
double CommittedMb()
{
    double bytes = 0;
    MEMORY_BASIC_INFORMATION info{};
    for (const char* at = nullptr; ::VirtualQuery(at, &info, sizeof info) == sizeof info;
         at = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) bytes += static_cast<double>(info.RegionSize);
        if (static_cast<const char*>(info.BaseAddress) + info.RegionSize < at) break;  // wrapped
    }
    return bytes / 1048576.0;
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

template <typename Work>
double TimeMs(Work work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A quarter turn of a 32-bit capture against its undo and its redo, each one
// render of the document; then 200 edits of every kind and what they add.
void DocumentFigures()
{
    Document doc;
    win::Bitmap composed;
    testpics::FillPattern(composed, kWidth, kHeight, win::PixelFormat::Bits32);
    doc.NewCapture(composed, {}, scRectangle, RGB(255, 255, 255), false);
    doc.Apply(TurnEdit(true));  // warm-up
    doc.Undo();
    std::vector<double> edit, undo, redo;
    for (int i = 0; i < kRuns; ++i) {
        edit.push_back(TimeMs([&] { doc.Apply(TurnEdit(true)); }));
        undo.push_back(TimeMs([&] { doc.Undo(); }));
        redo.push_back(TimeMs([&] { doc.Redo(); }));
    }
    const double e = Median(edit), u = Median(undo), r = Median(redo);
    std::printf("document: quarter turn edit %8.2f ms, undo %8.2f ms (%.2f x the edit), redo %8.2f ms (%.2f x)"
                "  (goal <= 1.5 x) %s\n",
                e, u, u / e, r, r / e, u <= 1.5 * e && r <= 1.5 * e ? "ok" : "over");

    // 200 edits from a fresh capture, measured from its first render on.
    testpics::FillPattern(composed, kWidth, kHeight, win::PixelFormat::Bits32);
    doc.NewCapture(composed, {}, scRectangle, RGB(255, 255, 255), false);
    doc.Apply(TurnEdit(true));
    const double before = CommittedMb();
    for (int i = 0; i < 200; ++i) {
        switch (i % 5) {
        case 0: doc.Apply(TurnEdit(i % 2)); break;
        case 1: doc.Apply(MirrorEdit()); break;
        case 2: doc.Apply(DateStampEdit(!doc.State().dateStamp)); break;
        case 3: doc.Apply(BackgroundColorEdit(RGB(i, 0, 0))); break;
        default: doc.Apply(CropEdit({1, 1, doc.Width() - 1, doc.Height() - 1})); break;
        }
    }
    const double after = CommittedMb();
    std::printf("document: %zu edits add %.1f MB committed (%.1f -> %.1f MB; goal <= 64 MB) %s\n",
                doc.Edits().size() - 1, after - before, before, after, after - before <= 64 ? "ok" : "over");
}

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
    output.Clear();
    desktop.Clear();
    DocumentFigures();
    return 0;
}
