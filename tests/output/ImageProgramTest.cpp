// Opening the picture in an image program, with the recorder (tests/doubles)
// registered in the test prefix as the program associated with BMP files and
// as Paint: what each command hands over, what the dialog remembers, and what
// happens when the temporary file cannot be written.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

#include "output/ImageProgram.h"
#include "output/ImageProgramDialog.h"
#include "output/OpenInImageProgram.h"
#include "output/TempImageFile.h"
#include "tests/support/TestPictures.h"
#include "win/Error.h"
#include "win/Strings.h"
#include "win/UniqueHandle.h"

namespace {

const wchar_t kClasses[] = L"Software\\Classes";
const wchar_t kAppPaths[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";

bool SamePath(const std::wstring& a, const std::wstring& b) { return ::lstrcmpiW(a.c_str(), b.c_str()) == 0; }

std::wstring TempFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    return std::wstring(path, ::GetTempPathW(MAX_PATH + 1, path));
}

std::wstring ShortPath(const std::wstring& path)
{
    wchar_t out[MAX_PATH] = {};
    const DWORD n = ::GetShortPathNameW(path.c_str(), out, MAX_PATH);
    return std::wstring(out, n < MAX_PATH ? n : 0);
}

// The default value of an HKLM key; nullopt-like flag when it has none.
struct SavedValue {
    std::wstring key;
    bool existed = false;
    std::wstring value;
};

SavedValue ReadDefault(const std::wstring& key)
{
    SavedValue saved{key};
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    saved.existed = ::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data, &size) ==
                    ERROR_SUCCESS;
    if (saved.existed) saved.value = data;
    return saved;
}

void WriteDefault(const std::wstring& key, const std::wstring& value)
{
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, REG_SZ, value.c_str(),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS)
        << "cannot register under HKLM\\" << win::Narrow(key);
}

void Restore(const SavedValue& saved)
{
    if (saved.existed) {
        WriteDefault(saved.key, saved.value);
    } else {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, saved.key.c_str());
    }
}

// One start of the recorder as it wrote it down.
struct Record {
    std::wstring cmdline;
    std::vector<std::wstring> argv;
    bool copied = false;
};

std::string ReadBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The picture's pixels equal the BMP file's (24 or 32 bits, bottom-up).
void ExpectSamePixels(const win::Bitmap& picture, const std::string& bmp)
{
    ASSERT_GT(bmp.size(), 54u);
    ASSERT_EQ(bmp.substr(0, 2), "BM");
    auto u32 = [&](size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at]) |
                                          static_cast<unsigned char>(bmp[at + 1]) << 8 |
                                          static_cast<unsigned char>(bmp[at + 2]) << 16 |
                                          static_cast<unsigned char>(bmp[at + 3]) << 24);
    };
    const std::uint32_t offset = u32(10);
    const int width = static_cast<int>(u32(18));
    const int height = static_cast<int>(u32(22));
    const int bytes = static_cast<unsigned char>(bmp[28]) / 8;
    ASSERT_EQ(width, picture.Width());
    ASSERT_EQ(height, picture.Height());
    const size_t stride = (static_cast<size_t>(width) * bytes + 3) / 4 * 4;
    ASSERT_GE(bmp.size(), offset + stride * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t at = offset + (height - 1 - y) * stride + static_cast<size_t>(x) * bytes;
            const COLORREF c = RGB(static_cast<unsigned char>(bmp[at + 2]), static_cast<unsigned char>(bmp[at + 1]),
                                   static_cast<unsigned char>(bmp[at]));
            ASSERT_EQ(c, picture.Pixel(x, y)) << "pixel " << x << "," << y;
        }
}

