// The Office exports against the stand-in automation server
// (tests/doubles/office): a real out-of-process COM server started by COM,
// found in the running-object table, whose call log is compared with the
// sequences the exports must make.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "output/ExcelExport.h"
#include "output/OfficeCalls.h"
#include "output/OfficeLinks.h"
#include "output/PowerPointExport.h"
#include "output/WordExport.h"
#include "tests/support/TestPictures.h"
#include "win/Error.h"
#include "win/Strings.h"

namespace {

const wchar_t* const kApps[] = {L"PowerPoint.Application", L"Word.Application", L"Excel.Application"};

std::wstring WinePath(const std::string& unixPath)
{
    std::wstring path = L"Z:" + win::Widen(unixPath);
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

std::wstring TempPath(const wchar_t* name)
{
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

void WriteText(const std::wstring& path, const std::string& text)
{
    std::ofstream out(win::Narrow(path), std::ios::binary | std::ios::trunc);
    out << text;
}

void RunDouble(const std::wstring& arguments)
{
    std::wstring command = L"\"" + WinePath(OFFICE_DOUBLE_EXE) + L"\" " + arguments;
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    ::WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 1;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 0u) << win::Narrow(arguments);
}

bool AnyRunning()
{
    for (const wchar_t* progId : kApps) {
        CLSID clsid;
        IUnknown* unknown = nullptr;
        if (SUCCEEDED(::CLSIDFromProgID(progId, &clsid)) &&
            SUCCEEDED(::GetActiveObject(clsid, nullptr, &unknown)) && unknown) {
            unknown->Release();
            return true;
        }
    }
    return false;
}

class OfficeExport : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ::OleInitialize(nullptr);
        ::SetEnvironmentVariableW(L"OFFICE_DOUBLE_LOG", TempPath(L"office-double.log").c_str());
        ::SetEnvironmentVariableW(L"OFFICE_DOUBLE_CONTROL", TempPath(L"office-double.control").c_str());
        RunDouble(L"/regserver");
    }

    void SetUp() override
    {
        WriteText(TempPath(L"office-double.control"), "");
        WriteText(TempPath(L"office-double.log"), "");
        testpics::FillPattern(picture_, 200, 100);
    }

    void TearDown() override
    {
        ReleaseOfficeLinks(links_);
        Control("quit all\n");
        for (int i = 0; i < 100 && AnyRunning(); ++i) ::Sleep(50);
        ::Sleep(300);  // let the stand-ins end before the next test starts new ones
        Control("");
        RunDouble(L"/regserver");
    }

    void Control(const std::string& text) { WriteText(TempPath(L"office-double.control"), text); }

    // Waits for a state line of the log, such as "PowerPoint: quit".
    bool WaitForLine(const std::string& line)
    {
        for (int i = 0; i < 100; ++i) {
            for (const auto& l : Log())
                if (l == line) return true;
            ::Sleep(50);
        }
        return false;
    }

    std::vector<std::string> Log() const
    {
        std::ifstream in(win::Narrow(TempPath(L"office-double.log")), std::ios::binary);
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(in, line)) lines.push_back(line);
        return lines;
    }

    // The member calls one application received, without its name, in order.
    std::vector<std::string> Calls(const std::string& app) const
    {
        static const std::regex call(R"(^(\w+): (\w+\.\w+ (get|put|call)\(.*\))$)");
        std::vector<std::string> calls;
        std::smatch m;
        for (const auto& l : Log())
            if (std::regex_match(l, m, call) && m[1] == app) calls.push_back(m[2]);
        return calls;
    }

    // The state lines (pasted pictures, cell values, document contents).
    std::vector<std::string> States(const std::string& app, const std::string& start) const
    {
        std::vector<std::string> states;
        const std::string prefix = app + ": " + start;
        for (const auto& l : Log())
            if (l.rfind(prefix, 0) == 0) states.push_back(l.substr(app.size() + 2));
        return states;
    }

    void ClearLog() { WriteText(TempPath(L"office-double.log"), ""); }

    OfficeCaptions Captions(bool name, bool date) const { return {L"Ann", name, date, L"May 4, 2026"}; }

    win::Bitmap picture_;
    OfficeLinks links_;
};

using Lines = std::vector<std::string>;

