#include "preview/SelectTool.h"

#include "markup/MarkHit.h"
#include "preview/DrawnMark.h"

namespace {

std::optional<markup::Mark> MarkValue(const MarkToolContext& context, int index)
{
    const auto& marks = context.document.State().marks;
    if (index < 0 || index >= static_cast<int>(marks.size())) return std::nullopt;
    auto drawn = dynamic_cast<const DrawnMark*>(marks[index].get());
    if (!drawn) return std::nullopt;
    return drawn->Value();
}

}  // namespace

std::optional<markup::Mark> SelectTool::Selected() const { return MarkValue(context_, context_.selected); }

bool SelectTool::Mouse(UINT message, POINT p, bool shift)
{
    markup::Point at{p.x + 0.5, p.y + 0.5};
    switch (message) {
    case WM_LBUTTONDOWN: {
        std::optional<markup::Mark> selected = Selected();
        handle_ = selected ? markup::HandleAt(*selected, at, context_.Scaled(5)) : -1;
        if (handle_ < 0) {
            context_.selected = markup::MarkAt(Values(), at, context_.Scaled(3), *context_.glyphs);
            selected = Selected();
        }
        dragging_ = selected.has_value();
        start_ = at;
        moved_.reset();
        context_.repaint();
        return true;
    }
    case WM_MOUSEMOVE: {
        std::optional<markup::Mark> selected = Selected();
        if (!dragging_ || !selected) return false;
        // Only where the mark and its handles were and are now.
        const RECT before = DrawnArea(moved_ ? *moved_ : *selected, true);
        moved_ = handle_ >= 0 ? markup::DraggedHandle(*selected, handle_, at, shift)
                              : markup::Moved(*selected, at.x - start_.x, at.y - start_.y);
        RepaintBoth(before, DrawnArea(*moved_, true));
        return true;
    }
    case WM_LBUTTONUP:
        if (!dragging_) return false;
        dragging_ = false;
        if (moved_ && !(*moved_ == *Selected()))
            context_.apply(ChangeMarkEdit(context_.selected, Made(*moved_), handle_ >= 0 ? L"Resize Mark" : L"Move Mark"));
        moved_.reset();
        context_.repaint();
        return true;
    default: return false;
    }
}

bool SelectTool::Key(WPARAM key, bool, bool)
{
    if (key != VK_DELETE || !Selected()) return false;
    int index = context_.selected;
    context_.selected = -1;
    context_.apply(RemoveMarkEdit(index, L"Remove Mark"));
    context_.repaint();
    return true;
}

bool SelectTool::End()
{
    if (dragging_) {
        dragging_ = false;
        moved_.reset();
    } else if (context_.selected >= 0) {
        context_.selected = -1;
    } else {
        return false;
    }
    context_.repaint();
    return true;
}

void SelectTool::Draw(HDC dc) const
{
    if (moved_) DrawOver(dc, *moved_);
    std::optional<markup::Mark> shown = moved_ ? moved_ : Selected();
    if (shown) DrawHandles(dc, *shown);
}

bool RestyleSelected(MarkToolContext& context, bool color, bool width)
{
    std::optional<markup::Mark> mark = MarkValue(context, context.selected);
    if (!mark) return false;
    if (color && mark->kind != markup::MarkKind::Redact) mark->color = context.style.color & 0xFFFFFF;
    if (width) mark->width = context.Scaled(kWidthLevels[context.style.widthLevel]);
    context.apply(ChangeMarkEdit(context.selected, std::make_shared<DrawnMark>(*mark, context.glyphs),
                                 color ? L"Change Color" : L"Change Width"));
    return true;
}

std::unique_ptr<MarkTool> MakeSelectTool(MarkToolContext& context) { return std::make_unique<SelectTool>(context); }