class ImagePrograms : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::CoInitialize(nullptr);
        folder_ = TempFolder() + L"tavro image programs\\";
        tools_ = folder_ + L"Image Tools\\";
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        ::CreateDirectoryW(tools_.c_str(), nullptr);
        program_ = tools_ + L"picture recorder.exe";
        std::wstring built = L"Z:" + win::Widen(TAVRO_RECORDER_EXE);
        for (wchar_t& c : built)
            if (c == L'/') c = L'\\';
        ASSERT_TRUE(::CopyFileW(built.c_str(), program_.c_str(), FALSE)) << win::Narrow(built);
        shortProgram_ = ShortPath(program_);
        ASSERT_FALSE(shortProgram_.empty());

        log_ = folder_ + L"record.txt";
        ::DeleteFileW(log_.c_str());
        ::DeleteFileW((log_ + L".bmp").c_str());
        ::SetEnvironmentVariableW(L"TAVRO_RECORDER_LOG", log_.c_str());

        // The association holds the short form of the program's path, as old
        // installers left it; Paint is found by its registered name.
        const std::wstring cls = std::wstring(kClasses) + L"\\TavroTest.Picture";
        for (const std::wstring& key : {std::wstring(kClasses) + L"\\.bmp", cls + L"\\shell\\open\\command",
                                        std::wstring(kAppPaths) + L"\\mspaint",
                                        std::wstring(kAppPaths) + L"\\mspaint.exe"})
            saved_.push_back(ReadDefault(key));
        WriteDefault(std::wstring(kClasses) + L"\\.bmp", L"TavroTest.Picture");
        WriteDefault(cls + L"\\shell\\open\\command", L"\"" + shortProgram_ + L"\" \"%1\"");
        WriteDefault(std::wstring(kAppPaths) + L"\\mspaint", program_);
        WriteDefault(std::wstring(kAppPaths) + L"\\mspaint.exe", program_);

        testpics::FillPattern(picture_, 40, 30, win::PixelFormat::Bits24);
    }

    void TearDown() override
    {
        for (const SavedValue& s : saved_) Restore(s);
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kClasses) + L"\\TavroTest.Picture").c_str());
        ::CoUninitialize();
    }

    // The recorder's record of its next start; fails when none comes.
    Record WaitRecord()
    {
        Record r;
        for (int i = 0; i < 150 && !Exists(log_); ++i) ::Sleep(100);
        std::istringstream lines(ReadBytes(log_));
        std::string line;
        while (std::getline(lines, line)) {
            const size_t eq = line.find('=');
            const std::string key = line.substr(0, eq);
            const std::wstring value = win::Widen(line.substr(eq + 1));
            if (key == "cmdline") r.cmdline = value;
            else if (key.rfind("argv[", 0) == 0) r.argv.push_back(value);
            else if (key == "copied") r.copied = value == L"1";
        }
        return r;
    }

    // The record of one start that got the temporary file as its one,
    // quoted argument, with the picture's pixels in it.
    void ExpectHandedOver(const Record& r)
    {
        ASSERT_EQ(r.argv.size(), 2u) << win::Narrow(r.cmdline);
        const std::wstring temp = r.argv[1];
        EXPECT_TRUE(SamePath(temp.substr(0, TempFolder().size()), TempFolder())) << win::Narrow(temp);
        EXPECT_NE(temp.find(L"\\capture-temp-"), std::wstring::npos) << win::Narrow(temp);
        const std::wstring quoted = L"\"" + temp + L"\"";
        ASSERT_GE(r.cmdline.size(), quoted.size());
        EXPECT_TRUE(SamePath(r.cmdline.substr(r.cmdline.size() - quoted.size()), quoted)) << win::Narrow(r.cmdline);
        ASSERT_TRUE(r.copied);
        ExpectSamePixels(picture_, ReadBytes(log_ + L".bmp"));
        ::DeleteFileW(log_.c_str());
        ::DeleteFileW((log_ + L".bmp").c_str());
    }

    std::wstring folder_, tools_, program_, shortProgram_, log_;
    std::vector<SavedValue> saved_;
    win::Bitmap picture_;
};

// Runs steps on another thread once the dialog shows (the modal loop runs on
// this one); each step talks to the dialog with sent and posted messages.
class DialogScript {
public:
    DialogScript(TImageEdForm& dialog, std::function<void(HWND)> steps)
        : thread_([&dialog, steps] {
              HWND hwnd = dialog.Hwnd();
              for (int i = 0; i < 100 && !::IsWindowVisible(hwnd); ++i) ::Sleep(50);
              steps(hwnd);
          })
    {
    }
    ~DialogScript() { thread_.join(); }

private:
    std::thread thread_;
};

