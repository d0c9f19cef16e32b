// The BMP and JPEG writers on real bitmaps, and the size limits of the formats.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gif/GIFBitmap.h"
#include "output/BmpWriter.h"
#include "output/FileNaming.h"
#include "output/JpegEncoder.h"
#include "output/PictureFile.h"
#include "tests/output/FaultyFileSystem.h"
#include "tests/support/TestPictures.h"
#include "win/Error.h"

namespace {

template <typename T>
T Read(const std::vector<std::uint8_t>& bytes, size_t at)
{
    T value;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

std::vector<std::uint8_t> BmpOf(const win::Bitmap& picture)
{
    std::vector<std::uint8_t> bytes;
    output::MemorySink sink(bytes);
    output::WriteBmp(picture, sink);
    EXPECT_FALSE(sink.Failed());
    return bytes;
}

std::wstring MessageOf(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const win::Error& e) {
        return e.Message();
    }
    return L"(no error)";
}

}  // namespace

TEST(BmpWriter, HeadersAndBottomUpPaddedRowsAtEachDepth)
{
    for (auto format : {win::PixelFormat::Bits24, win::PixelFormat::Bits32}) {
        win::Bitmap picture;
        testpics::FillPattern(picture, 5, 3, format);  // 24 bits: 15 bytes a row, padded to 16
        const int bits = picture.BitsPerPixel();
        const size_t rowBytes = bits == 24 ? 16 : 20;
        const std::vector<std::uint8_t> bytes = BmpOf(picture);

        ASSERT_EQ(bytes.size(), 54 + rowBytes * 3);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        EXPECT_EQ(Read<std::uint32_t>(bytes, 2), bytes.size());
        EXPECT_EQ(Read<std::uint32_t>(bytes, 6), 0u);
        EXPECT_EQ(Read<std::uint32_t>(bytes, 10), 54u);
        EXPECT_EQ(Read<std::uint32_t>(bytes, 14), 40u);
        EXPECT_EQ(Read<std::int32_t>(bytes, 18), 5);
        EXPECT_EQ(Read<std::int32_t>(bytes, 22), 3);  // positive: bottom-up
        EXPECT_EQ(Read<std::uint16_t>(bytes, 26), 1);
        EXPECT_EQ(Read<std::uint16_t>(bytes, 28), bits);
        EXPECT_EQ(Read<std::uint32_t>(bytes, 30), static_cast<std::uint32_t>(BI_RGB));
        EXPECT_EQ(Read<std::uint32_t>(bytes, 34), rowBytes * 3);
        EXPECT_EQ(Read<std::uint32_t>(bytes, 46), 0u);  // no colour table
        for (int y = 0; y < 3; ++y) {
            const size_t row = 54 + rowBytes * static_cast<size_t>(2 - y);
            for (int x = 0; x < 5; ++x) {
                const size_t p = row + static_cast<size_t>(x) * (bits / 8);
                EXPECT_EQ(RGB(bytes[p + 2], bytes[p + 1], bytes[p]), testpics::PatternColor(x, y))
                    << bits << " bits, pixel " << x << "," << y;
                // Readers that take the unused byte for alpha must see it opaque.
                if (bits == 32) {
                    EXPECT_EQ(bytes[p + 3], 0xFF);
                }
            }
        }
    }
}

TEST(BmpWriter, AFailedWriteStopsTheWriterAndIsRemembered)
{
    win::Bitmap picture;
    testpics::FillPattern(picture, 2000, 600, win::PixelFormat::Bits32);  // larger than the sink's buffer
    TempFolder folder;
    FaultyFileSystem fs;
    fs.failWriteAfter = 1 << 20;
    const std::wstring target = folder / L"big.bmp";
    const std::wstring message =
        MessageOf([&] { output::WritePictureFile(picture, target, ftBMP, output::ExistingFile::Replace, fs); });
    EXPECT_NE(message.find(L"big.bmp"), std::wstring::npos) << message;
    EXPECT_LE(fs.bytesWritten, 1 << 20);
    EXPECT_TRUE(folder.Names().empty());
}

