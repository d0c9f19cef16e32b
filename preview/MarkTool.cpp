#include "preview/MarkTool.h"

#include <algorithm>

#include "markup/MarkHit.h"
#include "markup/MarkRenderer.h"
#include "preview/DrawnMark.h"
#include "win/Gdi.h"

markup::Mark MarkTool::NewMark(markup::MarkKind kind) const
{
    const MarkStyle& style = context_.style;
    markup::Mark mark;
    mark.kind = kind;
    mark.color = style.color & 0xFFFFFF;
    mark.width = context_.Scaled(kWidthLevels[std::clamp(style.widthLevel, 0, 2)]);
    mark.fontSize = style.fontPoints * context_.dpi / 72.0;
    mark.stepNumber = style.nextStep;
    mark.redact = style.redact;
    if (kind == markup::MarkKind::Redact && style.redact == markup::RedactMode::Fill) mark.color = 0;
    return mark;
}

std::shared_ptr<const Mark> MarkTool::Made(markup::Mark mark) const
{
    return std::make_shared<DrawnMark>(std::move(mark), context_.glyphs);
}

std::vector<markup::Mark> MarkTool::Values() const
{
    std::vector<markup::Mark> values;
    for (const auto& mark : context_.document.State().marks) {
        auto drawn = dynamic_cast<const DrawnMark*>(mark.get());
        values.push_back(drawn ? drawn->Value() : markup::Mark{});
    }
    return values;
}

void MarkTool::DrawOver(HDC dc, const markup::Mark& mark, bool onPaper) const
{
    const Document& document = context_.document;
    markup::PixelRect picture{0, 0, document.Width(), document.Height()};
    markup::PixelRect area = markup::Intersection(markup::MarkBounds(mark, *context_.glyphs), picture);
    if (area.Empty()) return;
    win::Bitmap copy;
    document.RenderArea(ToRect(area), copy);
    if (onPaper) {
        RECT all{0, 0, copy.Width(), copy.Height()};
        ::FillRect(copy.Canvas(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    markup::Raster r = RasterOf(copy, nullptr);
    std::vector<markup::Mark> one{markup::Moved(mark, -area.left, -area.top)};
    markup::RenderMarks(r, one, r.Bounds(), *context_.glyphs);
    ::BitBlt(dc, area.left, area.top, copy.Width(), copy.Height(), copy.Canvas(), 0, 0, SRCCOPY);
}

void MarkTool::DrawHandles(HDC dc, const markup::Mark& mark) const
{
    const int half = static_cast<int>(context_.Scaled(4));
    win::SelectGuard pen(dc, ::GetStockObject(BLACK_PEN));
    win::SelectGuard brush(dc, ::GetStockObject(WHITE_BRUSH));
    for (const markup::Point& p : markup::Handles(mark)) {
        int x = static_cast<int>(p.x), y = static_cast<int>(p.y);
        ::Rectangle(dc, x - half, y - half, x + half + 1, y + half + 1);
    }
}

RECT MarkTool::DrawnArea(const markup::Mark& mark, bool handles) const
{
    RECT area = ToRect(markup::MarkBounds(mark, *context_.glyphs));
    if (!handles) return area;
    const int half = static_cast<int>(context_.Scaled(4)) + 1;
    for (const markup::Point& p : markup::Handles(mark)) {
        const int x = static_cast<int>(p.x), y = static_cast<int>(p.y);
        const RECT square{x - half, y - half, x + half + 1, y + half + 1};
        ::UnionRect(&area, &area, &square);
    }
    return area;
}

void MarkTool::RepaintBoth(const RECT& before, const RECT& now) const
{
    RECT both{};
    ::UnionRect(&both, &before, &now);
    if (context_.repaintArea)
        context_.repaintArea(both);
    else
        context_.repaint();
}