Lines Concat(std::initializer_list<Lines> parts)
{
    Lines all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// ---- PowerPoint ----

Lines SlideCaption(const std::string& left, const std::string& width, const std::string& box,
                   const std::string& text)
{
    return {"Shapes.AddTextbox call(i4:1, i4:" + left + ", i4:510, i4:" + width + ", i4:15)",
            "Shape.Name get()",
            "Shapes.Item call(str:\"" + box + "\")",
            "Shape.TextFrame get()",
            "TextFrame.TextRange get()",
            "TextRange.Text put(str:\"" + text + "\")",
            "Shapes.Item call(str:\"" + box + "\")",
            "Shape.TextFrame get()",
            "TextFrame.TextRange get()",
            "TextRange.Font get()",
            "Font.Size put(i4:14)"};
}

Lines SlideAfterAttach(const Lines& fit)
{
    return Concat({{"Presentation.Name get()",
                    "Presentation.Slides get()",
                    "Slides.Add call(i4:1, i4:12)",
                    "Slide.Shapes get()",
                    "Shapes.Paste call()",
                    "Application.Visible put(bool:-1)",
                    "Presentation.Slides get()",
                    "Slides.Item call(i4:1)",
                    "Slide.Select call()",
                    "Shapes.Item call(i4:1)",
                    "Shape.Height get()"},
                   fit});
}

const Lines kNewPresentation = {"Application.Presentations get()", "Presentations.Item call(str:\"\")",
                                "Application.Presentations get()", "Presentations.Add call()"};

TEST_F(OfficeExport, PowerPointFirstAndSecondExportWithBothCaptions)
{
    MakePowerPointActionExecute(picture_, links_, Captions(true, true));
    EXPECT_EQ(Calls("PowerPoint"),
              Concat({kNewPresentation, SlideAfterAttach({"Shape.Width get()"}),
                      SlideCaption("30", "400", "TextBox 3", "Ann"),
                      SlideCaption("560", "150", "TextBox 4", "May 4, 2026")}));
    EXPECT_EQ(States("PowerPoint", "pasted"), Lines{"pasted 200x100"});
    EXPECT_EQ(links_.PresentationName, L"Presentation1");
    EXPECT_TRUE(links_.PowerPointApp && links_.PowerPointPresentation);

    // The second export finds the presentation again by its name.
    ClearLog();
    testpics::FillPattern(picture_, 120, 90);
    MakePowerPointActionExecute(picture_, links_, Captions(true, true));
    Lines calls = Calls("PowerPoint");
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(Lines(calls.begin(), calls.begin() + 3),
              (Lines{"Application.Presentations get()", "Presentations.Item call(str:\"Presentation1\")",
                     "Presentation.Name get()"}));
    EXPECT_EQ(States("PowerPoint", "pasted"), Lines{"pasted 120x90"});
    EXPECT_EQ(States("PowerPoint", "started").size(), 0u);
}

TEST_F(OfficeExport, PowerPointFitsTheHeightFirstThenTheWidth)
{
    // Pasted pictures measure 0.75 points a pixel in the stand-in.
    const Lines limitHeight = {"Shape.Height put(i4:480)", "Shape.Top put(i4:20)", "Shape.Left put(i4:40)"};
    const Lines limitWidth = {"Shape.Width get()", "Shape.Width put(i4:640)", "Shape.Top put(i4:20)",
                              "Shape.Left put(i4:40)"};
    struct Case {
        int width, height;
        Lines fit;
    } cases[] = {
        {1200, 667, limitHeight},            // 900 x 500 points: height only, though too wide too
        {934, 640, limitHeight},             // exactly 480 high
        {934, 400, limitWidth},              // 700 x 300 points
        {854, 400, limitWidth},              // 640.5 points wide
        {400, 267, {"Shape.Width get()"}},   // 300 x 200 points: as pasted
    };
    bool first = true;
    for (const Case& c : cases) {
        ClearLog();
        testpics::FillPattern(picture_, c.width, c.height);
        MakePowerPointActionExecute(picture_, links_, Captions(false, false));
        Lines calls = Calls("PowerPoint");
        const Lines attach = first ? kNewPresentation
                                   : Lines{"Application.Presentations get()",
                                           "Presentations.Item call(str:\"Presentation1\")"};
        first = false;
        EXPECT_EQ(calls, Concat({attach, SlideAfterAttach(c.fit)})) << c.width << "x" << c.height;
    }
    // The pure rule at its edges.
    EXPECT_EQ(office::FitOnSlide(480, 100), office::SlideFit::LimitHeight);
    EXPECT_EQ(office::FitOnSlide(479.9, 640), office::SlideFit::LimitWidth);
    EXPECT_EQ(office::FitOnSlide(479.9, 639.9), office::SlideFit::KeepAsPasted);
}

TEST_F(OfficeExport, PowerPointCaptionsFollowTheBoxes)
{
    struct Case {
        bool name, date;
        Lines captions;
    } cases[] = {
        {false, false, {}},
        {false, true, SlideCaption("560", "150", "TextBox 3", "May 4, 2026")},
        {true, false, SlideCaption("30", "400", "TextBox 3", "")},
    };
    for (const Case& c : cases) {
        ClearLog();
        ReleaseOfficeLinks(links_);  // a new presentation each time
        OfficeCaptions captions = Captions(c.name, c.date);
        captions.userName.clear();  // an empty name still gets its box
        MakePowerPointActionExecute(picture_, links_, captions);
        EXPECT_EQ(Calls("PowerPoint"),
                  Concat({kNewPresentation, SlideAfterAttach({"Shape.Width get()"}), c.captions}))
            << c.name << c.date;
    }
}

// ---- Word ----

TEST_F(OfficeExport, WordFirstExportTypesTheHeadingSecondOnlyPastes)
{
    MakeWordActionExecute(picture_, links_, Captions(true, true));
    const Lines pasteAndShow = {"Selection.Paste call()", "Selection.TypeText call(str:\"\\r\")",
                                "Selection.TypeText call(str:\"\\r\")", "Application.Visible put(bool:-1)"};
    EXPECT_EQ(Calls("Word"), Concat({{"Application.Documents get()", "Documents.Item call(ref:empty)",
                                      "Application.Documents get()", "Documents.AddOld call()",
                                      "Application.Selection get()", "Selection.TypeText call(str:\"Ann\\r\")",
                                      "Selection.TypeText call(str:\"May 4, 2026\\r\\r\")"},
                                     pasteAndShow}));
    EXPECT_EQ(States("Word", "Document1 holds").back(),
              "Document1 holds \"Ann\\rMay 4, 2026\\r\\r[picture 200x100]\\r\\r\"");

    // The kept document is found again by passing it back; no heading then.
    ClearLog();
    MakeWordActionExecute(picture_, links_, Captions(true, true));
    EXPECT_EQ(Calls("Word"), Concat({{"Application.Documents get()", "Documents.Item call(ref:obj:Document1)",
                                      "Application.Selection get()"},
                                     pasteAndShow}));
    EXPECT_EQ(States("Word", "Document1 holds").back(),
              "Document1 holds \"Ann\\rMay 4, 2026\\r\\r[picture 200x100]\\r\\r[picture 200x100]\\r\\r\"");

    // Both boxes unchecked: a new document starts with the picture.
    links_.WordDocument.reset();
    ClearLog();
    MakeWordActionExecute(picture_, links_, Captions(false, false));
    EXPECT_EQ(States("Word", "Document2 holds").back(), "Document2 holds \"[picture 200x100]\\r\\r\"");
}

// ---- Excel ----

Lines ExcelSheetCalls(const Lines& captions)
{
    return Concat({{"Workbook.Sheets get()", "Sheets.Add call()", "Workbook.Name get()"},
                   captions,
                   {"Worksheet.Range get(str:\"B5\", str:\"B5\")", "Range.Select call()", "Worksheet.Paste call()",
                    "Workbook.Activate call()", "Worksheet.Visible put(bool:-1)",
                    "Application.DisplayFullScreen put(bool:-1)", "Application.DisplayFullScreen put(bool:0)",
                    "Application.Visible put(bool:-1)"}});
}

TEST_F(OfficeExport, ExcelAddsASheetPerExportToTheKeptWorkbook)
{
    MakeExcelActionExecute(picture_, links_, Captions(true, true));
    EXPECT_EQ(Calls("Excel"),
              Concat({{"Application.Workbooks get()", "Workbooks.Item get(str:\"\")", "Application.Workbooks get()",
                       "Workbooks.Add call()"},
                      ExcelSheetCalls({"Worksheet.Range get(str:\"A2\", str:\"A2\")", "Range.Value put(str:\"Ann\")",
                                       "Worksheet.Range get(str:\"A3\", str:\"A3\")",
                                       "Range.Value put(str:\"'May 4, 2026\")"})}));
    EXPECT_EQ(States("Excel", "Book1!"), (Lines{"Book1!Sheet2 A2 = \"Ann\"", "Book1!Sheet2 A3 = \"'May 4, 2026\"",
                                                "Book1!Sheet2 picture 200x100 at B5"}));
    EXPECT_EQ(links_.WorkbookName, L"Book1");

    ClearLog();
    MakeExcelActionExecute(picture_, links_, Captions(false, false));
    EXPECT_EQ(Calls("Excel"), Concat({{"Application.Workbooks get()", "Workbooks.Item get(str:\"Book1\")"},
                                      ExcelSheetCalls({})}));
    EXPECT_EQ(States("Excel", "Book1!"), Lines{"Book1!Sheet3 picture 200x100 at B5"});
    EXPECT_TRUE(links_.ExcelSheet);
}

TEST_F(OfficeExport, ExcelWithoutANewSheetEndsSilently)
{
    Control("fail all Sheets.Add No more sheets\n");
    EXPECT_NO_THROW(MakeExcelActionExecute(picture_, links_, Captions(true, true)));
    EXPECT_FALSE(links_.ExcelApp || links_.ExcelWorkbook || links_.ExcelSheet);
    EXPECT_TRUE(links_.WorkbookName.empty());
}

// ---- all three ----

TEST_F(OfficeExport, ApplicationsQuitBetweenExportsAreStartedAgain)
{
    MakePowerPointActionExecute(picture_, links_, Captions(false, false));
    MakeWordActionExecute(picture_, links_, Captions(false, false));
    MakeExcelActionExecute(picture_, links_, Captions(false, false));
    Control("quit all\n");
    ASSERT_TRUE(WaitForLine("PowerPoint: quit") && WaitForLine("Word: quit") && WaitForLine("Excel: quit"));
    Control("");
    ::Sleep(300);
    ClearLog();
    // The kept references are dead now: new instances, new documents, no error.
    EXPECT_NO_THROW(MakePowerPointActionExecute(picture_, links_, Captions(false, false)));
    EXPECT_NO_THROW(MakeWordActionExecute(picture_, links_, Captions(true, false)));
    EXPECT_NO_THROW(MakeExcelActionExecute(picture_, links_, Captions(false, false)));
    EXPECT_EQ(States("PowerPoint", "pasted"), Lines{"pasted 200x100"});
    EXPECT_EQ(States("Word", "Document1 holds").back(), "Document1 holds \"Ann\\r[picture 200x100]\\r\\r\"");
    EXPECT_EQ(States("Excel", "Book1!"), Lines{"Book1!Sheet2 picture 200x100 at B5"});
    EXPECT_EQ(links_.PresentationName, L"Presentation1");
    EXPECT_EQ(links_.WorkbookName, L"Book1");
}

TEST_F(OfficeExport, CrashedApplicationsAreReplacedNotReported)
{
    MakePowerPointActionExecute(picture_, links_, Captions(false, false));
    MakeWordActionExecute(picture_, links_, Captions(false, false));
    MakeExcelActionExecute(picture_, links_, Captions(false, false));
    // Gone without revoking anything: the running-object table may still
    // hold their entries.
    Control("crash all\n");
    ASSERT_TRUE(WaitForLine("PowerPoint: crashed") && WaitForLine("Word: crashed") && WaitForLine("Excel: crashed"));
    ::Sleep(500);
    Control("");
    ClearLog();
    EXPECT_NO_THROW(MakePowerPointActionExecute(picture_, links_, Captions(false, false)));
    EXPECT_NO_THROW(MakeWordActionExecute(picture_, links_, Captions(false, false)));
    EXPECT_NO_THROW(MakeExcelActionExecute(picture_, links_, Captions(false, false)));
    EXPECT_EQ(States("PowerPoint", "pasted"), Lines{"pasted 200x100"});
    EXPECT_EQ(States("Word", "Document1 holds").size(), 3u);
    EXPECT_EQ(States("Excel", "Book1!"), Lines{"Book1!Sheet2 picture 200x100 at B5"});
}

TEST_F(OfficeExport, BusyApplicationsAreWaitedForNotReported)
{
    // Each application refuses every automation call for 1.5 s from its first.
    Control("busy all 1500 first\n");
    for (auto run : {MakePowerPointActionExecute, MakeWordActionExecute, MakeExcelActionExecute}) {
        const DWORD start = ::GetTickCount();
        EXPECT_NO_THROW(run(picture_, links_, Captions(true, true)));
        EXPECT_GE(::GetTickCount() - start, 1400u);
    }
    const std::pair<std::string, std::string> lastCalls[] = {{"PowerPoint", "Font.Size put(i4:14)"},
                                                             {"Word", "Application.Visible put(bool:-1)"},
                                                             {"Excel", "Application.Visible put(bool:-1)"}};
    for (const auto& [app, last] : lastCalls) {
        EXPECT_FALSE(States(app, "refused a call").empty()) << app;
        // The whole export went through once the application was free again.
        EXPECT_EQ(Calls(app).back(), last) << app;
    }
    EXPECT_EQ(States("PowerPoint", "pasted"), Lines{"pasted 200x100"});
    EXPECT_EQ(States("Excel", "Book1!").size(), 3u);
}

// Runs what once, from a timer of the test's thread: it fires while an export
// waits, as the program's own messages do.
struct Later {
    std::function<void()> what;
    HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    Later(std::function<void()> w, UINT afterMs) : what(std::move(w))
    {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetTimer(hwnd, 1, afterMs, Fire);
    }
    ~Later() { ::DestroyWindow(hwnd); }
    static void CALLBACK Fire(HWND window, UINT, UINT_PTR id, DWORD)
    {
        ::KillTimer(window, id);
        reinterpret_cast<Later*>(::GetWindowLongPtrW(window, GWLP_USERDATA))->what();
    }
};

TEST_F(OfficeExport, ThePictureIsTakenAsItWasWhenTheExportStarted)
{
    Control("busy all 1000 first\n");
    const Later change([&] { testpics::FillPattern(picture_, 300, 150); }, 300);
    EXPECT_NO_THROW(MakePowerPointActionExecute(picture_, links_, Captions(false, false)));
    EXPECT_EQ(picture_.Width(), 300);  // changed while the export waited
    EXPECT_EQ(States("PowerPoint", "pasted"), Lines{"pasted 200x100"});
}

TEST_F(OfficeExport, AbsentApplicationsEndSilentlyWithEmptyReferences)
{
    MakePowerPointActionExecute(picture_, links_, Captions(true, true));
    MakeWordActionExecute(picture_, links_, Captions(true, true));
    MakeExcelActionExecute(picture_, links_, Captions(true, true));
    // Now the user quits them all and they cannot be started any more.
    Control("quit all\n");
    for (int i = 0; i < 100 && AnyRunning(); ++i) ::Sleep(50);
    Control("absent all\n");
    ::Sleep(300);
    EXPECT_NO_THROW(MakePowerPointActionExecute(picture_, links_, Captions(true, true)));
    EXPECT_NO_THROW(MakeWordActionExecute(picture_, links_, Captions(true, true)));
    EXPECT_NO_THROW(MakeExcelActionExecute(picture_, links_, Captions(true, true)));
    EXPECT_FALSE(links_.PowerPointApp || links_.PowerPointPresentation || links_.WordApp || links_.WordDocument ||
                 links_.ExcelApp || links_.ExcelWorkbook || links_.ExcelSheet);
    EXPECT_TRUE(links_.PresentationName.empty() && links_.WorkbookName.empty());

    // Not installed at all: the class is not registered.
    Control("");
    RunDouble(L"/unregserver");
    EXPECT_NO_THROW(MakePowerPointActionExecute(picture_, links_, Captions(true, true)));
    EXPECT_NO_THROW(MakeWordActionExecute(picture_, links_, Captions(true, true)));
    EXPECT_NO_THROW(MakeExcelActionExecute(picture_, links_, Captions(true, true)));
    EXPECT_FALSE(links_.PowerPointApp || links_.WordApp || links_.ExcelApp);
}

TEST_F(OfficeExport, ErrorsAfterTheAttachCarryTheApplicationsTextAndKeepTheReferences)
{
    Control("fail all Slides.Add The slide cannot be added now\n"
            "fail all Selection.Paste Word cannot paste here\n"
            "fail all Range.Select Select method of Range class failed\n"
            "fail all Application.Visible Not now\n");
    auto message = [](auto&& run) {
        try {
            run();
        } catch (const win::Error& e) {
            return win::Narrow(e.Message());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { MakePowerPointActionExecute(picture_, links_, Captions(true, true)); }),
              "The slide cannot be added now");
    EXPECT_TRUE(links_.PowerPointApp && links_.PowerPointPresentation);
    EXPECT_EQ(links_.PresentationName, L"Presentation1");

    EXPECT_EQ(message([&] { MakeWordActionExecute(picture_, links_, Captions(true, true)); }),
              "Word cannot paste here");
    EXPECT_TRUE(links_.WordApp && links_.WordDocument);
    // Word is not made visible after a failure.
    for (const auto& c : Calls("Word")) EXPECT_EQ(c.find("Visible"), std::string::npos);

    EXPECT_EQ(message([&] { MakeExcelActionExecute(picture_, links_, Captions(true, true)); }),
              "Select method of Range class failed");
    EXPECT_TRUE(links_.ExcelApp && links_.ExcelWorkbook && links_.ExcelSheet);
    EXPECT_EQ(links_.WorkbookName, L"Book1");

    // A failing Visible is ignored: the exports run to their end.
    Control("fail all Application.Visible Not now\n");
    EXPECT_EQ(message([&] { MakePowerPointActionExecute(picture_, links_, Captions(false, false)); }),
              "no error");
    EXPECT_EQ(message([&] { MakeWordActionExecute(picture_, links_, Captions(false, false)); }),
              "no error");
    EXPECT_EQ(message([&] { MakeExcelActionExecute(picture_, links_, Captions(false, false)); }),
              "no error");
}

}  // namespace

