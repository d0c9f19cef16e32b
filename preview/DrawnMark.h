// The document's marks made by the markup tools: a markup::Mark value drawn by
// the AGG renderer into the picture's own rows, its letters from glyphs.
#pragma once

#include <memory>

#include "markup/GlyphSource.h"
#include "markup/Mark.h"
#include "markup/Raster.h"
#include "preview/Mark.h"

class DrawnMark final : public Mark {
public:
    DrawnMark(markup::Mark value, std::shared_ptr<markup::GlyphSource> glyphs)
        : value_(markup::Clamped(std::move(value))), glyphs_(std::move(glyphs))
    {
    }
    const markup::Mark& Value() const noexcept { return value_; }
    markup::GlyphSource& Glyphs() const noexcept { return *glyphs_; }
    std::shared_ptr<markup::GlyphSource> SharedGlyphs() const { return glyphs_; }

    RECT Bounds() const override;
    void Draw(win::Bitmap& target, POINT origin) const override;
    std::shared_ptr<const Mark> Moved(const PointMap& map) const override;

private:
    markup::Mark value_;
    std::shared_ptr<markup::GlyphSource> glyphs_;
};

// The rows of a 24- or 32-bit bitmap (and its mask, when not null) as the
// renderer takes them.
markup::Raster RasterOf(win::Bitmap& bitmap, win::AlphaMask* mask);
RECT ToRect(const markup::PixelRect& r) noexcept;
markup::PixelRect ToPixelRect(const RECT& r) noexcept;