std::wstring Text(HWND dialog, int id)
{
    wchar_t text[1024] = {};
    ::SendMessageW(::GetDlgItem(dialog, id), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

void SetText(HWND dialog, int id, const wchar_t* text)
{
    ::SendMessageW(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void Check(HWND dialog, int id, bool on)
{
    ::SendMessageW(::GetDlgItem(dialog, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Checked(HWND dialog, int id)
{
    return ::SendMessageW(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Press(HWND dialog, int id)
{
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

}  // namespace

TEST_F(ImagePrograms, EachWayHandsOverThePictureAsOneQuotedArgument)
{
    TImageEdForm dialog;
    std::wstring imageProgram = program_;
    int imageProgIndex = ipUserProgram;
    RunUserProgramOnlyActionExecute(picture_, imageProgram, imageProgIndex, dialog);
    ExpectHandedOver(WaitRecord());

    // The association holds the short path: the lookup gives the long one.
    EXPECT_TRUE(SamePath(GetDefaultProgram(picture_), program_)) << win::Narrow(GetDefaultProgram(picture_));
    RunDefaultProgramOnlyActionExecute(picture_);
    ExpectHandedOver(WaitRecord());

    RunMSPaintOnlyActionExecute(picture_);
    ExpectHandedOver(WaitRecord());
}

TEST_F(ImagePrograms, NoProgramStartsWhenThePictureCannotBeWritten)
{
    // A temporary folder that is not there: the write fails and says why.
    wchar_t savedTmp[MAX_PATH] = {}, savedTemp[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"TMP", savedTmp, MAX_PATH);
    ::GetEnvironmentVariableW(L"TEMP", savedTemp, MAX_PATH);
    const std::wstring missing = folder_ + L"no such folder";
    ::SetEnvironmentVariableW(L"TMP", missing.c_str());
    ::SetEnvironmentVariableW(L"TEMP", missing.c_str());
    TImageEdForm dialog;
    std::wstring imageProgram = program_;
    int imageProgIndex = ipUserProgram;
    std::wstring message;
    try {
        RunUserProgramOnlyActionExecute(picture_, imageProgram, imageProgIndex, dialog);
    } catch (const win::Error& e) {
        message = e.Message();
    }
    EXPECT_NE(message.find(L"capture-temp-"), std::wstring::npos) << win::Narrow(message);
    EXPECT_THROW(RunMSPaintOnlyActionExecute(picture_), win::Error);
    EXPECT_TRUE(SaveBMP(picture_).empty());
    ::SetEnvironmentVariableW(L"TMP", savedTmp);
    ::SetEnvironmentVariableW(L"TEMP", savedTemp);
    ::Sleep(1500);
    EXPECT_FALSE(Exists(log_)) << "a program was started without the picture";

    // Nothing to write at all is an error too, not a program on an old file.
    win::Bitmap empty;
    EXPECT_THROW(RunMSPaintOnlyActionExecute(empty), win::Error);
}

TEST_F(ImagePrograms, DialogCancelPutsBackWhatItFoundAndStoresNothing)
{
    TImageEdForm dialog;
    dialog.SetImageProgEdText(L"left from before");
    std::wstring imageProgram = program_;
    int imageProgIndex = 7;  // any other value: Paint
    std::wstring shownText;
    int shownIndex = -1;
    {
        DialogScript script(dialog, [&](HWND d) {
            shownText = Text(d, TImageEdForm::ImageProgEd);
            for (int i = 0; i < kImageProgramWayCount; ++i)
                if (Checked(d, TImageEdForm::FirstImageProgRadio + i)) shownIndex = i;
            SetText(d, TImageEdForm::ImageProgEd, L"C:\\typed.exe");
            Check(d, TImageEdForm::NoShowBox, true);
            Check(d, TImageEdForm::FirstImageProgRadio + 2, false);
            Check(d, TImageEdForm::FirstImageProgRadio, true);
            Press(d, TImageEdForm::CancelBut);
        });
        EXPECT_EQ(dialog.Execute(picture_, imageProgram, imageProgIndex), win::mrCancel);
    }
    EXPECT_TRUE(SamePath(shownText, program_)) << win::Narrow(shownText);
    EXPECT_EQ(shownIndex, ipPaint);
    EXPECT_EQ(dialog.ImageProgEdText(), L"left from before");
    EXPECT_FALSE(dialog.NoShowChecked());
    EXPECT_EQ(imageProgram, program_);
    EXPECT_EQ(imageProgIndex, 7);

    // The close box takes back the same way.
    {
        DialogScript script(dialog, [&](HWND d) {
            Check(d, TImageEdForm::NoShowBox, true);
            ::PostMessageW(d, WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(dialog.Execute(picture_, imageProgram, imageProgIndex), win::mrCancel);
    }
    EXPECT_FALSE(dialog.NoShowChecked());
}

TEST_F(ImagePrograms, BlankProgramConfirmedAsksAgainOfferingTheAssociatedOne)
{
    TImageEdForm dialog;
    std::wstring imageProgram = program_;
    int imageProgIndex = ipDefaultProgram;
    std::wstring offered;
    {
        // "Program": the user empties the box and takes "Use Program Above";
        // no such program, so the dialog comes again, now offering the
        // associated program; Cancel there starts nothing.
        DialogScript script(dialog, [&](HWND d) {
            SetText(d, TImageEdForm::ImageProgEd, L"");
            Check(d, TImageEdForm::FirstImageProgRadio + 1, false);
            Check(d, TImageEdForm::FirstImageProgRadio, true);
            Press(d, TImageEdForm::YesBut);
            for (int i = 0; i < 100 && ::IsWindowVisible(d); ++i) ::Sleep(50);
            for (int i = 0; i < 100 && !::IsWindowVisible(d); ++i) ::Sleep(50);
            offered = Text(d, TImageEdForm::ImageProgEd);
            Press(d, TImageEdForm::CancelBut);
        });
        RunSelectedEditorActionExecute(picture_, imageProgram, imageProgIndex, dialog);
    }
    EXPECT_EQ(imageProgram, L"");
    EXPECT_EQ(imageProgIndex, ipUserProgram);
    EXPECT_TRUE(SamePath(offered, program_)) << win::Narrow(offered);
    ::Sleep(1000);
    EXPECT_FALSE(Exists(log_));

    // "Don't Show This Screen" with Paint chosen: straight to Paint.
    dialog.SetNoShowChecked(true);
    imageProgIndex = ipPaint;
    RunSelectedEditorActionExecute(picture_, imageProgram, imageProgIndex, dialog);
    ExpectHandedOver(WaitRecord());
}

TEST(ImageProgramLookup, ShellLongPathExpandsShortNames)
{
    ::CoInitialize(nullptr);
    const std::wstring folder = TempFolder() + L"A Long Folder Name\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"Some Long File Name.exe";
    std::ofstream(file.c_str()) << "x";
    const std::wstring shortName = ShortPath(file);
    ASSERT_FALSE(shortName.empty());
    EXPECT_FALSE(SamePath(shortName, file)) << win::Narrow(shortName);
    EXPECT_TRUE(SamePath(ShellLongPath(shortName), file)) << win::Narrow(ShellLongPath(shortName));
    EXPECT_TRUE(SamePath(ShellLongPath(file), file));
    ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(folder.c_str());
    ::CoUninitialize();
}

TEST(ImageProgramLookup, TempImageFileIsANewFileInTheUserTemporaryFolderAndTheLastOfTheRun)
{
    win::Bitmap picture;
    testpics::FillPattern(picture, 8, 4, win::PixelFormat::Bits24);
    const std::wstring first = WriteTempImageFile(picture);
    EXPECT_TRUE(SamePath(first.substr(0, TempFolder().size()), TempFolder())) << win::Narrow(first);
    EXPECT_EQ(ReadBytes(first).size(), 54u + 24 * 4);
    // Still open in a program: kept, and deleted at a later turn.
    HANDLE held = ::CreateFileW(first.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const std::wstring second = WriteTempImageFile(picture);
    EXPECT_NE(first, second);
    EXPECT_TRUE(Exists(first));
    ::CloseHandle(held);
    const std::wstring third = WriteTempImageFile(picture);
    EXPECT_FALSE(Exists(first));
    EXPECT_FALSE(Exists(second));
    EXPECT_EQ(ReadBytes(third).size(), 54u + 24 * 4);
    DeleteTempImageFiles();  // as at Exit
    EXPECT_FALSE(Exists(third));
}

TEST_F(ImagePrograms, PaintIsStartedByItsRegisteredPathNeverFromTheCurrentFolder)
{
    // Paint not registered, a program of its name planted in the current folder.
    for (const wchar_t* name : {L"\\mspaint", L"\\mspaint.exe"})
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kAppPaths) + name).c_str());
    ASSERT_TRUE(::CopyFileW(program_.c_str(), (folder_ + L"mspaint.exe").c_str(), FALSE));
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(folder_.c_str());
    std::wstring message;  // said, before any picture is written
    try {
        RunMSPaintOnlyActionExecute(picture_);
    } catch (const win::Error& e) {
        message = e.Message();
    }
    ::SetCurrentDirectoryW(previous);
    EXPECT_EQ(message, L"Microsoft Paint was not found");
    ::Sleep(1500);
    EXPECT_FALSE(Exists(log_)) << "the planted program was started";
    ::DeleteFileW((folder_ + L"mspaint.exe").c_str());
}
