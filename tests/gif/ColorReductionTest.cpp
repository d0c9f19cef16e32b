// Mapping pictures onto the 216-colour cube.
#include <gtest/gtest.h>

#include "gif/ColorReduction.h"
#include "gif/DitherEngine.h"
#include "gif/GIFException.h"
#include "GifTestSupport.h"

using giftest::Picture;
using giftest::Rgb;

namespace {

struct Mapped {
    int index;
    Rgb colour;
};

Mapped Map(Rgb c)
{
    Picture p(1, 1);
    p.Set(0, 0, c);
    const gif::IndexedBitmap reduced =
        gif::ReduceColorDepth(p.Rows(), gif::redWebCube216, gif::ditNearest, 8, nullptr);
    const int index = reduced.Row(0)[0];
    const gif::TRGBQuad& q = reduced.colorTable[index];
    return {index, {q.red, q.green, q.blue}};
}

void ExpectMapped(Rgb in, int index, Rgb colour)
{
    const Mapped m = Map(in);
    EXPECT_EQ(m.index, index) << int(in.r) << "," << int(in.g) << "," << int(in.b);
    EXPECT_EQ(m.colour.r, colour.r);
    EXPECT_EQ(m.colour.g, colour.g);
    EXPECT_EQ(m.colour.b, colour.b);
}

}  // namespace

TEST(ColorReduction, CubeIndicesOfKnownColours)
{
    ExpectMapped({255, 255, 255}, 215, {255, 255, 255});
    ExpectMapped({0, 0, 0}, 0, {0, 0, 0});
    ExpectMapped({47, 47, 47}, 0, {0, 0, 0});
    ExpectMapped({48, 48, 48}, 43, {51, 51, 51});
    ExpectMapped({128, 128, 128}, 86, {102, 102, 102});
    ExpectMapped({192, 192, 192}, 129, {153, 153, 153});
    ExpectMapped({212, 208, 200}, 171, {204, 204, 153});  // light grey turns yellowish
    ExpectMapped({255, 0, 0}, 180, {255, 0, 0});
    ExpectMapped({0, 0, 255}, 5, {0, 0, 255});
    ExpectMapped({251, 252, 0}, 174, {204, 255, 0});
}

TEST(ColorReduction, LevelsSwitchThreeBelowEachCubeStep)
{
    // (c + 3) / 51, not the nearest level: 25 would still be level 0.
    const int edges[][2] = {{47, 0}, {48, 1}, {98, 1}, {99, 2}, {149, 2},
                            {150, 3}, {200, 3}, {201, 4}, {251, 4}, {252, 5}};
    for (const auto& [value, level] : edges) {
        EXPECT_EQ(Map({0, 0, static_cast<std::uint8_t>(value)}).index, level) << value;
        EXPECT_EQ(Map({0, static_cast<std::uint8_t>(value), 0}).index, 6 * level) << value;
        EXPECT_EQ(Map({static_cast<std::uint8_t>(value), 0, 0}).index, 36 * level) << value;
    }
    EXPECT_EQ(Map({30, 30, 30}).index, 0);
}

TEST(ColorReduction, TableIsTheCubeThenFortyBlackSlots)
{
    // Even a two-colour picture gets the full table and cube indices.
    Picture p(3, 2);
    p.Fill([](int x, int) { return x == 1 ? Rgb{255, 255, 255} : Rgb{128, 128, 128}; });
    const gif::IndexedBitmap reduced =
        gif::ReduceColorDepth(p.Rows(), gif::redWebCube216, gif::ditNearest, 8, nullptr);
    EXPECT_EQ(reduced.bitsPerPixel, 8);
    EXPECT_EQ(reduced.stride, 4);
    EXPECT_EQ(reduced.colorsUsed, 256);
    EXPECT_EQ(reduced.colorsImportant, 216);
    for (int i = 0; i < 256; ++i) {
        const gif::TRGBQuad& q = reduced.colorTable[i];
        const int r = i < 216 ? 51 * (i / 36) : 0, g = i < 216 ? 51 * (i / 6 % 6) : 0,
                  b = i < 216 ? 51 * (i % 6) : 0;
        ASSERT_EQ(q.red, r) << i;
        ASSERT_EQ(q.green, g) << i;
        ASSERT_EQ(q.blue, b) << i;
    }
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(reduced.Row(y)[0], 86);
        EXPECT_EQ(reduced.Row(y)[1], 215);
        EXPECT_EQ(reduced.Row(y)[2], 86);
    }
}

