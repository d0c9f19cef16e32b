#include "markup/MarkGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "agg_array.h"
#include "agg_ellipse.h"
#include "agg_math_stroke.h"
#include "agg_vertex_sequence.h"
#include "markup/TextLayout.h"

namespace markup {
namespace {

using VertexBuffer = agg::pod_bvector<agg::point_d, 6>;

std::vector<agg::vertex_dist> DistinctVertices(const std::vector<Point>& points, bool closed)
{
    std::vector<agg::vertex_dist> v;
    v.reserve(points.size());
    for (const Point& p : points) {
        if (!v.empty() && std::hypot(p.x - v.back().x, p.y - v.back().y) <= agg::vertex_dist_epsilon)
            continue;
        v.emplace_back(p.x, p.y);
    }
    if (closed)
        while (v.size() > 1 && std::hypot(v.front().x - v.back().x, v.front().y - v.back().y) <=
                                   agg::vertex_dist_epsilon)
            v.pop_back();
    for (std::size_t i = 0; i < v.size(); ++i) {
        const agg::vertex_dist& next = v[(i + 1) % v.size()];
        v[i].dist = std::hypot(next.x - v[i].x, next.y - v[i].y);
    }
    return v;
}

void Append(Contour& contour, const VertexBuffer& vertices)
{
    for (unsigned i = 0; i < vertices.size(); ++i) contour.push_back({vertices[i].x, vertices[i].y});
}

Contour EllipseContour(double cx, double cy, double rx, double ry)
{
    Contour c;
    agg::ellipse e(cx, cy, rx, ry);
    double x = 0, y = 0;
    for (unsigned cmd = e.vertex(&x, &y); !agg::is_stop(cmd); cmd = e.vertex(&x, &y))
        if (agg::is_vertex(cmd)) c.push_back({x, y});
    return c;
}

Contour Circle(Point centre, double radius) { return EllipseContour(centre.x, centre.y, radius, radius); }

agg::math_stroke<VertexBuffer> Stroker(double width, bool round)
{
    agg::math_stroke<VertexBuffer> stroker;
    stroker.width(width);
    stroker.line_cap(round ? agg::round_cap : agg::butt_cap);
    stroker.line_join(round ? agg::round_join : agg::miter_join);
    stroker.inner_join(agg::inner_round);
    return stroker;
}

// A line from a to b ending in a filled triangle at b.
Outline ArrowOutline(Point a, Point b, double width)
{
    double length = std::hypot(b.x - a.x, b.y - a.y);
    double head = std::min(ArrowHeadLength(width), length);
    if (length < 1e-9) return {Circle(a, width / 2)};
    double ux = (b.x - a.x) / length, uy = (b.y - a.y) / length;
    Point base{b.x - ux * head, b.y - uy * head};
    double half = head * 0.5;
    // The shaft stops inside the head, so its end never shows past the sides.
    Point shaftEnd{b.x - ux * head * 0.6, b.y - uy * head * 0.6};
    Outline outline;
    if (length - head * 0.6 > 1e-6) outline = StrokeOpen({a, shaftEnd}, width, true);
    outline.push_back({b, {base.x - uy * half, base.y + ux * half}, {base.x + uy * half, base.y - ux * half}});
    return outline;
}

}  // namespace

Box BoxOf(const Point& a, const Point& b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

Box BoundsOf(const std::vector<Point>& points)
{
    if (points.empty()) return {0, 0, 0, 0};
    Box box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : points) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    return box;
}

double HighlighterWidth(double width) { return width * 4; }
double ArrowHeadLength(double width) { return width * 4 + 6; }
double StepRadius(double width) { return width * 2.5 + 8; }

Outline StrokeOpen(const std::vector<Point>& points, double width, bool round)
{
    std::vector<agg::vertex_dist> v = DistinctVertices(points, false);
    if (v.empty()) return {};
    if (v.size() == 1) return {Circle({v[0].x, v[0].y}, width / 2)};
    agg::math_stroke<VertexBuffer> stroker = Stroker(width, round);
    VertexBuffer out;
    Contour contour;
    std::size_t n = v.size();
    stroker.calc_cap(out, v[0], v[1], v[0].dist);
    Append(contour, out);
    for (std::size_t i = 1; i + 1 < n; ++i) {
        stroker.calc_join(out, v[i - 1], v[i], v[i + 1], v[i - 1].dist, v[i].dist);
        Append(contour, out);
    }
    stroker.calc_cap(out, v[n - 1], v[n - 2], v[n - 2].dist);
    Append(contour, out);
    for (std::size_t i = n - 2; i >= 1; --i) {
        stroker.calc_join(out, v[i + 1], v[i], v[i - 1], v[i].dist, v[i - 1].dist);
        Append(contour, out);
    }
    return {std::move(contour)};
}

Outline StrokeClosed(const std::vector<Point>& points, double width)
{
    std::vector<agg::vertex_dist> v = DistinctVertices(points, true);
    if (v.size() < 3) return StrokeOpen(points, width, false);
    agg::math_stroke<VertexBuffer> stroker = Stroker(width, false);
    VertexBuffer out;
    Contour outer, inner;
    std::size_t n = v.size();
    for (std::size_t i = 0; i < n; ++i) {
        const agg::vertex_dist& prev = v[(i + n - 1) % n];
        stroker.calc_join(out, prev, v[i], v[(i + 1) % n], prev.dist, v[i].dist);
        Append(outer, out);
    }
    for (std::size_t k = n; k-- > 0;) {
        const agg::vertex_dist& prev = v[(k + n - 1) % n];
        stroker.calc_join(out, v[(k + 1) % n], v[k], prev, v[k].dist, prev.dist);
        Append(inner, out);
    }
    return {std::move(outer), std::move(inner)};
}

std::vector<Point> SmoothedStroke(const std::vector<Point>& points)
{
    if (points.size() < 3) return points;
    std::vector<Point> path{points.front()};
    auto mid = [](Point a, Point b) { return Point{(a.x + b.x) / 2, (a.y + b.y) / 2}; };
    Point from = mid(points[0], points[1]);
    path.push_back(from);
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        Point control = points[i], to = mid(points[i], points[i + 1]);
        double length = std::hypot(control.x - from.x, control.y - from.y) +
                        std::hypot(to.x - control.x, to.y - control.y);
        int steps = std::clamp(static_cast<int>(length / 3), 1, 8);
        for (int s = 1; s <= steps; ++s) {
            double t = static_cast<double>(s) / steps, u = 1 - t;
            path.push_back({u * u * from.x + 2 * u * t * control.x + t * t * to.x,
                            u * u * from.y + 2 * u * t * control.y + t * t * to.y});
        }
        from = to;
    }
    path.push_back(points.back());
    return path;
}