TEST(JpegEncoder, WritesABaselineJfifFileWithQuality90Tables)
{
    win::Bitmap picture;
    testpics::FillPattern(picture, 33, 17, win::PixelFormat::Bits24);
    output::JpegBytes jpeg;
    output::EncodeJpeg(picture, jpeg);
    ASSERT_GT(jpeg.size(), 200u);
    const std::uint8_t* b = jpeg.data();
    EXPECT_EQ(b[0], 0xFF);
    EXPECT_EQ(b[1], 0xD8);
    EXPECT_EQ(std::memcmp(b + 6, "JFIF", 4), 0);
    EXPECT_EQ(b[jpeg.size() - 2], 0xFF);
    EXPECT_EQ(b[jpeg.size() - 1], 0xD9);
    bool baselineFrame = false, progressiveFrame = false;
    int quantTables = 0;
    for (size_t i = 2; i + 3 < jpeg.size() && b[i] == 0xFF && b[i + 1] != 0xDA;) {
        const std::uint8_t marker = b[i + 1];
        const size_t length = static_cast<size_t>(b[i + 2] << 8 | b[i + 3]);
        if (marker == 0xC0) {
            baselineFrame = true;
            EXPECT_EQ(b[i + 4], 8);            // precision
            EXPECT_EQ(b[i + 5] << 8 | b[i + 6], 17);  // height
            EXPECT_EQ(b[i + 7] << 8 | b[i + 8], 33);  // width
            EXPECT_EQ(b[i + 9], 3);            // components
        }
        if (marker == 0xC2) progressiveFrame = true;
        if (marker == 0xDB) {
            ++quantTables;
            // Quality 90 scales the standard luminance table's first entry 16 to 3.
            if ((b[i + 4] & 0x0F) == 0) {
                EXPECT_EQ(b[i + 5], 3);
            }
            EXPECT_EQ(b[i + 4] >> 4, 0);  // 8-bit entries: baseline tables
        }
        i += 2 + length;
    }
    EXPECT_TRUE(baselineFrame);
    EXPECT_FALSE(progressiveFrame);
    EXPECT_EQ(quantTables, 2);
}

TEST(JpegEncoder, SameBytesFromEitherDepthOfTheSamePicture)
{
    win::Bitmap p24, p32;
    testpics::FillPattern(p24, 101, 37, win::PixelFormat::Bits24);
    testpics::FillPattern(p32, 101, 37, win::PixelFormat::Bits32);
    // The unused fourth byte must not matter.
    for (int y = 0; y < 37; ++y)
        for (int x = 0; x < 101; ++x) p32.Row(y)[x * 4 + 3] = static_cast<std::uint8_t>(x * 13 + y);
    output::JpegBytes a, b;
    output::EncodeJpeg(p24, a);
    output::EncodeJpeg(p32, b);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size()), 0);
}

TEST(JpegEncoder, LibraryErrorsComeBackAsMessagesAndTheProgramGoesOn)
{
    win::Bitmap picture;
    testpics::FillPattern(picture, 64, 64, win::PixelFormat::Bits24);
    output::JpegSource source;
    source.top = picture.Row(0);
    source.stride = picture.Stride();
    source.width = 64;
    source.height = 64;
    source.outputLimit = 300;  // the library runs out of room half-way
    output::JpegBytes out;
    std::string error;
    for (int i = 0; i < 3; ++i) {  // and again: no state is left behind
        EXPECT_FALSE(output::CompressJpeg(source, out, error));
        EXPECT_NE(error.find("Insufficient memory"), std::string::npos) << error;
        EXPECT_EQ(out.data(), nullptr);
    }
    source.outputLimit = 1 << 20;
    EXPECT_TRUE(output::CompressJpeg(source, out, error));
    EXPECT_GT(out.size(), 300u);
}

