// A mark drawn on the picture: a plain value (kind, points, colour, width,
// text, step number, redaction mode) in picture pixels. Marks are kept apart
// from the picture's pixels and rendered over them on demand (MarkRenderer), so
// they can be selected, changed and undone like any other edit.
//
// When you add a kind, update: MarkKind below, OutlineOf (MarkGeometry.cpp),
// MarkBounds and HitTest (MarkHit.cpp), and the tool that makes it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace markup {

enum class MarkKind : std::uint8_t {
    Arrow, Line, Rectangle, Ellipse, Pen, Highlighter, Text, Step, Redact
};

enum class RedactMode : std::uint8_t { Pixelate, Fill };

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

// Pixels from left/top (inclusive) to right/bottom (exclusive).
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const noexcept { return right <= left || bottom <= top; }
    bool operator==(const PixelRect&) const = default;
};
PixelRect Union(const PixelRect& a, const PixelRect& b) noexcept;
PixelRect Intersection(const PixelRect& a, const PixelRect& b) noexcept;
bool Intersects(const PixelRect& a, const PixelRect& b) noexcept;

// Points by kind: Arrow and Line from the first to the second; Rectangle,
// Ellipse and Redact span the box of their two corners; Pen and Highlighter
// are the stroke's points in order; Text has its top-left corner, Step its
// centre. Colour is 0x00BBGGRR. Width is the stroke's width in picture pixels;
// fontSize the text's em height in picture pixels.
struct Mark {
    MarkKind kind = MarkKind::Line;
    std::vector<Point> points;
    std::uint32_t color = 0x000000FF;
    double width = 4;
    std::wstring text;
    double fontSize = 24;
    int stepNumber = 1;
    RedactMode redact = RedactMode::Pixelate;
    bool operator==(const Mark&) const = default;
};

// Ranges that keep rendering bounded whatever the input.
inline constexpr double kMinWidth = 1, kMaxWidth = 100;
inline constexpr double kMinFontSize = 6, kMaxFontSize = 400;
inline constexpr double kCoordinateLimit = 1 << 20;  // keeps the rasteriser's fixed point in range
inline constexpr std::size_t kMaxStrokePoints = 20000;
inline constexpr std::size_t kMaxTextLength = 10000;
inline constexpr int kMaxStepNumber = 9999;

// The mark with its width, font size, step number and coordinates in range,
// its text cut to kMaxTextLength and a long stroke thinned to kMaxStrokePoints.
Mark Clamped(Mark mark);

// Drops stroke points closer than minDistance to the last one kept (the last
// point always stays), then keeps every n-th point while more than maxPoints.
std::vector<Point> ThinPoints(const std::vector<Point>& points, double minDistance,
                              std::size_t maxPoints);

// Every point of the mark moved by (dx, dy).
Mark Moved(Mark mark, double dx, double dy);

// Every point of the mark mapped by x' = a*x + b*y + c, y' = d*x + e*y + f
// (the picture's quarter turns, mirror and crop). Box kinds keep their two
// corners, so a turned box stays a box.
struct AffineMap {
    double a = 1, b = 0, c = 0, d = 0, e = 1, f = 0;
};
Mark Mapped(Mark mark, const AffineMap& map);

}  // namespace markup
