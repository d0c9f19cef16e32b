// The save path with the file-exists policy, on real files.
#include <gtest/gtest.h>

#include "output/FileNaming.h"
#include "win/Form.h"
#include "output/SaveFile.h"
#include "tests/output/FaultyFileSystem.h"
#include "tests/support/TestPictures.h"
#include "win/Error.h"

namespace {

class SaveImage : public ::testing::Test {
protected:
    SaveImage() { testpics::FillPattern(picture, 24, 16, win::PixelFormat::Bits32); }

    bool Save(const std::wstring& name, int index, int answer, bool check = true)
    {
        return SaveImageFileTo(
            picture, folder / name, index, check,
            [&](const std::wstring& existing) {
                asked.push_back(existing);
                return answer;
            },
            dialogName, fs);
    }

    TempFolder folder;
    FaultyFileSystem fs;
    win::Bitmap picture;
    std::wstring dialogName;
    std::vector<std::wstring> asked;
};

}  // namespace

TEST_F(SaveImage, ForcesTheExtensionOfTheChosenType)
{
    EXPECT_TRUE(Save(L"shot.png", ftJPEG, win::mrCancel));
    EXPECT_TRUE(Save(L"week.12", ftBMP, win::mrCancel));
    EXPECT_TRUE(Save(L"other.gif", 0, win::mrCancel));  // unknown type: BMP under the name as given
    EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"other.gif", L"shot.jpg", L"week.bmp"}));
    EXPECT_EQ(ReadBytes(folder / L"other.gif").substr(0, 2), "BM");
    EXPECT_EQ(ReadBytes(folder / L"shot.jpg").substr(0, 2), "\xFF\xD8");
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(dialogName, folder / L"other.gif");
}

TEST_F(SaveImage, RenameNumbersUntilANameIsFree)
{
    for (const wchar_t* name : {L"capture.jpg", L"capture(1).jpg", L"capture(2).jpg"}) WriteText(folder / name, "old");
    EXPECT_TRUE(Save(L"capture.jpg", ftJPEG, win::mrNo));
    EXPECT_EQ(asked, std::vector<std::wstring>{folder / L"capture.jpg"});
    EXPECT_EQ(dialogName, folder / L"capture(3).jpg");  // the next Save proposes it
    for (const wchar_t* name : {L"capture.jpg", L"capture(1).jpg", L"capture(2).jpg"})
        EXPECT_EQ(ReadBytes(folder / name), "old");
    EXPECT_EQ(ReadBytes(folder / L"capture(3).jpg").substr(0, 2), "\xFF\xD8");

    WriteText(folder / L".jpg", "old");
    EXPECT_TRUE(Save(L".jpg", ftJPEG, win::mrNo));
    EXPECT_EQ(dialogName, folder / L".jpg.jpg");
}

TEST_F(SaveImage, OverwriteReplacesAndCancelWritesNothing)
{
    WriteText(folder / L"capture.bmp", "old");
    EXPECT_FALSE(Save(L"capture.bmp", ftBMP, win::mrCancel));
    EXPECT_EQ(ReadBytes(folder / L"capture.bmp"), "old");
    EXPECT_EQ(dialogName, folder / L"capture.bmp");
    // The dialog closed without a choice counts as Cancel.
    EXPECT_FALSE(Save(L"capture.bmp", ftBMP, 0));
    EXPECT_EQ(ReadBytes(folder / L"capture.bmp"), "old");

    EXPECT_TRUE(Save(L"capture.bmp", ftBMP, win::mrOk));
    EXPECT_EQ(ReadBytes(folder / L"capture.bmp").size(), 54u + 24 * 4 * 16);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"capture.bmp"});
}

TEST_F(SaveImage, WithoutTheCheckAnExistingFileIsReplacedWithoutAsking)
{
    WriteText(folder / L"capture-temp.bmp", "old");
    EXPECT_TRUE(Save(L"capture-temp.bmp", ftBMP, win::mrCancel, false));
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(ReadBytes(folder / L"capture-temp.bmp").substr(0, 2), "BM");
}

TEST_F(SaveImage, AFailedBmpWriteIsAnErrorNotASilentFalse)
{
    fs.failWriteAfter = 10;
    EXPECT_THROW(Save(L"capture.bmp", ftBMP, win::mrOk), win::Error);
    EXPECT_TRUE(folder.Names().empty());
}

TEST(SaveBMP, FailsSilentlyWithAnEmptyPicture)
{
    // An empty picture: nothing to write, no exception.
    EXPECT_TRUE(SaveBMP(win::Bitmap{}).empty());
}

TEST(SaveDialogFolder, OnlyAUsableExistingFolderIsWhereTheDialogOpens)
{
    const auto exists = [](const std::wstring& path) { return path == L"C:\\Shots" || path.size() > 300; };
    const std::wstring pictures = L"C:\\Users\\me\\Pictures";
    EXPECT_EQ(SaveDialogFolder(L"C:\\Shots", exists, pictures), L"C:\\Shots");
    EXPECT_EQ(SaveDialogFolder(L"", exists, pictures), pictures);
    EXPECT_EQ(SaveDialogFolder(L"C:\\Gone", exists, pictures), pictures);
    EXPECT_EQ(SaveDialogFolder(L"%UNKNOWN%\\Shots", exists, pictures), pictures);
    // A value of 40,000 characters never reaches the dialog, whatever is on disk.
    EXPECT_EQ(SaveDialogFolder(std::wstring(40000, L'a'), exists, pictures), pictures);
}