TEST(PictureFile, TooLargeForTheFormatIsRefusedBeforeAnyFileIsTouched)
{
    TempFolder folder;
    struct Case {
        int width, height, index;
        const wchar_t* limit;
    };
    for (const Case c : {Case{65501, 1, ftJPEG, L"65500"}, Case{1, 65501, ftJPEG, L"65500"},
                         Case{65536, 1, ftGIF, L"65535"}, Case{1, 65536, ftGIF, L"65535"}}) {
        win::Bitmap picture;
        picture.SetPixelFormat(win::PixelFormat::Bits24);
        picture.SetSize(c.width, c.height);
        FaultyFileSystem fs;
        const std::wstring target = folder / L"big.file";
        WriteText(target, "old");
        const std::wstring message =
            MessageOf([&] { output::WritePictureFile(picture, target, c.index, output::ExistingFile::Replace, fs); });
        EXPECT_NE(message.find(c.limit), std::wstring::npos) << message;
        EXPECT_EQ(fs.creates, 0);
        EXPECT_EQ(ReadBytes(target), "old");
        EXPECT_EQ(picture.BitsPerPixel(), 24);
    }
    // Nor is an empty picture written, in any format.
    for (int index : {ftJPEG, ftBMP, ftGIF, ftPNG}) {
        win::Bitmap empty;
        FaultyFileSystem fs;
        EXPECT_NE(MessageOf([&] { output::WritePictureFile(empty, folder / L"empty", index, output::ExistingFile::Replace, fs); }),
                  L"(no error)");
        EXPECT_EQ(fs.creates, 0);
    }
    // The largest JPEG the format holds is written.
    win::Bitmap widest;
    testpics::FillPattern(widest, 65500, 2, win::PixelFormat::Bits24);
    output::WritePictureFile(widest, folder / L"wide.jpg", ftJPEG);
    EXPECT_GT(ReadBytes(folder / L"wide.jpg").size(), 1000u);
}

TEST(PictureFile, PngWriteFailuresKeepTheOldFileAndSayWhy)
{
    // Noise with a mask: well over the sink's buffer, so the disk fills up
    // while libpng is still writing rows.
    win::Bitmap picture;
    picture.SetPixelFormat(win::PixelFormat::Bits24);
    picture.SetSize(900, 700);
    std::uint32_t seed = 7;
    for (int y = 0; y < 700; ++y)
        for (int x = 0; x < 900 * 3; ++x) picture.Row(y)[x] = static_cast<std::uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
    win::AlphaMask alpha(900, 700);
    alpha.MakeOpaque(10, 10, 890, 690);
    struct Fault {
        std::function<void(FaultyFileSystem&)> set;
        const wchar_t* reason;
    };
    const Fault faults[] = {
        {[](FaultyFileSystem& f) { f.failWriteAfter = 100000; }, L"Cannot write file"},
        {[](FaultyFileSystem& f) { f.createError = ERROR_SHARING_VIOLATION; }, L"Cannot create file"},
        {[](FaultyFileSystem& f) { f.replaceErrors.assign(50, ERROR_SHARING_VIOLATION); }, L""},
    };
    TempFolder folder;
    const std::wstring target = folder / L"shape.png";
    for (const Fault& fault : faults) {
        WriteText(target, "old");
        FaultyFileSystem fs;
        fault.set(fs);
        const std::wstring message = MessageOf(
            [&] { output::WritePictureFile(picture, target, ftPNG, output::ExistingFile::Replace, fs, alpha); });
        EXPECT_NE(message.find(L"shape.png"), std::wstring::npos) << message;
        EXPECT_NE(message.find(fault.reason), std::wstring::npos) << message;
        EXPECT_EQ(ReadBytes(target), "old");
        EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"shape.png"});
    }
    // Without faults: a PNG with an alpha channel (colour type 6) replaces it.
    output::WritePictureFile(picture, target, ftPNG, output::ExistingFile::Replace, RealFileSystem(), alpha);
    const std::string png = ReadBytes(target);
    ASSERT_GT(png.size(), 1u << 20);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(png[25], 6);
}

TEST(PictureFile, GifSaveLeavesThePictureAsItWas)
{
    TempFolder folder;
    win::Bitmap picture;
    testpics::FillPattern(picture, 40, 30, win::PixelFormat::Bits32);
    const auto colours = testpics::Colors(picture);
    output::WritePictureFile(picture, folder / L"a.gif", ftGIF);
    EXPECT_EQ(ReadBytes(folder / L"a.gif").substr(0, 6), "GIF87a");
    EXPECT_EQ(picture.BitsPerPixel(), 32);
    EXPECT_EQ(testpics::Colors(picture), colours);
    // A BMP afterwards keeps the picture's own depth.
    output::WritePictureFile(picture, folder / L"a.bmp", ftBMP);
    const std::string bmp = ReadBytes(folder / L"a.bmp");
    ASSERT_GT(bmp.size(), 30u);
    EXPECT_EQ(static_cast<std::uint8_t>(bmp[28]), 32);
}
