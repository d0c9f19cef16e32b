#include "markup/Mark.h"

#include <algorithm>
#include <cmath>

namespace markup {

PixelRect Union(const PixelRect& a, const PixelRect& b) noexcept
{
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

PixelRect Intersection(const PixelRect& a, const PixelRect& b) noexcept
{
    PixelRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
    return r.Empty() ? PixelRect{} : r;
}

bool Intersects(const PixelRect& a, const PixelRect& b) noexcept
{
    return !Intersection(a, b).Empty();
}

std::vector<Point> ThinPoints(const std::vector<Point>& points, double minDistance,
                              std::size_t maxPoints)
{
    std::vector<Point> kept;
    kept.reserve(std::min(points.size(), maxPoints));
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Point& p = points[i];
        bool last = i + 1 == points.size();
        if (!kept.empty() && !last &&
            std::hypot(p.x - kept.back().x, p.y - kept.back().y) < minDistance)
            continue;
        kept.push_back(p);
    }
    if (maxPoints >= 2 && kept.size() > maxPoints) {
        std::size_t step = (kept.size() + maxPoints - 2) / (maxPoints - 1);
        std::vector<Point> fewer;
        for (std::size_t i = 0; i + 1 < kept.size(); i += step) fewer.push_back(kept[i]);
        fewer.push_back(kept.back());
        kept = std::move(fewer);
    }
    return kept;
}

Mark Clamped(Mark mark)
{
    mark.width = std::clamp(std::isfinite(mark.width) ? mark.width : kMinWidth, kMinWidth, kMaxWidth);
    mark.fontSize = std::clamp(std::isfinite(mark.fontSize) ? mark.fontSize : kMinFontSize,
                               kMinFontSize, kMaxFontSize);
    mark.stepNumber = std::clamp(mark.stepNumber, 0, kMaxStepNumber);
    if (mark.text.size() > kMaxTextLength) mark.text.resize(kMaxTextLength);
    for (Point& p : mark.points) {
        if (!std::isfinite(p.x)) p.x = 0;
        if (!std::isfinite(p.y)) p.y = 0;
        p.x = std::clamp(p.x, -kCoordinateLimit, kCoordinateLimit);
        p.y = std::clamp(p.y, -kCoordinateLimit, kCoordinateLimit);
    }
    if (mark.points.size() > kMaxStrokePoints) mark.points = ThinPoints(mark.points, 0, kMaxStrokePoints);
    return mark;
}

Mark Moved(Mark mark, double dx, double dy)
{
    for (Point& p : mark.points) {
        p.x += dx;
        p.y += dy;
    }
    return Clamped(std::move(mark));
}

Mark Mapped(Mark mark, const AffineMap& m)
{
    for (Point& p : mark.points)
        p = {m.a * p.x + m.b * p.y + m.c, m.d * p.x + m.e * p.y + m.f};
    return Clamped(std::move(mark));
}

}  // namespace markup
