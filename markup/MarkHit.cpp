#include "markup/MarkHit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "markup/MarkGeometry.h"
#include "markup/TextLayout.h"

namespace markup {
namespace {

double SegmentDistance(Point p, Point a, Point b)
{
    double dx = b.x - a.x, dy = b.y - a.y;
    double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double PolylineDistance(Point p, const std::vector<Point>& points, bool closed)
{
    if (points.empty()) return INFINITY;
    double best = std::hypot(p.x - points[0].x, p.y - points[0].y);
    for (std::size_t i = 1; i < points.size(); ++i)
        best = std::min(best, SegmentDistance(p, points[i - 1], points[i]));
    if (closed) best = std::min(best, SegmentDistance(p, points.back(), points.front()));
    return best;
}

bool InsideBox(Point p, const Box& b, double margin)
{
    return p.x >= b.left - margin && p.x <= b.right + margin && p.y >= b.top - margin &&
           p.y <= b.bottom + margin;
}

double EllipseDistance(Point p, const Box& b)
{
    std::vector<Point> ring;
    double cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
    double rx = (b.right - b.left) / 2, ry = (b.bottom - b.top) / 2;
    for (int i = 0; i < 72; ++i) {
        double a = i * std::numbers::pi / 36;
        ring.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return PolylineDistance(p, ring, true);
}

}  // namespace

bool HitTest(const Mark& mark, Point p, double tolerance, GlyphSource& glyphs)
{
    const std::vector<Point>& pts = mark.points;
    if (pts.empty()) return false;
    double reach = mark.width / 2 + tolerance;
    Box box = BoxOf(pts.front(), pts.back());
    switch (mark.kind) {
    case MarkKind::Arrow:
    case MarkKind::Line: return SegmentDistance(p, pts.front(), pts.back()) <= reach;
    case MarkKind::Rectangle:
        return PolylineDistance(p, {{box.left, box.top}, {box.right, box.top}, {box.right, box.bottom},
                                    {box.left, box.bottom}}, true) <= reach;
    case MarkKind::Ellipse: return EllipseDistance(p, box) <= reach;
    case MarkKind::Pen: return PolylineDistance(p, pts, false) <= reach;
    case MarkKind::Highlighter: return PolylineDistance(p, pts, false) <= HighlighterWidth(mark.width) / 2 + tolerance;
    case MarkKind::Redact: return InsideBox(p, box, tolerance);
    case MarkKind::Step:
        return std::hypot(p.x - pts[0].x, p.y - pts[0].y) <= StepRadius(mark.width) + tolerance;
    case MarkKind::Text: {
        TextLayout layout = LayOutText(mark.text, mark.fontSize, pts[0], glyphs);
        Box text{pts[0].x, pts[0].y, pts[0].x + std::max(layout.width, mark.fontSize / 2),
                 pts[0].y + layout.height};
        return InsideBox(p, text, tolerance);
    }
    }
    return false;
}

int MarkAt(const std::vector<Mark>& marks, Point p, double tolerance, GlyphSource& glyphs)
{
    for (std::size_t i = marks.size(); i-- > 0;)
        if (HitTest(marks[i], p, tolerance, glyphs)) return static_cast<int>(i);
    return -1;
}

std::vector<Point> Handles(const Mark& mark)
{
    const std::vector<Point>& p = mark.points;
    switch (mark.kind) {
    case MarkKind::Arrow:
    case MarkKind::Line:
        if (p.empty()) return {};
        return {p.front(), p.back()};
    case MarkKind::Text:
    case MarkKind::Step: return {};
    default: break;
    }
    Box b = mark.kind == MarkKind::Pen || mark.kind == MarkKind::Highlighter ? BoundsOf(p)
                                                                           : BoxOf(p.front(), p.back());
    double mx = (b.left + b.right) / 2, my = (b.top + b.bottom) / 2;
    return {{b.left, b.top}, {mx, b.top}, {b.right, b.top}, {b.right, my},
            {b.right, b.bottom}, {mx, b.bottom}, {b.left, b.bottom}, {b.left, my}};
}

int HandleAt(const Mark& mark, Point p, double radius)
{
    std::vector<Point> handles = Handles(mark);
    for (std::size_t i = handles.size(); i-- > 0;)
        if (std::abs(p.x - handles[i].x) <= radius && std::abs(p.y - handles[i].y) <= radius)
            return static_cast<int>(i);
    return -1;
}

Point Constrained45(Point from, Point to)
{
    double dx = to.x - from.x, dy = to.y - from.y;
    double length = std::hypot(dx, dy);
    double step = std::numbers::pi / 4;
    double angle = std::round(std::atan2(dy, dx) / step) * step;
    return {from.x + length * std::cos(angle), from.y + length * std::sin(angle)};
}

Point ConstrainedSquare(Point from, Point to)
{
    double side = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
    return {from.x + std::copysign(side, to.x - from.x), from.y + std::copysign(side, to.y - from.y)};
}

Mark DraggedHandle(const Mark& mark, int handle, Point to, bool constrain)
{
    Mark out = mark;
    std::vector<Point> handles = Handles(mark);
    if (handle < 0 || handle >= static_cast<int>(handles.size())) return out;
    if (handles.size() == 2) {
        Point fixed = handle == 0 ? mark.points.back() : mark.points.front();
        Point moved = constrain ? Constrained45(fixed, to) : to;
        out.points = handle == 0 ? std::vector<Point>{moved, fixed} : std::vector<Point>{fixed, moved};
        return Clamped(std::move(out));
    }
    // Box handles: the opposite corner or edge stays where it is.
    Box b{handles[0].x, handles[0].y, handles[4].x, handles[4].y};
    Box n = b;
    bool left = handle == 0 || handle == 6 || handle == 7, right = handle >= 2 && handle <= 4;
    bool top = handle <= 2, bottom = handle >= 4 && handle <= 6;
    if (left) n.left = to.x;
    if (right) n.right = to.x;
    if (top) n.top = to.y;
    if (bottom) n.bottom = to.y;
    if (constrain && handle % 2 == 0) {
        Point anchor{left ? b.right : b.left, top ? b.bottom : b.top};
        Point corner = ConstrainedSquare(anchor, to);
        (left ? n.left : n.right) = corner.x;
        (top ? n.top : n.bottom) = corner.y;
    }
    if (mark.kind == MarkKind::Pen || mark.kind == MarkKind::Highlighter) {
        double sx = b.right > b.left ? (n.right - n.left) / (b.right - b.left) : 1;
        double sy = b.bottom > b.top ? (n.bottom - n.top) / (b.bottom - b.top) : 1;
        for (Point& p : out.points) p = {n.left + (p.x - b.left) * sx, n.top + (p.y - b.top) * sy};
    } else {
        out.points = {{n.left, n.top}, {n.right, n.bottom}};
    }
    return Clamped(std::move(out));
}

}  // namespace markup
