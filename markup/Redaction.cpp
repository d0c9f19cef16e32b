#include "markup/Redaction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "markup/MarkGeometry.h"

namespace markup {
namespace {

using Color = std::array<int, 3>;  // B, G, R

bool Hidden(int x, int y, const std::vector<PixelRect>& hidden)
{
    for (const PixelRect& r : hidden)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
}

// The mean colour of the border pixels along one side of the area, over any
// stretch of it; pixels outside the picture or inside any redaction do not
// count, so no redaction ever reads what another one hides.
class BorderSide {
public:
    BorderSide(const Raster& r, bool horizontal, int line, int lo, int hi, const std::vector<PixelRect>& hidden)
        : sums_(static_cast<std::size_t>(hi - lo + 1), {0, 0, 0, 0})
    {
        int limit = horizontal ? r.height : r.width;
        for (int i = lo; i < hi; ++i) {
            int x = horizontal ? i : line, y = horizontal ? line : i;
            sums_[i - lo + 1] = sums_[i - lo];
            if (line < 0 || line >= limit || Hidden(x, y, hidden)) continue;
            const std::uint8_t* p = r.Pixel(x, y);
            for (int c = 0; c < 3; ++c) sums_[i - lo + 1][c] += p[c];
            ++sums_[i - lo + 1][3];
        }
    }
    std::optional<Color> Mean(int from, int to) const  // offsets from lo, to exclusive
    {
        long long count = sums_[to][3] - sums_[from][3];
        if (count == 0) return std::nullopt;
        Color mean;
        for (int c = 0; c < 3; ++c) mean[c] = static_cast<int>((sums_[to][c] - sums_[from][c]) / count);
        return mean;
    }

private:
    std::vector<std::array<long long, 4>> sums_;  // running B, G, R sums and count
};

// Linear blend of two optional sides at t (0 at a, 1 at b).
std::optional<Color> Blend(std::optional<Color> a, std::optional<Color> b, double t)
{
    if (!a) return b;
    if (!b) return a;
    Color c;
    for (int i = 0; i < 3; ++i) c[i] = static_cast<int>(std::lround((*a)[i] * (1 - t) + (*b)[i] * t));
    return c;
}

void PaintBlock(Raster& r, PixelRect block, Color color)
{
    for (int y = block.top; y < block.bottom; ++y) {
        for (int x = block.left; x < block.right; ++x) {
            std::uint8_t* p = r.Pixel(x, y);
            for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(color[c]);
        }
    }
}

}  // namespace

PixelRect RedactionArea(const Mark& mark)
{
    if (mark.points.empty()) return {};
    Box box = BoxOf(mark.points.front(), mark.points.back());
    return {static_cast<int>(std::floor(box.left)), static_cast<int>(std::floor(box.top)),
            static_cast<int>(std::ceil(box.right)), static_cast<int>(std::ceil(box.bottom))};
}

int RedactionBlock(double width) { return std::clamp(static_cast<int>(std::lround(width * 3)), 4, 64); }

void Redact(Raster& target, const Mark& mark, PixelRect clip, const std::vector<PixelRect>& hidden)
{
    PixelRect area = Intersection(RedactionArea(mark), target.Bounds());
    PixelRect painted = Intersection(area, clip);
    if (painted.Empty()) return;
    Color fill{static_cast<int>((mark.color >> 16) & 0xFF), static_cast<int>((mark.color >> 8) & 0xFF),
               static_cast<int>(mark.color & 0xFF)};
    int block = RedactionBlock(mark.width);
    BorderSide top(target, true, area.top - 1, area.left, area.right, hidden);
    BorderSide bottom(target, true, area.bottom, area.left, area.right, hidden);
    BorderSide left(target, false, area.left - 1, area.top, area.bottom, hidden);
    BorderSide right(target, false, area.right, area.top, area.bottom, hidden);
    int w = area.right - area.left, h = area.bottom - area.top;
    // Blocks are laid from the area's corner, so the pattern never depends on clip.
    int firstRow = (painted.top - area.top) / block, firstColumn = (painted.left - area.left) / block;
    for (int by = area.top + firstRow * block; by < painted.bottom; by += block) {
        int y1 = std::min(by + block, area.bottom);
        for (int bx = area.left + firstColumn * block; bx < painted.right; bx += block) {
            int x1 = std::min(bx + block, area.right);
            Color color = fill;
            if (mark.redact == RedactMode::Pixelate) {
                double tx = (bx + x1) / 2.0 - area.left, ty = (by + y1) / 2.0 - area.top;
                auto vertical = Blend(top.Mean(bx - area.left, x1 - area.left),
                                      bottom.Mean(bx - area.left, x1 - area.left), ty / h);
                auto horizontal = Blend(left.Mean(by - area.top, y1 - area.top),
                                        right.Mean(by - area.top, y1 - area.top), tx / w);
                color = Blend(vertical, horizontal, 0.5).value_or(Color{128, 128, 128});
            }
            PaintBlock(target, Intersection({bx, by, x1, y1}, painted), color);
        }
    }
}

}  // namespace markup
