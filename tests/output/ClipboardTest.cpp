// The Copy command read back by another process, as a program pasting the
// picture would, and the clipboard held by another process.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "output/CopyToClipboard.h"
#include "tests/support/TestPictures.h"
#include "win/Error.h"

namespace {

std::wstring BesideTest(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

// Waits for a handle while serving this thread's windows, as the program's
// user-interface thread does: the clipboard's owner window lives here.
void WaitPumping(HANDLE handle)
{
    const DWORD end = ::GetTickCount() + 30000;
    while (::MsgWaitForMultipleObjects(1, &handle, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        if (::GetTickCount() > end) return;
    }
}

// Runs the clipboard tool with the arguments; its exit code.
DWORD RunTool(const std::wstring& arguments, HANDLE* keepRunning = nullptr)
{
    std::wstring command = L"\"" + BesideTest(L"clipboard_tool.exe") + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return 1000;
    ::CloseHandle(process.hThread);
    if (keepRunning) {
        *keepRunning = process.hProcess;
        return 0;
    }
    WaitPumping(process.hProcess);
    DWORD code = 1001;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    return code;
}

// The clipboard's bitmap as the other process reads it: RGB rows, top-down.
std::vector<std::uint8_t> PastedPixels(int& width, int& height)
{
    const std::wstring file = BesideTest(L"pasted.ppm");
    ::DeleteFileW(file.c_str());
    EXPECT_EQ(RunTool(L"dump \"" + file + L"\""), 0u);
    std::vector<std::uint8_t> rgb;
    FILE* in = _wfopen(file.c_str(), L"rb");
    if (!in) return rgb;
    char magic[3] = {};
    int maxValue = 0;
    const bool header = std::fscanf(in, "%2s %d %d %d", magic, &width, &height, &maxValue) == 4;
    std::fgetc(in);
    for (int c; header && (c = std::fgetc(in)) != EOF;) rgb.push_back(static_cast<std::uint8_t>(c));
    std::fclose(in);
    EXPECT_STREQ(magic, "P6");
    return rgb;
}

std::vector<std::uint8_t> RgbOf(const win::Bitmap& picture)
{
    std::vector<std::uint8_t> rgb;
    for (COLORREF c : testpics::Colors(picture)) {
        rgb.push_back(GetRValue(c));
        rgb.push_back(GetGValue(c));
        rgb.push_back(GetBValue(c));
    }
    return rgb;
}

class Clipboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner_ = ::CreateWindowExW(0, L"STATIC", L"clipboard owner", 0, 0, 0, 1, 1, nullptr, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { ::DestroyWindow(owner_); }
    HWND owner_ = nullptr;
};

TEST_F(Clipboard, AnotherProcessPastesExactlyThePicturesPixels)
{
    // A capture's depth and the 24-bit depth of a turned picture.
    for (win::PixelFormat format : {win::PixelFormat::Device, win::PixelFormat::Bits24}) {
        win::Bitmap picture;
        testpics::FillPattern(picture, 203, 57, format);  // odd width: padded rows
        const long before = win::gdiObjectCount;
        CopyToClipboardActionExecute(picture, owner_);
        // The copy now belongs to the clipboard; nothing of ours is left behind.
        EXPECT_EQ(win::gdiObjectCount.load(), before);
        EXPECT_EQ(::GetOpenClipboardWindow(), nullptr);
        EXPECT_EQ(::GetClipboardOwner(), owner_);
        EXPECT_FALSE(::IsClipboardFormatAvailable(CF_PALETTE));  // true colour: no palette

        int width = 0, height = 0;
        const std::vector<std::uint8_t> pasted = PastedPixels(width, height);
        EXPECT_EQ(width, 203);
        EXPECT_EQ(height, 57);
        EXPECT_TRUE(pasted == RgbOf(picture)) << "pasted pixels differ at depth " << picture.BitsPerPixel();
    }
}

TEST_F(Clipboard, HeldByAnotherProcessGivesTheErrorAndLeaksNothing)
{
    win::Bitmap first;
    testpics::FillPattern(first, 40, 30);
    CopyToClipboardActionExecute(first, owner_);

    HANDLE held = ::CreateEventW(nullptr, TRUE, FALSE, L"TavroTestClipboardHeld");
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, L"TavroTestClipboardRelease");
    HANDLE holder = nullptr;
    ASSERT_EQ(RunTool(L"hold TavroTestClipboardHeld TavroTestClipboardRelease", &holder), 0u);
    WaitPumping(held);
    ASSERT_EQ(::WaitForSingleObject(held, 0), WAIT_OBJECT_0);

    win::Bitmap second;
    testpics::FillPattern(second, 20, 10, win::PixelFormat::Bits24);
    const long before = win::gdiObjectCount;
    try {
        CopyToClipboardActionExecute(second, owner_);
        ADD_FAILURE() << "copied while another program held the clipboard";
    } catch (const win::Error& e) {
        EXPECT_EQ(e.Message(), L"Cannot open clipboard");
    }
    EXPECT_EQ(win::gdiObjectCount.load(), before) << "the copy was not freed";

    ::SetEvent(release);
    WaitPumping(holder);
    ::CloseHandle(holder);
    ::CloseHandle(held);
    ::CloseHandle(release);

    // The earlier picture is still there, and the clipboard works again.
    int width = 0, height = 0;
    EXPECT_TRUE(PastedPixels(width, height) == RgbOf(first));
    CopyToClipboardActionExecute(second, owner_);
    EXPECT_TRUE(PastedPixels(width, height) == RgbOf(second));
    EXPECT_EQ(::GetOpenClipboardWindow(), nullptr);
}

}  // namespace
