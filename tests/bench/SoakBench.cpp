// The soak benchmark's in-process part (make bench-soak, run by soak.py):
// rounds of capture, preview commands (crop, undo and redo too), copy and the four saves through the
// command functions the actions call, without the dialogs. Prints the live GDI
// objects (our own count), user objects, handles and private bytes every 100
// rounds, and keeps the files of every 100th round for the independent decoders.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "capture/Composition.h"
#include "capture/ShapeMask.h"
#include "output/CopyToClipboard.h"
#include "output/SaveFile.h"
#include "preview/DateStampCommands.h"
#include "preview/Document.h"
#include "preview/EditCommands.h"
#include "preview/TransformCommands.h"
#include "tests/support/TestPictures.h"
#include "win/UniqueHandle.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
const std::uint8_t kShapes[] = {0, 1, 2, 3, 4, 9};
const wchar_t* const kTypes[] = {L".jpg", L".bmp", L".gif", L".png"};

// The command calls of one round, in one place: adjust here when the command
// functions' parameters change.
void Round(int round, win::Bitmap& desktop, Document& picture, HWND owner, const std::wstring& folder)
{
    const RECT primary{0, 0, kWidth, kHeight};
    // Every block of 100 rounds is the same, so each report follows the same
    // kind of round: what the clipboard holds then (the last copy) is alike.
    const int step = round % 100;
    TSelection selection;
    selection.ShapeCode = kShapes[step % 6];
    selection.SelStart = POINT{100 + step % 50, 80};
    selection.SelEnd = POINT{1500, 900 - step % 40};
    selection.SelectionMade = true;
    win::Bitmap composed;
    ComposeCapture(desktop, selection.ShapeCode, selection.SelStart, selection.SelEnd, RGB(255, 255, 255), primary,
                   composed);
    picture.NewCapture(composed, SelectionMask(desktop, primary, selection), selection.ShapeCode,
                       RGB(255, 255, 255), false);
    bool dateStampImage = false;
    ClockwiseActionExecute(picture, dateStampImage);
    MirrorActionExecute(picture, dateStampImage);
    DateStampBMPActionExecute(picture, dateStampImage);
    CropToArea(picture, {10, 10, picture.Width() - 10, picture.Height() - 10});
    UndoActionExecute(picture);
    RedoActionExecute(picture);
    const win::AlphaMask alpha = picture.Alpha();
    CopyToClipboardActionExecute(picture.Picture(), owner, &alpha);
    const bool keep = round % 100 == 99;
    for (int type = 1; type <= 4; ++type) {
        const std::wstring name = folder + L"round" + std::to_wstring(keep ? round : 0) + kTypes[type - 1];
        std::wstring written;
        if (!SaveImageFileTo(picture.Picture(), name, type, false, [](const std::wstring&) { return 1; },
                             written, RealFileSystem(), alpha))
            throw std::runtime_error("a save was refused");
    }
    picture.Clear();
}

// With wait, the next round starts only once a line arrives on stdin, so a
// watcher outside samples the process between rounds.
void Report(int round, bool wait)
{
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    DWORD handles = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &handles);
    std::printf("round %5d  gdi %4ld  user %4lu  handles %5lu  private %8.1f MB\n", round,
                win::gdiObjectCount.load(), ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS), handles,
                memory.PrivateUsage / 1048576.0);
    std::fflush(stdout);
    char line[8];
    if (wait) std::fgets(line, sizeof line, stdin);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: soak_bench <folder\\> [rounds [wait]]\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const int rounds = argc > 2 ? _wtoi(argv[2]) : 1000;
    const bool wait = argc > 3 && std::wstring(argv[3]) == L"wait";
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"soak", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    Document picture;
    win::Bitmap desktop;
    testpics::FillPattern(desktop, kWidth, kHeight);
    try {
        Report(0, wait);
        for (int round = 0; round < rounds; ++round) {
            Round(round, desktop, picture, owner, folder);
            if ((round + 1) % 100 == 0) Report(round + 1, wait);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
    ::DestroyWindow(owner);
    return 0;
}
