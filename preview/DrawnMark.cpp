#include "preview/DrawnMark.h"

#include "markup/MarkRenderer.h"

RECT ToRect(const markup::PixelRect& r) noexcept { return {r.left, r.top, r.right, r.bottom}; }

markup::PixelRect ToPixelRect(const RECT& r) noexcept
{
    return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right), static_cast<int>(r.bottom)};
}

markup::Raster RasterOf(win::Bitmap& bitmap, win::AlphaMask* mask)
{
    if (bitmap.BitsPerPixel() != 24 && bitmap.BitsPerPixel() != 32) bitmap.SetPixelFormat(win::PixelFormat::Bits24);
    ::GdiFlush();
    markup::Raster r{bitmap.Row(0), bitmap.Stride(), bitmap.Width(), bitmap.Height(), bitmap.BitsPerPixel() / 8};
    if (mask && !mask->Empty() && mask->Width() == bitmap.Width() && mask->Height() == bitmap.Height()) {
        r.mask = mask->Row(0);
        r.maskStride = mask->Width();
    }
    return r;
}

RECT DrawnMark::Bounds() const { return ToRect(markup::MarkBounds(value_, *glyphs_)); }

void DrawnMark::Draw(win::Bitmap& target, POINT origin) const
{
    if (target.Empty()) return;
    markup::Raster r = RasterOf(target, nullptr);
    std::vector<markup::Mark> one{markup::Moved(value_, -origin.x, -origin.y)};
    markup::RenderMarks(r, one, r.Bounds(), *glyphs_);
}

std::shared_ptr<const Mark> DrawnMark::Moved(const PointMap& map) const
{
    // The map takes pixel indices; a mark's points are positions, so they are
    // mapped as the centres of pixels are.
    markup::AffineMap m{static_cast<double>(map.xx), static_cast<double>(map.xy), 0,
                        static_cast<double>(map.yx), static_cast<double>(map.yy), 0};
    m.c = map.dx + 0.5 - 0.5 * (map.xx + map.xy);
    m.f = map.dy + 0.5 - 0.5 * (map.yx + map.yy);
    return std::make_shared<DrawnMark>(markup::Mapped(value_, m), glyphs_);
}

namespace {

// The marks as the renderer takes them; false when one is not the markup tools'.
bool ValuesOf(const std::vector<std::shared_ptr<const Mark>>& marks, std::vector<markup::Mark>& values,
              markup::GlyphSource*& glyphs)
{
    values.reserve(marks.size());
    for (const auto& mark : marks) {
        auto drawn = dynamic_cast<const DrawnMark*>(mark.get());
        if (!drawn) return false;
        values.push_back(drawn->Value());
        glyphs = &drawn->Glyphs();
    }
    return true;
}

}  // namespace

void DrawMarks(const std::vector<std::shared_ptr<const Mark>>& marks, win::Bitmap& target, win::AlphaMask& mask)
{
    DrawMarks(marks, target, mask, RECT{0, 0, target.Width(), target.Height()});
}

void DrawMarks(const std::vector<std::shared_ptr<const Mark>>& marks, win::Bitmap& target, win::AlphaMask& mask,
               const RECT& area)
{
    if (marks.empty() || target.Empty()) return;
    std::vector<markup::Mark> values;
    markup::GlyphSource* glyphs = nullptr;
    if (!ValuesOf(marks, values, glyphs)) {
        for (const auto& each : marks) each->Draw(target, {0, 0});
        return;
    }
    markup::Raster r = RasterOf(target, &mask);
    markup::RenderMarks(r, values, ToPixelRect(area), *glyphs);
}

bool MarksAreaToRender(const std::vector<std::shared_ptr<const Mark>>& marks, const RECT& picture, RECT& area)
{
    std::vector<markup::Mark> values;
    markup::GlyphSource* glyphs = nullptr;
    if (!ValuesOf(marks, values, glyphs)) return false;
    area = ToRect(markup::AreaToRender(values, ToPixelRect(area), ToPixelRect(picture)));
    return true;
}
