// Whole files from the picture object: layout, known bytes, versions, errors
// and the sinks underneath.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "gif/GIFException.h"
#include "gif/GIFImage.h"
#include "GifTestSupport.h"

using Bytes = std::vector<std::uint8_t>;
using giftest::Picture;
using giftest::Rgb;

namespace {

Bytes SaveColours(const std::vector<Rgb>& colours)
{
    Picture p(static_cast<int>(colours.size()), 1);
    for (int x = 0; x < p.width; ++x) p.Set(x, 0, colours[x]);
    return giftest::SavePicture(p);
}

std::string Message(const std::function<void()>& call)
{
    try {
        call();
    } catch (const gif::GIFException& e) {
        return e.what();
    }
    return "no exception";
}

}  // namespace

TEST(GIFFile, OnePixelFileLayout)
{
    const Bytes file = SaveColours({{10, 20, 30}});
    ASSERT_EQ(file.size(), 799u);
    const Bytes head{'G', 'I', 'F', '8', '7', 'a', 1, 0, 1, 0, 0x77, 0, 0,
                     0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0x87};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), file.begin()));
    for (int i = 0; i < 256; ++i) {
        const int r = i < 216 ? 51 * (i / 36) : 0, g = i < 216 ? 51 * (i / 6 % 6) : 0,
                  b = i < 216 ? 51 * (i % 6) : 0;
        ASSERT_EQ(file[23 + 3 * i], r) << i;
        ASSERT_EQ(file[24 + 3 * i], g) << i;
        ASSERT_EQ(file[25 + 3 * i], b) << i;
    }
    EXPECT_EQ(giftest::ImageData(file), (Bytes{0x08, 0x04, 0x00, 0x01, 0x04, 0x04, 0x00}));
    EXPECT_EQ(file.back(), 0x3B);
}

TEST(GIFFile, KnownImageDataStreams)
{
    const Rgb blue{0, 0, 255};
    EXPECT_EQ(giftest::ImageData(SaveColours({blue, blue, blue, blue})),
              (Bytes{0x08, 0x06, 0x00, 0x0B, 0x08, 0x2C, 0x10, 0x10, 0x00}));
    // 180, 11, 86, 0
    EXPECT_EQ(giftest::ImageData(SaveColours({{255, 0, 0}, {0, 51, 255}, {128, 128, 128}, {0, 0, 0}})),
              (Bytes{0x08, 0x07, 0x00, 0x69, 0x2D, 0xB0, 0x02, 0x20, 0x20, 0x00}));
}

TEST(GIFFile, EmptyPictureWritesOnlyHeaderAndTrailer)
{
    gif::TGIFImage image;
    Picture empty(0, 0);
    image.Assign(empty.Rows());
    ASSERT_EQ(image.ImageCount(), 1);
    EXPECT_TRUE(image.Image(0).Empty());
    EXPECT_EQ(giftest::Save(image),
              (Bytes{'G', 'I', 'F', '8', '7', 'a', 0, 0, 0, 0, 0x77, 0, 0, 0x3B}));
}

TEST(GIFFile, LongDataIsCutInto255ByteBlocksAndSavesRepeat)
{
    gif::TGIFImage image;
    const Picture p = giftest::RandomPicture(640, 200, 11);
    image.Assign(p.Rows());
    EXPECT_EQ(image.Header().ScreenWidth(), 640);
    EXPECT_EQ(image.Header().ScreenHeight(), 200);
    const Bytes first = giftest::Save(image);
    EXPECT_EQ(giftest::Save(image), first);

    const Bytes data = giftest::ImageData(first);
    std::vector<int> sizes;
    const Bytes stream = giftest::Unblock(data, &sizes);
    ASSERT_GT(sizes.size(), 2u);
    for (std::size_t i = 0; i + 1 < sizes.size(); ++i) ASSERT_EQ(sizes[i], 255);
    EXPECT_GE(sizes.back(), 1);
    const auto decoded = giftest::DecodeCodes(stream, 8);
    ASSERT_EQ(decoded.pixels.size(), 640u * 200u);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_EQ(decoded.pixels[y * 640 + x], giftest::CubeIndex(p.Get(x, y)));
}

TEST(GIFFile, VersionsAndPackedBytesFollowTheTables)
{
    gif::TGIFImage image;
    EXPECT_EQ(Message([&] { giftest::Save(image); }), "Unsupported GIF version");

    image.Assign(Picture(2, 2).Rows());
    gif::TGIFSubImage& sub = image.Image(0);
    // A sorted table needs 89a and sets the image's sort bit.
    sub.ColorMap().SetSorted(true);
    Bytes file = giftest::Save(image);
    EXPECT_EQ(file[4], '9');
    EXPECT_EQ(file[22], 0xA7);

    // A small table: bit size 2, padded to 4 entries in the file.
    sub.ColorMap().Clear();
    std::fill(sub.Data().begin(), sub.Data().end(), std::uint8_t{2});
    sub.ColorMap().Add({1, 2, 3});
    sub.ColorMap().Add({4, 5, 6});
    sub.ColorMap().Add({7, 8, 9});
    file = giftest::Save(image);
    EXPECT_EQ(file[4], '7');
    EXPECT_EQ(file[10], 0x11);
    EXPECT_EQ(file[22], 0x81);
    EXPECT_EQ(Bytes(file.begin() + 23, file.begin() + 35), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0}));
    EXPECT_EQ(file[35], 2);  // minimum code size

    // A global table is written after the screen descriptor and announced.
    image.Header().ColorMap().Add({9, 9, 9});
    file = giftest::Save(image);
    EXPECT_EQ(file[10], 0x91);
    EXPECT_EQ(Bytes(file.begin() + 13, file.begin() + 19), (Bytes{9, 9, 9, 0, 0, 0}));
    EXPECT_EQ(file[19], 0x2C);
}

