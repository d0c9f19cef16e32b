#include "markup/MarkRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "agg_rasterizer_scanline_aa.h"
#include "agg_renderer_scanline.h"
#include "agg_scanline_u.h"
#include "markup/MarkGeometry.h"
#include "markup/Redaction.h"

namespace markup {
namespace {

enum class Blend { Normal, Multiply };

int Lerp(int from, int to, int cover) { return from + ((to - from) * cover + (to > from ? 127 : -127)) / 255; }

// AGG's scanline renderer concept: takes each scanline's coverage and blends the
// mark's colour into the raster's pixels and mask.
class SpanBlender {
public:
    SpanBlender(Raster& r, std::uint32_t color, Blend blend, PixelRect clip)
        : r_(r), blend_(blend), clip_(clip)
    {
        color_[0] = (color >> 16) & 0xFF;
        color_[1] = (color >> 8) & 0xFF;
        color_[2] = color & 0xFF;
    }
    void prepare() {}
    template <class Scanline> void render(const Scanline& sl)
    {
        int y = sl.y();
        if (y < clip_.top || y >= clip_.bottom) return;
        auto span = sl.begin();
        for (unsigned n = sl.num_spans(); n > 0; --n, ++span) {
            int x0 = std::max<int>(span->x, clip_.left);
            int x1 = std::min<int>(span->x + span->len, clip_.right);
            for (int x = x0; x < x1; ++x) Paint(x, y, span->covers[x - span->x]);
        }
    }

private:
    void Paint(int x, int y, int cover)
    {
        if (cover == 0) return;
        std::uint8_t* p = r_.Pixel(x, y);
        std::uint8_t* m = r_.MaskAt(x, y);
        int below = m ? *m : 255;
        for (int c = 0; c < 3; ++c) {
            int ink = blend_ == Blend::Multiply ? (p[c] * color_[c] + 127) / 255 : color_[c];
            if (below == 255 || blend_ == Blend::Multiply) {
                p[c] = static_cast<std::uint8_t>(Lerp(p[c], ink, cover));
            } else {
                // Over a see-through pixel the colour is weighted by how solid each part is.
                int under = below * (255 - cover);
                int total = cover * 255 + under;
                p[c] = static_cast<std::uint8_t>((ink * cover * 255 + p[c] * under + total / 2) / total);
            }
        }
        if (m) *m = static_cast<std::uint8_t>(cover + (below * (255 - cover) + 127) / 255);
    }

    Raster& r_;
    int color_[3];
    Blend blend_;
    PixelRect clip_;
};

class Painter {
public:
    Painter(Raster& target, PixelRect area) : target_(target), area_(area)
    {
        // Clipped to the whole picture whatever the area: AGG's coverage at a
        // clip edge depends on where the edge is, and a redrawn area must come
        // out as in a render of the whole picture.
        PixelRect all = target.Bounds();
        rasterizer_.clip_box(all.left, all.top, all.right, all.bottom);
    }
    void Fill(const Outline& outline, std::uint32_t color, Blend blend)
    {
        rasterizer_.reset();
        for (const Contour& c : outline) {
            if (c.size() < 3) continue;
            rasterizer_.move_to_d(c[0].x, c[0].y);
            for (std::size_t i = 1; i < c.size(); ++i) rasterizer_.line_to_d(c[i].x, c[i].y);
            rasterizer_.close_polygon();
        }
        SpanBlender blender(target_, color, blend, area_);
        agg::render_scanlines(rasterizer_, scanline_, blender);
    }

private:
    Raster& target_;
    PixelRect area_;
    agg::rasterizer_scanline_aa<> rasterizer_;
    agg::scanline_u8 scanline_;
};

PixelRect Covering(const Outline& outline)
{
    double l = INFINITY, t = INFINITY, r = -INFINITY, b = -INFINITY;
    for (const Contour& c : outline) {
        for (const Point& p : c) {
            l = std::min(l, p.x);
            t = std::min(t, p.y);
            r = std::max(r, p.x);
            b = std::max(b, p.y);
        }
    }
    if (l > r) return {};
    return {static_cast<int>(std::floor(l)) - 1, static_cast<int>(std::floor(t)) - 1,
            static_cast<int>(std::ceil(r)) + 1, static_cast<int>(std::ceil(b)) + 1};
}

std::uint32_t NumberColor(std::uint32_t disc)
{
    int luma = (299 * (disc & 0xFF) + 587 * ((disc >> 8) & 0xFF) + 114 * ((disc >> 16) & 0xFF)) / 1000;
    return luma > 160 ? 0x000000 : 0xFFFFFF;
}

}  // namespace

void CopyArea(const Raster& source, Raster& target, PixelRect area)
{
    area = Intersection(area, Intersection(source.Bounds(), target.Bounds()));
    if (area.Empty()) return;
    std::size_t bytes = static_cast<std::size_t>(area.right - area.left) * source.bytesPerPixel;
    for (int y = area.top; y < area.bottom; ++y) {
        std::memcpy(target.Pixel(area.left, y), source.Pixel(area.left, y), bytes);
        if (source.mask && target.mask)
            std::memcpy(target.MaskAt(area.left, y), source.MaskAt(area.left, y),
                        static_cast<std::size_t>(area.right - area.left));
    }
}

PixelRect MarkBounds(const Mark& mark, GlyphSource& glyphs)
{
    if (mark.kind == MarkKind::Redact) return RedactionArea(mark);
    return Covering(OutlineOf(mark, glyphs));
}

PixelRect AreaToRender(const std::vector<Mark>& marks, PixelRect changed, PixelRect picture)
{
    PixelRect area = Intersection(changed, picture);
    for (bool grown = true; grown && !area.Empty();) {
        grown = false;
        for (const Mark& mark : marks) {
            if (mark.kind != MarkKind::Redact) continue;
            PixelRect r = RedactionArea(mark);
            PixelRect withBorder = Intersection({r.left - 1, r.top - 1, r.right + 1, r.bottom + 1}, picture);
            if (!Intersects(withBorder, area) || Union(area, withBorder) == area) continue;
            area = Union(area, withBorder);
            grown = true;
        }
    }
    return area;
}

void RenderMarks(Raster& target, const std::vector<Mark>& marks, PixelRect area, GlyphSource& glyphs)
{
    area = Intersection(area, target.Bounds());
    if (area.Empty()) return;
    Painter painter(target, area);
    std::vector<PixelRect> hidden;
    for (const Mark& mark : marks)
        if (mark.kind == MarkKind::Redact) hidden.push_back(RedactionArea(mark));
    for (const Mark& mark : marks) {
        if (mark.kind == MarkKind::Redact) {
            Redact(target, mark, area, hidden);
            continue;
        }
        Outline outline = OutlineOf(mark, glyphs);
        if (!Intersects(Covering(outline), area)) continue;
        painter.Fill(outline, mark.color, mark.kind == MarkKind::Highlighter ? Blend::Multiply : Blend::Normal);
        if (mark.kind == MarkKind::Step) painter.Fill(StepNumberOutline(mark, glyphs), NumberColor(mark.color), Blend::Normal);
    }
}

}  // namespace markup