// The bound of the hang tests, and how long the stand-in hangs.
constexpr DWORD kShortLimitMs = 2000;
constexpr DWORD kHangMs = 6000;

TEST_F(OfficeExport, HungApplicationIsGivenUpAfterTheBoundAndItsLinksAreReleased)
{
    // PowerPoint answers Slides.Add only after longer than the bound (the
    // program's 10 s, shortened here).
    links_.callLimitMs = kShortLimitMs;
    ASSERT_NO_THROW(MakePowerPointActionExecute(picture_, links_, Captions(false, false)));
    Control("hang all Slides.Add " + std::to_string(kHangMs) + "\n");
    const DWORD start = ::GetTickCount();
    EXPECT_THROW(MakePowerPointActionExecute(picture_, links_, Captions(false, false)), win::Error);
    const DWORD waited = ::GetTickCount() - start;
    EXPECT_GE(waited, kShortLimitMs - 500);
    EXPECT_LT(waited, kShortLimitMs + 3000);
    EXPECT_FALSE(links_.PowerPointApp || links_.PowerPointPresentation);
    Control("");
    ::Sleep(kHangMs - kShortLimitMs);  // the stand-in answers at last before the next test
}

TEST_F(OfficeExport, ReleaseWhileAnExportHangsGivesItUpWithinTheBound)
{
    links_.callLimitMs = kShortLimitMs;
    ASSERT_NO_THROW(MakePowerPointActionExecute(picture_, links_, Captions(false, false)));
    Control("hang all Slides.Add " + std::to_string(kHangMs) + "\n");
    // As a session end arriving while the export waits on the application.
    DWORD released = 0;
    const DWORD start = ::GetTickCount();
    const Later logoff([&] {
        ReleaseOfficeLinks(links_);
        released = ::GetTickCount();
    }, 500);
    EXPECT_THROW(MakePowerPointActionExecute(picture_, links_, Captions(false, false)), win::Error);
    // The release waited for the export's call, then gave it up.
    EXPECT_NE(released, 0u);
    EXPECT_GE(released - start, kShortLimitMs - 500);
    EXPECT_LT(released - start, kShortLimitMs + 3000);
    EXPECT_FALSE(links_.PowerPointApp || links_.PowerPointPresentation || links_.thread);
    Control("");
    ::Sleep(kHangMs - kShortLimitMs);  // the stand-in answers at last before the next test
}

TEST_F(OfficeExport, ReleaseDuringAnExportWaitsForItsEnd)
{
    // As a session end arriving while an export waits on the application.
    ASSERT_NO_THROW(MakeExcelActionExecute(picture_, links_, Captions(true, true)));
    {
        const OfficeExportScope running(links_);
        ReleaseOfficeLinks(links_);
        EXPECT_TRUE(links_.ExcelApp && links_.ExcelWorkbook && links_.ExcelSheet);
    }
    EXPECT_FALSE(links_.ExcelApp || links_.ExcelWorkbook || links_.ExcelSheet);
}
