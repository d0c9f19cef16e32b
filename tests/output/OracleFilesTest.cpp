// Writes pictures, their pixel dumps and our BMP and JPEG files of them for
// oracle.sh, which checks them with ImageMagick and the JPEG library's own
// cjpeg (native tools that cannot run inside this Windows process).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "output/FileNaming.h"
#include "output/PictureFile.h"
#include "tests/output/ScreenPicture.h"
#include "tests/support/TestPictures.h"

TEST(OracleFiles, WritesPicturesForTheOutsideDecoders)
{
    const std::wstring dir = L"oracle\\";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream manifest(std::filesystem::path(dir + L"manifest.txt"));

    struct Case {
        const char* name;
        int width, height;
        win::PixelFormat format;
        bool screen;  // screenshot-like, else the test pattern
        bool junkFourthByte;
    };
    const Case cases[] = {
        {"pattern24-1x1", 1, 1, win::PixelFormat::Bits24, false, false},
        {"pattern24-3x2", 3, 2, win::PixelFormat::Bits24, false, false},
        {"pattern24-7x9", 7, 9, win::PixelFormat::Bits24, false, false},
        {"pattern32-17x5", 17, 5, win::PixelFormat::Bits32, false, false},
        {"pattern32-1000x1", 1000, 1, win::PixelFormat::Bits32, false, false},
        {"pattern32-junk-33x21", 33, 21, win::PixelFormat::Bits32, false, true},
        {"screen32-640x480", 640, 480, win::PixelFormat::Bits32, true, false},
        {"screen24-641x479", 641, 479, win::PixelFormat::Bits24, true, false},
        {"screen32-1920x1080", 1920, 1080, win::PixelFormat::Bits32, true, false},
    };
    for (const Case& c : cases) {
        win::Bitmap picture;
        if (c.screen)
            screenpic::Fill(picture, c.width, c.height, c.format);
        else
            testpics::FillPattern(picture, c.width, c.height, c.format);
        if (c.junkFourthByte)
            for (int y = 0; y < c.height; ++y)
                for (int x = 0; x < c.width; ++x) picture.Row(y)[x * 4 + 3] = static_cast<std::uint8_t>(x * 31 + y * 7 + 1);
        const std::wstring stem = dir + std::filesystem::path(c.name).wstring();
        ASSERT_TRUE(screenpic::WriteDumps(picture, stem));
        output::WritePictureFile(picture, stem + L".bmp", ftBMP);
        output::WritePictureFile(picture, stem + L".jpg", ftJPEG);
        manifest << c.name << ' ' << c.width << ' ' << c.height << ' ' << picture.BitsPerPixel() << ' '
                 << (c.screen ? "screen" : "pattern") << '\n';
    }
    manifest.close();
    EXPECT_TRUE(manifest);
}
