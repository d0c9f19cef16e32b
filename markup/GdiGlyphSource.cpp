#include "markup/GdiGlyphSource.h"

#include <cmath>
#include <vector>

#include "win/Gdi.h"

namespace markup {
namespace {

constexpr int kDesignHeight = 256;  // the font's em in pixels while reading outlines

double Fixed(FIXED f) { return f.value + f.fract / 65536.0; }

Point Scaled(const POINTFX& p) { return {Fixed(p.x) / kDesignHeight, -Fixed(p.y) / kDesignHeight}; }

void AddQuadratic(std::vector<Point>& contour, Point control, Point to)
{
    Point from = contour.back();
    for (int s = 1; s <= 8; ++s) {
        double t = s / 8.0, u = 1 - t;
        contour.push_back({u * u * from.x + 2 * u * t * control.x + t * t * to.x,
                           u * u * from.y + 2 * u * t * control.y + t * t * to.y});
    }
}

// One TTPOLYGONHEADER's curves: lines as they are, quadratic B-splines as
// curves through the midpoints of their control points.
std::vector<Point> ReadContour(const BYTE* at, const BYTE* end)
{
    auto header = reinterpret_cast<const TTPOLYGONHEADER*>(at);
    std::vector<Point> contour{Scaled(header->pfxStart)};
    for (const BYTE* c = at + sizeof(TTPOLYGONHEADER); c + sizeof(TTPOLYCURVE) - sizeof(POINTFX) <= end;) {
        auto curve = reinterpret_cast<const TTPOLYCURVE*>(c);
        int count = curve->cpfx;
        if (curve->wType == TT_PRIM_QSPLINE) {
            for (int i = 0; i + 1 < count; ++i) {
                Point control = Scaled(curve->apfx[i]), next = Scaled(curve->apfx[i + 1]);
                Point to = i + 2 == count ? next : Point{(control.x + next.x) / 2, (control.y + next.y) / 2};
                AddQuadratic(contour, control, to);
            }
        } else {
            for (int i = 0; i < count; ++i) contour.push_back(Scaled(curve->apfx[i]));
        }
        c += sizeof(TTPOLYCURVE) + (count - 1) * sizeof(POINTFX);
    }
    return contour;
}

}  // namespace

GdiGlyphSource::GdiGlyphSource(const std::wstring& face) : dc_(CreateCompatibleDC(nullptr))
{
    LOGFONTW lf{};
    if (face.empty()) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) lf = metrics.lfMessageFont;
    } else {
        lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    }
    lf.lfHeight = -kDesignHeight;
    lf.lfWidth = 0;
    lf.lfQuality = ANTIALIASED_QUALITY;
    font_.reset(CreateFontIndirectW(&lf));
    if (!dc_ || !font_) return;
    win::SelectGuard select(dc_.get(), font_.get());
    TEXTMETRICW tm{};
    if (GetTextMetricsW(dc_.get(), &tm)) {
        ascent_ = static_cast<double>(tm.tmAscent) / kDesignHeight;
        lineHeight_ = static_cast<double>(tm.tmHeight + tm.tmExternalLeading) / kDesignHeight;
    }
}

const GlyphOutline& GdiGlyphSource::Glyph(wchar_t ch)
{
    auto found = cache_.find(ch);
    if (found != cache_.end()) return found->second;
    return cache_.emplace(ch, Read(ch)).first->second;
}

GlyphOutline GdiGlyphSource::Read(wchar_t ch)
{
    GlyphOutline glyph;
    if (!dc_ || !font_) return glyph;
    if (ch == L'\t') ch = L' ';
    win::SelectGuard select(dc_.get(), font_.get());
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    GLYPHMETRICS metrics{};
    UINT format = GGO_NATIVE | GGO_UNHINTED;
    DWORD size = GetGlyphOutlineW(dc_.get(), ch, format, &metrics, 0, nullptr, &identity);
    if (size == GDI_ERROR) {
        if (GetGlyphOutlineW(dc_.get(), ch, GGO_METRICS, &metrics, 0, nullptr, &identity) != GDI_ERROR)
            glyph.advance = static_cast<double>(metrics.gmCellIncX) / kDesignHeight;
        return glyph;
    }
    glyph.advance = static_cast<double>(metrics.gmCellIncX) / kDesignHeight;
    if (size == 0) return glyph;
    std::vector<BYTE> buffer(size);
    if (GetGlyphOutlineW(dc_.get(), ch, format, &metrics, size, buffer.data(), &identity) == GDI_ERROR)
        return glyph;
    const BYTE* at = buffer.data();
    const BYTE* end = at + size;
    while (at + sizeof(TTPOLYGONHEADER) <= end) {
        auto header = reinterpret_cast<const TTPOLYGONHEADER*>(at);
        if (header->cb < sizeof(TTPOLYGONHEADER) || at + header->cb > end) break;
        glyph.contours.push_back(ReadContour(at, at + header->cb));
        at += header->cb;
    }
    return glyph;
}

}  // namespace markup
