// The mark renderer on a 3840 x 2160 picture holding 200 marks: a full render,
// and dragging one mark with only the changed area redrawn (median and 95th
// percentile per step). The peer is one copy of the whole picture in the same
// run, the least a full redraw must cost.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "BoxGlyphs.h"
#include "markup/MarkRenderer.h"

using namespace markup;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kWidth = 3840, kHeight = 2160;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Percentile(std::vector<double> v, double q)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(q * (v.size() - 1) + 0.5))];
}

std::vector<Mark> Marks(std::mt19937& random)
{
    static const MarkKind kinds[] = {MarkKind::Arrow, MarkKind::Line, MarkKind::Rectangle, MarkKind::Ellipse,
                                     MarkKind::Pen, MarkKind::Highlighter, MarkKind::Text, MarkKind::Step,
                                     MarkKind::Redact};
    std::uniform_real_distribution<double> x(0, kWidth), y(0, kHeight), size(40, 500);
    std::vector<Mark> marks;
    for (int i = 0; i < 200; ++i) {
        Mark m;
        m.kind = kinds[i % 9];
        m.color = random() & 0xFFFFFF;
        m.width = 2 + random() % 12;
        Point a{x(random), y(random)};
        m.points = {a, {a.x + size(random), a.y + size(random) / 2}};
        if (m.kind == MarkKind::Pen || m.kind == MarkKind::Highlighter) {
            m.points.clear();
            for (int k = 0; k < 300; ++k) m.points.push_back({a.x + k * 1.5, a.y + 60 * std::sin(k / 20.0)});
        }
        m.text = L"Step two: press the button";
        m.fontSize = 24 + random() % 40;
        m.stepNumber = i;
        marks.push_back(m);
    }
    return marks;
}

}  // namespace

int main()
{
    std::mt19937 random(200);
    std::vector<std::uint8_t> basePixels(static_cast<std::size_t>(kWidth) * kHeight * 4);
    for (std::size_t i = 0; i < basePixels.size(); ++i) basePixels[i] = static_cast<std::uint8_t>(i * 7 / 4096);
    std::vector<std::uint8_t> pixels = basePixels;
    Raster base{basePixels.data(), kWidth * 4, kWidth, kHeight, 4, nullptr, 0};
    Raster target{pixels.data(), kWidth * 4, kWidth, kHeight, 4, nullptr, 0};
    testing::BoxGlyphs glyphs;
    std::vector<Mark> marks = Marks(random);

    std::vector<double> copies, full;
    for (int round = 0; round < 15; ++round) {
        auto t0 = Clock::now();
        std::memcpy(pixels.data(), basePixels.data(), pixels.size());
        auto t1 = Clock::now();
        RenderMarks(target, marks, target.Bounds(), glyphs);
        auto t2 = Clock::now();
        copies.push_back(Ms(t1 - t0));
        full.push_back(Ms(t2 - t0));
    }

    std::vector<double> steps;
    std::size_t dragged = 101;  // a rectangle
    for (int step = 0; step < 300; ++step) {
        auto t0 = Clock::now();
        PixelRect changed = MarkBounds(marks[dragged], glyphs);
        marks[dragged] = Moved(marks[dragged], 4, step % 2 ? 3 : -2);
        changed = Union(changed, MarkBounds(marks[dragged], glyphs));
        PixelRect area = AreaToRender(marks, changed, target.Bounds());
        CopyArea(base, target, area);
        RenderMarks(target, marks, area, glyphs);
        steps.push_back(Ms(Clock::now() - t0));
    }

    double copy = Percentile(copies, 0.5);
    std::printf("markup renderer, %d x %d, %zu marks\n", kWidth, kHeight, marks.size());
    std::printf("  whole-picture copy (peer)      median %7.2f ms\n", copy);
    std::printf("  full render (copy + marks)     median %7.2f ms  (%.1fx the copy; goal <= 100 ms)\n",
                Percentile(full, 0.5), Percentile(full, 0.5) / copy);
    std::printf("  drag one mark, changed area    median %7.2f ms  p95 %7.2f ms  (goal p95 <= 16 ms)\n",
                Percentile(steps, 0.5), Percentile(steps, 0.95));
    return 0;
}
