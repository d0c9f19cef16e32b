// The glue from the program's bitmaps to GIF bytes and files.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "gif/GIFBitmap.h"
#include "gif/GIFException.h"
#include "win/Gdi.h"
#include "GifTestSupport.h"

using Bytes = std::vector<std::uint8_t>;

namespace {

// Four bands of colours that lie off the cube, drawn through GDI.
void PaintBands(win::Bitmap& b)
{
    const COLORREF colours[] = {RGB(212, 208, 200), RGB(10, 130, 250), RGB(255, 255, 255),
                                RGB(47, 48, 99)};
    for (int i = 0; i < 4; ++i)
        win::FillSolidRect(b.Canvas(), {i * b.Width() / 4, 0, (i + 1) * b.Width() / 4, b.Height()},
                           colours[i]);
    win::FillSolidRect(b.Canvas(), {3, 3, 9, 5}, RGB(128, 0, 192));
}

giftest::Picture CopyOf(const win::Bitmap& b)
{
    giftest::Picture p(b.Width(), b.Height());
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const COLORREF c = b.Pixel(x, y);
            p.Set(x, y, {GetRValue(c), GetGValue(c), GetBValue(c)});
        }
    return p;
}

Bytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(GIFBitmap, ThirtyTwoBitBitmapEncodesItsColoursAndStaysAsItWas)
{
    win::Bitmap b;
    b.SetPixelFormat(win::PixelFormat::Bits32);
    b.SetSize(41, 13);
    PaintBands(b);
    const giftest::Picture before = CopyOf(b);

    const Bytes file = gif::EncodeBitmapAsGif(b);
    EXPECT_EQ(file, giftest::SavePicture(before));
    EXPECT_EQ(b.BitsPerPixel(), 32);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 41; ++x) {
            const giftest::Rgb c = before.Get(x, y);
            ASSERT_EQ(b.Pixel(x, y), RGB(c.r, c.g, c.b));
        }
    // The same picture in 24 bits: same bytes.
    b.SetPixelFormat(win::PixelFormat::Bits24);
    EXPECT_EQ(gif::EncodeBitmapAsGif(b), file);
}

TEST(GIFBitmap, SavesToAFileReplacingWhatWasThere)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"tavro-gif-\u00e9t\u00e9";
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / L"capture \u263a.gif";
    {
        std::ofstream old(path, std::ios::binary);
        old << std::string(5000, 'x');
    }
    win::Bitmap b;
    b.SetPixelFormat(win::PixelFormat::Bits24);
    b.SetSize(30, 20);
    PaintBands(b);
    gif::SaveBitmapAsGif(b, path.wstring());
    const Bytes written = ReadFile(path);
    EXPECT_EQ(written, gif::EncodeBitmapAsGif(b));

    const std::wstring missing = (folder / L"no such folder" / L"x.gif").wstring();
    try {
        gif::SaveBitmapAsGif(b, missing);
        FAIL() << "no exception";
    } catch (const gif::GIFException& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"", 0), 0u) << e.what();
    }
    std::filesystem::remove_all(folder);
}

TEST(GIFBitmap, TooLargeBitmapIsRefusedBeforeAnythingChanges)
{
    win::Bitmap b;
    b.SetPixelFormat(win::PixelFormat::Bits32);
    b.SetSize(65536, 2);
    const std::filesystem::path path = std::filesystem::temp_directory_path() / L"tavro-gif-wide.gif";
    std::filesystem::remove(path);
    try {
        gif::SaveBitmapAsGif(b, path.wstring());
        FAIL() << "no exception";
    } catch (const gif::GIFException& e) {
        EXPECT_NE(std::string(e.what()).find("65535"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(b.BitsPerPixel(), 32);
    EXPECT_THROW(gif::EncodeBitmapAsGif(b), gif::GIFException);

    win::Bitmap tall;
    tall.SetPixelFormat(win::PixelFormat::Bits24);
    tall.SetSize(1, 65535);  // exactly at the limit: accepted
    const Bytes file = gif::EncodeBitmapAsGif(tall);
    EXPECT_EQ(file[8], 0xFF);
    EXPECT_EQ(file[9], 0xFF);
}

TEST(GIFBitmap, EmptyBitmapIsRefusedWithoutAFile)
{
    win::Bitmap b;
    EXPECT_THROW(gif::EncodeBitmapAsGif(b), gif::GIFException);
    const std::filesystem::path path = std::filesystem::temp_directory_path() / L"tavro-gif-empty.gif";
    std::filesystem::remove(path);
    EXPECT_THROW(gif::SaveBitmapAsGif(b, path.wstring()), gif::GIFException);
    EXPECT_FALSE(std::filesystem::exists(path));
}
