#include <gtest/gtest.h>

#include <set>

#include "output/CaptureFileName.h"
#include "output/FileNaming.h"

namespace {
const SYSTEMTIME kTime{2026, 3, 0, 7, 9, 5, 4, 0};  // 2026-03-07 09:05:04
}

TEST(CaptureFileName, ExpandsEveryToken)
{
    const struct {
        const wchar_t* pattern;
        const wchar_t* name;
    } rows[] = {
        {kDefaultFileNamePattern, L"Capture 2026-03-07 090504"},
        {L"%n-%w x %h", L"007-640 x 480"},
        {L"100%% %Y", L"100% 2026"},
        {L"%q %", L"%q %"},  // unknown and trailing percent signs stay
        {L"plain", L"plain"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ExpandFileNamePattern(row.pattern, kTime, 7, 640, 480), row.name) << row.pattern;
}

TEST(CaptureFileName, RefusesPatternsThatCannotNameAFile)
{
    for (const wchar_t* bad : {L"a/b", L"a\\b", L"a:b", L"a*", L"a?", L"a\"", L"a<", L"a>", L"a|", L"a\tb", L"",
                               L" . ", L"name.", L"name "})
        EXPECT_FALSE(FileNamePatternProblem(bad).empty()) << bad;
    for (const wchar_t* good : {kDefaultFileNamePattern, L"%n", L"shot (%w x %h) 100%%", L".hidden"})
        EXPECT_EQ(FileNamePatternProblem(good), L"") << good;
}

TEST(CaptureFileName, NeverTakesANameInUse)
{
    std::set<std::wstring> taken = {L"C:\\shots\\Capture 2026-03-07 090504.png", L"C:\\shots\\001.jpg",
                                    L"C:\\shots\\002.jpg", L"C:\\shots\\same.bmp", L"C:\\shots\\same(1).bmp"};
    const auto inUse = [&taken](const std::wstring& name) { return taken.count(name) > 0; };
    // A fixed name gets the Save command's numbered rename; %n counts on to a free number.
    EXPECT_EQ(NewCaptureFileName(L"C:\\shots", kDefaultFileNamePattern, kTime, 1, 1, ftPNG, inUse),
              L"C:\\shots\\Capture 2026-03-07 090504(1).png");
    EXPECT_EQ(NewCaptureFileName(L"C:\\shots\\", L"%n", kTime, 1, 1, ftJPEG, inUse), L"C:\\shots\\003.jpg");
    EXPECT_EQ(NewCaptureFileName(L"C:\\shots", L"same", kTime, 1, 1, ftBMP, inUse), L"C:\\shots\\same(2).bmp");
    EXPECT_EQ(NewCaptureFileName(L"C:\\shots", L"%w", kTime, 12, 1, ftGIF, inUse), L"C:\\shots\\12.gif");
}