TEST(GIFFile, CodecErrors)
{
    gif::TGIFColorMap map;
    for (int i = 0; i < 256; ++i) map.Add({});
    EXPECT_EQ(map.BitSize(), 8);
    EXPECT_EQ(Message([&] { map.Add({}); }), "Color table overflow");

    gif::TGIFImage image;
    Picture p(2, 1);
    p.Set(1, 0, {255, 255, 255});
    image.Assign(p.Rows());
    image.Image(0).ColorMap().Clear();
    for (int i = 0; i < 16; ++i) image.Image(0).ColorMap().Add({});
    EXPECT_EQ(Message([&] { giftest::Save(image); }), "Color not in color table");

    gif::TGIFImage other;
    other.SetReductionMethod(gif::redMonochrome);
    EXPECT_NE(Message([&] { other.Assign(p.Rows()); }).find("redMonochrome"), std::string::npos);
    other.SetReductionMethod(gif::redWebCube216);
    other.SetCompressionKind(gif::cmpRLE);
    other.Assign(p.Rows());
    Bytes nothing;
    gif::MemorySink sink(nothing);
    EXPECT_NE(Message([&] { other.SaveToStream(sink); }).find("LZW"), std::string::npos);
    EXPECT_TRUE(nothing.empty());
}

TEST(GIFFile, PicturesAboveTheSizeLimitAreRefusedUntouched)
{
    gif::TGIFImage image;
    image.Assign(Picture(3, 3).Rows());
    gif::PixelRows wide{65536, 1, 24, nullptr, 0};
    const std::string text = Message([&] { image.Assign(wide); });
    EXPECT_NE(text.find("65535"), std::string::npos) << text;
    EXPECT_NE(text.find("65536 x 1"), std::string::npos) << text;
    EXPECT_NE(Message([&] { image.Assign({1, 70000, 24, nullptr, 0}); }).find("65535"), std::string::npos);
    // The picture object still holds the earlier picture.
    EXPECT_EQ(image.ImageCount(), 1);
    EXPECT_EQ(image.Image(0).Width(), 3);
}

namespace {

// Accepts a number of bytes, then fails.
class FailingSink final : public gif::ByteSink {
public:
    explicit FailingSink(std::size_t room) : room_(room) {}
    std::size_t written = 0;
    int calls = 0;

protected:
    bool DoWrite(const std::uint8_t*, std::size_t size, std::string& failure) override
    {
        ++calls;
        if (written + size > room_) {
            failure = "disk full";
            return false;
        }
        written += size;
        return true;
    }

private:
    std::size_t room_;
};

}  // namespace

TEST(GIFFile, FirstWriteFailureStopsTheSaveAndSticks)
{
    gif::TGIFImage image;
    image.Assign(giftest::RandomPicture(100, 100, 5).Rows());
    for (std::size_t room : {0u, 12u, 800u, 2000u}) {
        FailingSink sink(room);
        EXPECT_EQ(Message([&] { image.SaveToStream(sink); }), "disk full") << room;
        EXPECT_TRUE(sink.Failed());
        const int calls = sink.calls;
        EXPECT_FALSE(sink.Put(1));
        EXPECT_EQ(sink.calls, calls);  // refused without trying again
    }
}

TEST(GIFFile, SaveToFileWritesTheStreamBytesOrNothing)
{
    const auto folder = std::filesystem::temp_directory_path() / "tavro-gif-test";
    std::filesystem::create_directories(folder);
    const auto path = folder / "picture.gif";
    gif::TGIFImage image;
    image.Assign(giftest::RandomPicture(50, 40, 9).Rows());
    image.SaveToFile(path);
    std::ifstream in(path, std::ios::binary);
    const Bytes onDisk{std::istreambuf_iterator<char>(in), {}};
    in.close();
    EXPECT_EQ(onDisk, giftest::Save(image));

    // A folder of that name cannot be created as a file: nothing is left behind.
    const auto blocked = folder / "blocked.gif";
    std::filesystem::create_directories(blocked);
    EXPECT_NE(Message([&] { image.SaveToFile(blocked); }).find("Cannot create"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(blocked));

    // No image: refused before a file is created.
    gif::TGIFImage none;
    const auto never = folder / "never.gif";
    EXPECT_EQ(Message([&] { none.SaveToFile(never); }), "Unsupported GIF version");
    EXPECT_FALSE(std::filesystem::exists(never));
    std::filesystem::remove_all(folder);
}