TEST(ColorReduction, EveryPixelByItselfWhateverTheRowDirection)
{
    // 32-bit rows, odd width, random colours; mirrored picture, mirrored indices.
    Picture p = giftest::RandomPicture(37, 9, 3);
    Picture p32(37, 9, 32), mirrored(37, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 37; ++x) {
            p32.Set(x, y, p.Get(x, y));
            mirrored.Set(36 - x, y, p.Get(x, y));
        }
    const auto a = gif::ReduceColorDepth(p32.Rows(), gif::redWebCube216, gif::ditNearest, 8, nullptr);
    const auto m =
        gif::ReduceColorDepth(mirrored.Rows(), gif::redWebCube216, gif::ditNearest, 8, nullptr);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 37; ++x) {
            ASSERT_EQ(a.Row(y)[x], giftest::CubeIndex(p.Get(x, y))) << x << "," << y;
            ASSERT_EQ(m.Row(y)[36 - x], a.Row(y)[x]);
        }
}

TEST(ColorReduction, EngineWalksRowsInAlternatingDirections)
{
    gif::TNetscapeColorLookup lookup;
    EXPECT_EQ(lookup.Colors(), 216);
    gif::TDitherEngine engine(3, lookup);
    std::vector<int> columns;
    for (int row = 0; row < 3; ++row) {
        while (engine.InRow()) {
            columns.push_back(engine.Column());
            engine.Dither(0, 0, 0);
        }
        engine.NextLine();
    }
    EXPECT_EQ(columns, (std::vector<int>{0, 1, 2, 2, 1, 0, 0, 1, 2}));
    std::uint8_t r = 212, g = 208, b = 200;
    EXPECT_EQ(lookup.Lookup(r, g, b), 171);
    EXPECT_EQ(r, 204);
    EXPECT_EQ(g, 204);
    EXPECT_EQ(b, 153);
}

TEST(ColorReduction, UnbuiltChoicesAndBadInputFailLoudly)
{
    Picture p(2, 2);
    auto message = [&](auto&& call) -> std::string {
        try {
            call();
        } catch (const gif::GIFException& e) {
            return e.what();
        }
        return "no exception";
    };
    EXPECT_NE(message([&] { gif::ReduceColorDepth(p.Rows(), gif::redQuantize, gif::ditNearest, 8, nullptr); })
                  .find("redQuantize"),
              std::string::npos);
    EXPECT_NE(message([&] {
                  gif::ReduceColorDepth(p.Rows(), gif::redWebCube216, gif::ditFloydSteinberg, 8, nullptr);
              }).find("ditFloydSteinberg"),
              std::string::npos);
    EXPECT_NE(message([&] {
                  gif::ReduceColorDepth(p.Rows(), static_cast<gif::TReductionMethod>(10),
                                        gif::ditNearest, 8, nullptr);
              }).find("Unknown"),
              std::string::npos);

    Picture p16(2, 2);
    gif::PixelRows rows16 = p16.Rows();
    rows16.bitsPerPixel = 16;
    EXPECT_EQ(message([&] { gif::ReduceColorDepth(rows16, gif::redWebCube216, gif::ditNearest, 8, nullptr); }),
              "Unsupported PixelFormat");

    gif::IndexedBitmap target;
    const gif::TPalette palette = gif::WebCubePalette();
    EXPECT_EQ(message([&] { gif::TDIBWriter(target, 4, 2, 2, palette); }), "Unsupported PixelFormat");
    EXPECT_EQ(message([&] { gif::TDIBWriter(target, 8, 0, 2, palette); }), "Invalid image dimensions");
    gif::TDIBWriter writer(target, 8, 5, 2, palette);
    EXPECT_EQ(target.stride, 8);
    EXPECT_EQ(message([&] { writer.Row(2); }), "Scan line index out of range");
    EXPECT_EQ(message([&] { writer.Row(-1); }), "Scan line index out of range");
    target.pixels.clear();
    EXPECT_EQ(message([&] { writer.Row(0); }), "Image has no DIB");
}
