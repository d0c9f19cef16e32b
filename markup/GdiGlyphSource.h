// Letters for text marks from a Windows font: GetGlyphOutlineW's unhinted
// outlines, flattened and scaled to ems, cached per character. Outlines (not
// GDI's drawn letters) go through the same anti-aliasing rasteriser as every
// other mark, so text looks and tests the same as the shapes.
#pragma once
#include <windows.h>

#include <string>
#include <unordered_map>

#include "markup/GlyphSource.h"
#include "win/UniqueHandle.h"

namespace markup {

class GdiGlyphSource final : public GlyphSource {
public:
    // face: a font's face name; empty takes the system's message font.
    explicit GdiGlyphSource(const std::wstring& face = L"");
    const GlyphOutline& Glyph(wchar_t ch) override;
    double Ascent() const override { return ascent_; }
    double LineHeight() const override { return lineHeight_; }

private:
    GlyphOutline Read(wchar_t ch);
    win::UniqueMemoryDC dc_;
    win::UniqueFont font_;
    double ascent_ = 0.8;
    double lineHeight_ = 1.2;
    std::unordered_map<wchar_t, GlyphOutline> cache_;
};

}  // namespace markup
