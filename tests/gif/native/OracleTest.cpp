// Files from the writer, read back by decoders we did not write: giflib (the
// library and its gif2rgb tool) and ImageMagick. Every pixel must come back as
// the cube colour of the source pixel.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "GifTestSupport.h"
#include "GiflibDecode.h"
#include "gif/GIFImage.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using giftest::Picture;
using giftest::Rgb;

namespace {

class Oracles : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("tavro-gif-oracle-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // Runs a shell command; false when it did not exit with 0.
    static bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

    static Bytes ReadAll(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    static Bytes ExpectedRgb(const Picture& p)
    {
        Bytes rgb;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const Rgb c = p.Get(x, y);
                for (int level : {giftest::CubeLevel(c.r), giftest::CubeLevel(c.g), giftest::CubeLevel(c.b)})
                    rgb.push_back(static_cast<std::uint8_t>(51 * level));
            }
        return rgb;
    }

    // Saves the picture and checks it with all three decoders.
    void CheckAllDecoders(const Picture& p, const std::string& name)
    {
        SCOPED_TRACE(name);
        const fs::path gifPath = folder_ / (name + ".gif");
        gif::TGIFImage image;
        image.Assign(p.Rows());
        image.SaveToFile(gifPath);
        const Bytes file = ReadAll(gifPath);
        const Bytes expected = ExpectedRgb(p);

        const gifnative::DecodedGif decoded = gifnative::DecodeWithGiflib(file);
        ASSERT_TRUE(decoded.ok) << decoded.error;
        EXPECT_EQ(decoded.imageCount, 1);
        EXPECT_EQ(decoded.screenWidth, p.width);
        EXPECT_EQ(decoded.screenHeight, p.height);
        ASSERT_EQ(decoded.colorCount, 256);
        Bytes viaTable;
        for (std::uint8_t index : decoded.raster)
            viaTable.insert(viaTable.end(), decoded.colors.begin() + 3 * index,
                            decoded.colors.begin() + 3 * index + 3);
        EXPECT_TRUE(viaTable == expected) << "giflib library";

        const fs::path magick = folder_ / (name + ".magick.rgb");
        ASSERT_TRUE(Run("convert '" + gifPath.string() + "' -depth 8 'rgb:" + magick.string() + "'"));
        EXPECT_TRUE(ReadAll(magick) == expected) << "ImageMagick";

        const fs::path identify = folder_ / (name + ".txt");
        ASSERT_TRUE(Run("identify -format '%m %w %h' '" + gifPath.string() + "' > '" +
                        identify.string() + "'"));
        const Bytes said = ReadAll(identify);
        EXPECT_EQ(std::string(said.begin(), said.end()),
                  "GIF " + std::to_string(p.width) + " " + std::to_string(p.height));

        const fs::path giflibRgb = folder_ / (name + ".gif2rgb");
        ASSERT_TRUE(Run("gif2rgb -1 -o '" + giflibRgb.string() + "' '" + gifPath.string() +
                        "' 2>/dev/null"));
        EXPECT_TRUE(ReadAll(giflibRgb) == expected) << "gif2rgb";
    }

    fs::path folder_;
};

// Desktop-like: flat areas, a gradient, window frames and text-like specks.
Picture ScreenLike(int w, int h)
{
    Picture p(w, h);
    p.Fill([&](int x, int y) -> Rgb {
        if (y < h / 10) return {static_cast<std::uint8_t>(x * 255 / w), 80, 160};
        if (x > w / 5 && x < 4 * w / 5 && y > h / 5 && y < 4 * h / 5) {
            if (y < h / 5 + 12) return {0, 84, 227};
            if ((x * 7 + y * 13) % 17 == 0 && (y / 8) % 2 == 0) return {30, 30, 30};
            return {255, 255, 255};
        }
        return {58, 110, 165};
    });
    return p;
}

}  // namespace

TEST_F(Oracles, SmallAndEdgeShapes)
{
    Picture one(1, 1);
    one.Set(0, 0, {212, 208, 200});
    CheckAllDecoders(one, "one");
    CheckAllDecoders(giftest::RandomPicture(3000, 1, 1), "wide");
    CheckAllDecoders(giftest::RandomPicture(1, 2000, 2), "tall");
}

TEST_F(Oracles, EveryCubeBoundaryColour)
{
    // All combinations of values on both sides of each level edge.
    const std::uint8_t values[] = {0, 47, 48, 98, 99, 149, 150, 200, 201, 251, 252, 255};
    Picture p(144, 12);
    p.Fill([&](int x, int y) {
        return Rgb{values[x / 12], values[x % 12], values[y]};
    });
    CheckAllDecoders(p, "boundaries");
}

TEST_F(Oracles, ScreenshotAndNoisePictures)
{
    CheckAllDecoders(ScreenLike(800, 600), "screen");
    CheckAllDecoders(giftest::RandomPicture(257, 131, 3), "noise");
    Picture p32(99, 77, 32);
    const Picture source = giftest::RandomPicture(99, 77, 4);
    for (int y = 0; y < 77; ++y)
        for (int x = 0; x < 99; ++x) p32.Set(x, y, source.Get(x, y));
    CheckAllDecoders(p32, "rows32");
}

TEST_F(Oracles, NoDecoderReadsAFileWithoutAnImage)
{
    // What the picture object writes for an empty picture: a screen with no
    // image. The decoders refuse it, which is why saving an empty bitmap is
    // refused before a file is written.
    gif::TGIFImage image;
    image.Assign(Picture(0, 0).Rows());
    const fs::path path = folder_ / "empty.gif";
    image.SaveToFile(path);
    const gifnative::DecodedGif decoded = gifnative::DecodeWithGiflib(ReadAll(path));
    EXPECT_FALSE(decoded.ok);
    EXPECT_FALSE(Run("identify '" + path.string() + "' >/dev/null 2>&1"));
}
