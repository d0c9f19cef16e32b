// The mark renderer natively: a table of marks with the hashes of the pixels
// they give, the redaction's secrecy on random pictures, redrawing an area
// against a full render, and input that must stay bounded.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

#include "BoxGlyphs.h"
#include "markup/MarkHit.h"
#include "markup/MarkRenderer.h"
#include "markup/Redaction.h"

namespace markup {
namespace {

struct Picture {
    Picture(int w, int h, bool withMask = false)
        : pixels(static_cast<std::size_t>(w) * h * 4, 0xFF), mask(withMask ? w * h : 0, 255)
    {
        raster = {pixels.data(), w * 4, w, h, 4, withMask ? mask.data() : nullptr, w};
    }
    std::uint32_t Hash() const
    {
        std::uint32_t h = 2166136261u;
        for (std::uint8_t b : pixels) h = (h ^ b) * 16777619u;
        for (std::uint8_t b : mask) h = (h ^ b) * 16777619u;
        return h;
    }
    std::uint32_t Color(int x, int y) const
    {
        const std::uint8_t* p = raster.Pixel(x, y);
        return p[2] | p[1] << 8 | p[0] << 16;
    }
    std::vector<std::uint8_t> pixels, mask;
    Raster raster;
};

Mark Make(MarkKind kind, std::vector<Point> points, std::uint32_t color = 0x0000FF, double width = 4)
{
    Mark m;
    m.kind = kind;
    m.points = std::move(points);
    m.color = color;
    m.width = width;
    return m;
}

void RenderAll(Picture& p, const std::vector<Mark>& marks)
{
    testing::BoxGlyphs glyphs;
    RenderMarks(p.raster, marks, p.raster.Bounds(), glyphs);
}

TEST(MarkRenderer, EachKindPaintsItsShapeWithTheSamePixelsEveryRun)
{
    Mark text = Make(MarkKind::Text, {{20, 20}}, 0x00FF00);
    text.text = L"Hi\nyo";
    text.fontSize = 30;
    Mark step = Make(MarkKind::Step, {{60, 60}}, 0xFF0000);
    step.stepNumber = 7;
    Mark fill = Make(MarkKind::Redact, {{30, 30}, {90, 80}}, 0x000000);
    fill.redact = RedactMode::Fill;
    struct Row {
        Mark mark;
        Point inked;   // fully in the mark's colour
        Point clear;   // untouched white
        std::uint32_t hash;
    } rows[] = {
        {Make(MarkKind::Line, {{10, 10}, {110, 90}}), {60, 50}, {100, 20}, 3283955233u},
        {Make(MarkKind::Arrow, {{10, 80}, {110, 20}}, 0x0000FF, 6), {97, 27}, {20, 20}, 2255092287u},
        {Make(MarkKind::Rectangle, {{20, 20}, {100, 80}}), {20, 50}, {60, 50}, 4162219525u},
        {Make(MarkKind::Ellipse, {{20, 20}, {100, 80}}), {60, 20}, {60, 50}, 3042325689u},
        {Make(MarkKind::Pen, {{10, 10}, {40, 60}, {70, 10}, {100, 60}}), {10, 10}, {100, 10}, 250753733u},
        {Make(MarkKind::Highlighter, {{10, 50}, {110, 50}}, 0x00FFFF), {60, 50}, {60, 10}, 2893201127u},
        {text, {22, 30}, {60, 80}, 4146103621u},
        {step, {50, 60}, {100, 90}, 2620575149u},
        {fill, {60, 55}, {10, 10}, 1883087461u},
    };
    for (const Row& row : rows) {
        Picture a(120, 100), b(120, 100);
        RenderAll(a, {row.mark});
        RenderAll(b, {row.mark});
        SCOPED_TRACE(static_cast<int>(row.mark.kind));
        EXPECT_EQ(a.Hash(), b.Hash());
        EXPECT_EQ(a.Color(static_cast<int>(row.inked.x), static_cast<int>(row.inked.y)), row.mark.color);
        EXPECT_EQ(a.Color(static_cast<int>(row.clear.x), static_cast<int>(row.clear.y)), 0xFFFFFFu);
        EXPECT_EQ(a.Hash(), row.hash);
    }
}


void Scribble(Picture& p, std::mt19937& random)
{
    for (std::uint8_t& b : p.pixels) b = static_cast<std::uint8_t>(random());
}

Mark RandomMark(std::mt19937& random, int w, int h)
{
    auto coord = [&](int limit) { return std::uniform_real_distribution<double>(-20, limit + 20)(random); };
    static const MarkKind kinds[] = {MarkKind::Arrow, MarkKind::Line, MarkKind::Rectangle, MarkKind::Ellipse,
                                     MarkKind::Pen, MarkKind::Highlighter, MarkKind::Text, MarkKind::Step,
                                     MarkKind::Redact};
    Mark m = Make(kinds[random() % 9], {{coord(w), coord(h)}, {coord(w), coord(h)}, {coord(w), coord(h)}},
                  random() & 0xFFFFFF, 1 + random() % 12);
    m.text = L"ab c";
    m.fontSize = 8 + random() % 30;
    m.redact = random() % 2 ? RedactMode::Pixelate : RedactMode::Fill;
    return m;
}

// Two random pictures that differ only inside a redaction give the same pixels
// there, with other marks around and under it.
TEST(MarkRenderer, RedactionKeepsNothingOfWhatWasInside)
{
    std::mt19937 random(23);
    for (int round = 0; round < 60; ++round) {
        Picture a(97, 61), b(97, 61);
        Scribble(a, random);
        b.pixels = a.pixels;
        std::vector<Mark> marks{RandomMark(random, 97, 61), RandomMark(random, 97, 61)};
        Mark redaction = RandomMark(random, 97, 61);
        redaction.kind = MarkKind::Redact;
        marks.insert(marks.begin() + random() % 3, redaction);
        PixelRect inside = Intersection(RedactionArea(redaction), a.raster.Bounds());
        for (int y = inside.top; y < inside.bottom; ++y)
            for (int x = inside.left; x < inside.right; ++x) b.raster.Pixel(x, y)[random() % 3] ^= 0x5A;
        RenderAll(a, marks);
        RenderAll(b, marks);
        EXPECT_EQ(a.Hash(), b.Hash()) << "round " << round;
    }
}

// Redrawing only the area AreaToRender gives, from the unmarked picture, gives
// what a full render gives; a shaped picture stays clear outside its marks.
TEST(MarkRenderer, RedrawnAreaMatchesAFullRender)
{
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        Picture base(120, 90, true);
        Scribble(base, random);
        for (std::size_t i = 0; i < base.mask.size(); ++i) base.mask[i] = i % 120 < 60 ? 0 : 255;
        std::vector<Mark> marks;
        for (int i = 0; i < 6; ++i) marks.push_back(RandomMark(random, 120, 90));
        Picture before = base, after = base;
        before.raster = {before.pixels.data(), 480, 120, 90, 4, before.mask.data(), 120};
        after.raster = {after.pixels.data(), 480, 120, 90, 4, after.mask.data(), 120};
        RenderAll(before, marks);
        testing::BoxGlyphs glyphs;
        std::size_t moved = random() % marks.size();
        PixelRect changed = MarkBounds(marks[moved], glyphs);
        marks[moved] = Moved(marks[moved], 9, -5);
        changed = Union(changed, MarkBounds(marks[moved], glyphs));
        PixelRect area = AreaToRender(marks, changed, before.raster.Bounds());
        CopyArea(base.raster, before.raster, area);
        RenderMarks(before.raster, marks, area, glyphs);
        RenderAll(after, marks);
        ASSERT_EQ(before.pixels, after.pixels) << "round " << round;
        ASSERT_EQ(before.mask, after.mask) << "round " << round;
    }
    Picture round(50, 50, true);
    std::fill(round.mask.begin(), round.mask.end(), 0);
    RenderAll(round, {Make(MarkKind::Line, {{5, 5}, {20, 5}})});
    EXPECT_EQ(round.mask[5 * 50 + 10], 255);
    EXPECT_EQ(round.mask[30 * 50 + 30], 0);
}

// A 100,000-point stroke, 10,000 letters and marks far outside the picture are
// clamped and thinned and render in bounded time.
TEST(MarkRenderer, HugeInputStaysBounded)
{
    Mark pen = Make(MarkKind::Pen, {});
    for (int i = 0; i < 100000; ++i) pen.points.push_back({i % 640 * 1.0, (i / 640) * 3.0});
    Mark text = Make(MarkKind::Text, {{5, 5}});
    text.text.assign(12000, L'x');
    text.fontSize = 1e9;
    Mark far = Make(MarkKind::Ellipse, {{-1e12, -1e12}, {1e15, 3}}, 0xFF, 1e6);
    auto start = std::chrono::steady_clock::now();
    std::vector<Mark> marks{Clamped(pen), Clamped(text), Clamped(far)};
    EXPECT_LE(marks[0].points.size(), kMaxStrokePoints);
    EXPECT_EQ(marks[1].text.size(), kMaxTextLength);
    EXPECT_EQ(marks[1].fontSize, kMaxFontSize);
    EXPECT_EQ(marks[2].width, kMaxWidth);
    Picture p(640, 480);
    RenderAll(p, marks);
    testing::BoxGlyphs glyphs;
    EXPECT_EQ(MarkAt(marks, {-5000, -5000}, 3, glyphs), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

}  // namespace
}  // namespace markup
