// How the document renders a state: the whole picture in one pass over the
// frozen one (after a turn, a mirror, a crop, a colour or a stamp), or, when
// only the marks changed, just the area they changed, in place in the
// current render.
//
// A part rendered again must come out byte for byte as in a whole render, so
// the area grows until nothing outside it can differ: to every redaction
// that it or its border touches (a redaction paints colours taken from the
// pixels just outside it, and pixels inside any redaction are never read),
// and to the whole date stamp with a margin (the stamp is drawn last over
// everything; redrawn only when its whole cell is inside the area, so it is
// never half stale nor drawn twice over itself).
#include <algorithm>

#include "preview/DateText.h"
#include "preview/Document.h"
#include "preview/ViewRender.h"

namespace {

// Pixels around the stamp's cell that its glyphs may still reach.
constexpr int kStampMargin = 2;

bool IsWhole(const View& view, int w, int h) noexcept
{
    return !view.mirrored && view.turns == 0 && view.crop.left == 0 && view.crop.top == 0 &&
           view.crop.right == w && view.crop.bottom == h;
}

bool SameView(const View& a, const View& b) noexcept
{
    return ::EqualRect(&a.crop, &b.crop) && a.mirrored == b.mirrored && a.turns == b.turns;
}

// The stamp state after a render: a picture too small for the stamp keeps
// the state it had.
bool StampShownAfter(StampOutcome outcome, bool before) noexcept
{
    switch (outcome) {
    case StampOutcome::Stamped: return true;
    case StampOutcome::Unstamped: return false;
    case StampOutcome::TooSmall: break;
    }
    return before;
}

bool Contains(const RECT& outer, const RECT& inner) noexcept
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

RECT Document::Show(DocumentState state, std::size_t cursor, std::optional<RECT> marked)
{
    RECT area{};
    if (!marked || !RenderPart(state, *marked, area)) {
        RenderWhole(state);
        area = {0, 0, shown_->Width(), shown_->Height()};
    }
    state_ = std::move(state);
    cursor_ = cursor;
    return area;
}

bool Document::Drawn(const DocumentState& state) const noexcept
{
    const bool recolored = state.background != initial_.background && !mask_.Empty();
    return recolored || !state.marks.empty() || state.dateStamp ||
           !IsWhole(state.view, frozen_.Width(), frozen_.Height());
}

void Document::RenderWhole(const DocumentState& state)
{
    const View& view = state.view;
    const bool drawn = Drawn(state);
    win::Bitmap next;
    win::AlphaMask nextMask;
    StampOutcome outcome = StampOutcome::Unstamped;
    RECT cell{};
    std::wstring text;
    if (drawn) {
        const RECT area{0, 0, view.Width(), view.Height()};
        if (IsWhole(view, frozen_.Width(), frozen_.Height())) {
            // The capture's own depth, as it was composed.
            next.Assign(frozen_);
            nextMask = mask_;
        } else {
            RenderView(frozen_, view.ToFrozen(), area, next);
            nextMask = RenderViewMask(mask_, view.ToFrozen(), area);
        }
        if (state.background != initial_.background) PaintSeeThrough(next, nextMask, state.background);
        DrawMarks(state.marks, next, nextMask);
        if (state.dateStamp) text = TodayStampText();
        outcome = ApplyDateStamp(next, state.dateStamp, &cell, &text);
    } else {
        nextMask = mask_;
        if (frozen_.Width() < kStampMinimumSide && frozen_.Height() < kStampMinimumSide)
            outcome = StampOutcome::TooSmall;
    }
    // Nothing below can fail.
    render_.TakeFrom(next);
    shown_ = drawn ? &render_ : &frozen_;
    viewMask_ = std::move(nextMask);
    stampCell_ = cell;
    stampText_ = std::move(text);
    stampShown_ = StampShownAfter(outcome, stampShown_);
}

bool Document::AreaToRender(const DocumentState& state, const RECT& marked, RECT& area, bool& restamp) const
{
    const RECT picture{0, 0, render_.Width(), render_.Height()};
    RECT stamp{};
    if (!::IsRectEmpty(&stampCell_)) {
        RECT wide = stampCell_;
        ::InflateRect(&wide, kStampMargin, kStampMargin);
        ::IntersectRect(&stamp, &wide, &picture);
    }
    area = marked;
    restamp = false;
    for (;;) {
        if (!MarksAreaToRender(state.marks, picture, area)) return false;
        RECT touched{};
        if (!::IntersectRect(&touched, &area, &stamp)) return true;
        restamp = Contains(area, stamp);
        if (restamp) return true;
        ::UnionRect(&area, &area, &stamp);
    }
}

bool Document::RenderPart(const DocumentState& state, const RECT& marked, RECT& area)
{
    // Only the marks changed, on a render of the same view that exists.
    if (shown_ != &render_ || render_.Empty() || !Drawn(state) || !SameView(state.view, state_.view) ||
        state.background != state_.background || state.dateStamp != state_.dateStamp)
        return false;
    bool restamp = false;
    if (!AreaToRender(state, marked, area, restamp)) return false;
    // A stamp redrawn after midnight would say another date than the rest of it.
    if (restamp && TodayStampText() != stampText_) return false;
    if (::IsRectEmpty(&area)) return true;

    // The area as the whole render has it before the marks: the view's pixels
    // in its colour, and its see-through part.
    const View& view = state.view;
    win::Bitmap base;
    if (IsWhole(view, frozen_.Width(), frozen_.Height()))
        CopyArea(frozen_, area, base);
    else
        RenderView(frozen_, view.ToFrozen(), area, base);
    if (base.BitsPerPixel() != render_.BitsPerPixel()) return false;
    win::AlphaMask baseMask = RenderViewMask(mask_, view.ToFrozen(), area);
    if (state.background != initial_.background) PaintSeeThrough(base, baseMask, state.background);

    // What the area holds now, put back when drawing fails.
    win::Bitmap before;
    CopyArea(render_, area, before);
    const win::AlphaMask beforeMask = RenderViewMask(viewMask_, PointMap{}, area);
    const POINT at{area.left, area.top};
    PutArea(base, render_, at);
    PutArea(baseMask, viewMask_, at);
    try {
        DrawMarks(state.marks, render_, viewMask_, area);
        if (restamp) DrawDateText(5, 5, DateStampFontSize(render_.Width(), render_.Height()), render_, stampText_);
    } catch (...) {
        PutArea(before, render_, at);
        PutArea(beforeMask, viewMask_, at);
        throw;
    }
    return true;
}