Outline TextOutline(const std::wstring& text, double fontSize, Point origin, GlyphSource& glyphs)
{
    TextLayout layout = LayOutText(text, fontSize, origin, glyphs);
    Outline outline;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' || text[i] == L' ') continue;
        Point at{layout.carets[i].x, layout.carets[i].y + layout.ascent};
        for (const Contour& c : glyphs.Glyph(text[i]).contours) {
            Contour placed;
            placed.reserve(c.size());
            for (const Point& p : c) placed.push_back({at.x + p.x * fontSize, at.y + p.y * fontSize});
            outline.push_back(std::move(placed));
        }
    }
    return outline;
}

Outline StepNumberOutline(const Mark& mark, GlyphSource& glyphs)
{
    if (mark.points.empty()) return {};
    std::wstring digits = std::to_wstring(mark.stepNumber);
    double radius = StepRadius(mark.width);
    double size = radius * (digits.size() > 2 ? 0.9 : 1.2);
    TextLayout layout = LayOutText(digits, size, {0, 0}, glyphs);
    Point c = mark.points[0];
    return TextOutline(digits, size, {c.x - layout.width / 2, c.y - layout.height / 2}, glyphs);
}

Outline OutlineOf(const Mark& mark, GlyphSource& glyphs)
{
    const std::vector<Point>& p = mark.points;
    if (p.empty()) return {};
    Point a = p.front(), b = p.back();
    switch (mark.kind) {
    case MarkKind::Arrow: return ArrowOutline(a, b, mark.width);
    case MarkKind::Line: return StrokeOpen({a, b}, mark.width, true);
    case MarkKind::Rectangle: {
        Box r = BoxOf(a, b);
        return StrokeClosed({{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}},
                            mark.width);
    }
    case MarkKind::Ellipse: {
        Box r = BoxOf(a, b);
        return StrokeClosed(EllipseContour((r.left + r.right) / 2, (r.top + r.bottom) / 2, (r.right - r.left) / 2,
                                           (r.bottom - r.top) / 2),
                            mark.width);
    }
    case MarkKind::Pen: return StrokeOpen(SmoothedStroke(p), mark.width, true);
    case MarkKind::Highlighter: return StrokeOpen(SmoothedStroke(p), HighlighterWidth(mark.width), true);
    case MarkKind::Text: return TextOutline(mark.text, mark.fontSize, a, glyphs);
    case MarkKind::Step: return {Circle(a, StepRadius(mark.width))};
    case MarkKind::Redact: break;
    }
    return {};
}

}  // namespace markup
