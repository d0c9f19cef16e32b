// A mark drawn over the picture (an arrow, a box, a text): a plain value that
// the document keeps in its edits and draws after the pixels and before the
// date stamp. The markup tools define the kinds; the document only keeps,
// moves and draws them. A mark never changes once made: an edit that changes
// one puts a new value in its place, so the history shares the old one.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "win/AlphaMask.h"
#include "win/Bitmap.h"

// A map of picture points: a quarter turn or a mirror of the whole picture
// followed by a shift, in whole pixels. A geometric edit hands one to every
// mark, so the marks stay on what they point at. (x, y) goes to
// (xx * x + xy * y + dx, yx * x + yy * y + dy).
struct PointMap {
    int xx = 1, xy = 0, dx = 0;
    int yx = 0, yy = 1, dy = 0;

    POINT operator()(POINT p) const noexcept
    {
        return {xx * p.x + xy * p.y + dx, yx * p.x + yy * p.y + dy};
    }
    // The bounding rectangle of r's image, [left, right) x [top, bottom).
    RECT Rect(const RECT& r) const noexcept;
};

class Mark {
public:
    virtual ~Mark() = default;

    // The pixels the mark may touch, in picture coordinates.
    virtual RECT Bounds() const = 0;
    // Draws the mark on target, whose pixel (0, 0) is the picture's pixel origin.
    virtual void Draw(win::Bitmap& target, POINT origin) const = 0;
    // The same mark with its points moved by map (a turn, a mirror or a crop).
    virtual std::shared_ptr<const Mark> Moved(const PointMap& map) const = 0;
};

// Draws marks in order on target and makes its see-through mask (aligned with
// target; empty when all is solid) solid where they cover it. The markup
// tools' marks are drawn together, so a redaction reads nothing another hides.
void DrawMarks(const std::vector<std::shared_ptr<const Mark>>& marks, win::Bitmap& target, win::AlphaMask& mask);
// The same, changing only the pixels inside area, which must come from
// MarksAreaToRender: they come out as in a drawing of the whole.
void DrawMarks(const std::vector<std::shared_ptr<const Mark>>& marks, win::Bitmap& target, win::AlphaMask& mask,
               const RECT& area);
// The area to draw again when the marks changed inside area: grown to every
// redaction that it or its border touches (a redaction's pixels come from
// that border), clipped to picture. False when the marks can only be drawn
// whole (a mark not of the markup tools).
bool MarksAreaToRender(const std::vector<std::shared_ptr<const Mark>>& marks, const RECT& picture, RECT& area);
