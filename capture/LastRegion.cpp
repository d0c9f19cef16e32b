#include "capture/LastRegion.h"

#include <algorithm>

namespace {

POINT Moved(POINT p, LONG dx, LONG dy) { return {p.x + dx, p.y + dy}; }

POINT Clamped(POINT p, LONG width, LONG height)
{
    return {std::clamp<LONG>(p.x, 0, width), std::clamp<LONG>(p.y, 0, height)};
}

}  // namespace

LastRegion RegionOfSelection(const TSelection& selection, const DesktopLayout& layout)
{
    LastRegion region;
    region.selection = selection;
    region.selection.SelStart = Moved(selection.SelStart, layout.bounds.left, layout.bounds.top);
    region.selection.SelEnd = Moved(selection.SelEnd, layout.bounds.left, layout.bounds.top);
    const RECT cut = SelectionRect(selection.ShapeCode, selection.SelStart, selection.SelEnd, layout.primary);
    // Round shapes sit on a frame around the cut.
    const LONG frame = IsRoundShape(selection.ShapeCode) ? 10 : 0;
    region.topLeft = {cut.left + layout.bounds.left - frame, cut.top + layout.bounds.top - frame};
    return region;
}

std::optional<TSelection> SelectionForRegion(const LastRegion& region, const DesktopLayout& layout)
{
    TSelection selection = region.selection;
    if (selection.ShapeCode == scEntireScreen) return selection;
    const LONG width = layout.Width();
    const LONG height = layout.Height();
    POINT start = Moved(selection.SelStart, -layout.bounds.left, -layout.bounds.top);
    POINT end = Moved(selection.SelEnd, -layout.bounds.left, -layout.bounds.top);
    const RECT cut = SelectionRect(selection.ShapeCode, start, end, layout.primary);
    if (cut.right <= 0 || cut.bottom <= 0 || cut.left >= width || cut.top >= height) return std::nullopt;
    selection.SelStart = Clamped(start, width, height);
    selection.SelEnd = Clamped(end, width, height);
    return selection;
}
