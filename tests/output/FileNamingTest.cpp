#include <gtest/gtest.h>

#include "output/FileNaming.h"

TEST(ExtensionForFilter, ForcesTheTypeExtensionOntoTheFinalComponent)
{
    EXPECT_EQ(ExtensionForFilter(L"C:\\pics\\shot.png", ftJPEG), L"C:\\pics\\shot.jpg");
    EXPECT_EQ(ExtensionForFilter(L"week.12", ftJPEG), L"week.jpg");
    EXPECT_EQ(ExtensionForFilter(L"capture.jpg", ftBMP), L"capture.bmp");
    EXPECT_EQ(ExtensionForFilter(L"capture.jpg", ftGIF), L"capture.gif");
    EXPECT_EQ(ExtensionForFilter(L"a.tar.gz", ftGIF), L"a.tar.gif");
    EXPECT_EQ(ExtensionForFilter(L"capture.jpg", ftPNG), L"capture.png");
    // No extension: one is appended; a dot in a folder name is not an extension.
    EXPECT_EQ(ExtensionForFilter(L"C:\\my.pics\\shot", ftBMP), L"C:\\my.pics\\shot.bmp");
    EXPECT_EQ(ExtensionForFilter(L"C:/my.pics/shot", ftBMP), L"C:/my.pics/shot.bmp");
    EXPECT_EQ(ExtensionForFilter(L".jpg", ftBMP), L".bmp");
    EXPECT_EQ(ExtensionForFilter(L"", ftJPEG), L".jpg");
}

TEST(ExtensionForFilter, OtherIndexesLeaveTheNameAlone)
{
    for (int index : {0, 5, -1, 100}) EXPECT_EQ(ExtensionForFilter(L"shot.gif", index), L"shot.gif");
}

TEST(NumberedFileName, CountsUpTheNumberInTheLastParentheses)
{
    EXPECT_EQ(NumberedFileName(L"capture.jpg"), L"capture(1)");
    EXPECT_EQ(NumberedFileName(L"capture(1).jpg"), L"capture(2)");
    EXPECT_EQ(NumberedFileName(L"shot(9).bmp"), L"shot(10)");
    EXPECT_EQ(NumberedFileName(L"a(b).gif"), L"a(b)(1)");
    EXPECT_EQ(NumberedFileName(L"x(1)(4).jpg"), L"x(1)(5)");
    EXPECT_EQ(NumberedFileName(L"noextension"), L"noextension(1)");
    EXPECT_EQ(NumberedFileName(L"a.b.c"), L"a.b(1)");
}

TEST(NumberedFileName, ReadsNumbersAsSigned32BitIntegers)
{
    EXPECT_EQ(NumberedFileName(L"p( 7).jpg"), L"p(8)");      // leading blanks
    EXPECT_EQ(NumberedFileName(L"p(-3).jpg"), L"p(-2)");
    EXPECT_EQ(NumberedFileName(L"p(+3).jpg"), L"p(4)");
    EXPECT_EQ(NumberedFileName(L"p($1F).jpg"), L"p(32)");    // hexadecimal
    EXPECT_EQ(NumberedFileName(L"p(0x10).jpg"), L"p(17)");
    EXPECT_EQ(NumberedFileName(L"p($FFFFFFFF).jpg"), L"p(0)");
    // Not numbers: empty, trailing blank, digits after junk, out of range.
    EXPECT_EQ(NumberedFileName(L"p().jpg"), L"p()(1)");
    EXPECT_EQ(NumberedFileName(L"p(7 ).jpg"), L"p(7 )(1)");
    EXPECT_EQ(NumberedFileName(L"p(x7).jpg"), L"p(x7)(1)");
    EXPECT_EQ(NumberedFileName(L"p($).jpg"), L"p($)(1)");
    EXPECT_EQ(NumberedFileName(L"p(2147483648).jpg"), L"p(2147483648)(1)");
    // The largest number counts on instead of wrapping to a negative one.
    EXPECT_EQ(NumberedFileName(L"p(2147483647).jpg"), L"p(2147483648)");
    EXPECT_EQ(NumberedFileName(L"p(-2147483648).jpg"), L"p(-2147483647)");
}

TEST(NumberedFileName, ParenthesesWithoutAnOpeningOneOrAnEmptyBase)
{
    EXPECT_EQ(NumberedFileName(L"5).jpg"), L"5)(1)");
    EXPECT_EQ(NumberedFileName(L").jpg"), L")(1)");
    EXPECT_EQ(NumberedFileName(L"(3).jpg"), L"(4)");
    EXPECT_EQ(NumberedFileName(L".jpg"), L".jpg");
    EXPECT_EQ(NumberedFileName(L""), L"");
}

TEST(NextRenamedPath, KeepsFolderAndExtension)
{
    EXPECT_EQ(NextRenamedPath(L"C:\\pics\\capture.jpg"), L"C:\\pics\\capture(1).jpg");
    EXPECT_EQ(NextRenamedPath(L"C:\\pics\\capture(2).jpg"), L"C:\\pics\\capture(3).jpg");
    EXPECT_EQ(NextRenamedPath(L"C:\\my.pics\\shot"), L"C:\\my.pics\\shot(1)");
    // An empty base: the name is kept and the extension added once more.
    EXPECT_EQ(NextRenamedPath(L"C:\\pics\\.jpg"), L"C:\\pics\\.jpg.jpg");
    EXPECT_EQ(NextRenamedPath(L"C:\\pics\\.jpg.jpg"), L"C:\\pics\\.jpg(1).jpg");
}
