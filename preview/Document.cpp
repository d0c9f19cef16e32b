#include "preview/Document.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "preview/ViewRender.h"

namespace {

// The maps of a whole picture of w x h pixels (pixel positions, not edges).
PointMap ClockwiseMap(int h) noexcept { return {0, -1, h - 1, 1, 0, 0}; }
PointMap CounterClockwiseMap(int w) noexcept { return {0, 1, 0, -1, 0, w - 1}; }
PointMap MirrorMap(int w) noexcept { return {-1, 0, w - 1, 0, 1, 0}; }
PointMap ShiftMap(int dx, int dy) noexcept { return {1, 0, dx, 0, 1, dy}; }

// outer after inner.
PointMap Then(const PointMap& inner, const PointMap& outer) noexcept
{
    return {outer.xx * inner.xx + outer.xy * inner.yx,
            outer.xx * inner.xy + outer.xy * inner.yy,
            outer.xx * inner.dx + outer.xy * inner.dy + outer.dx,
            outer.yx * inner.xx + outer.yy * inner.yx,
            outer.yx * inner.xy + outer.yy * inner.yy,
            outer.yx * inner.dx + outer.yy * inner.dy + outer.dy};
}

void MoveMarks(DocumentState& state, const PointMap& map)
{
    for (std::shared_ptr<const Mark>& mark : state.marks) mark = mark->Moved(map);
}

// Applies edit to state; false when it would change nothing.
bool Fold(DocumentState& state, const Edit& edit)
{
    View& view = state.view;
    const int w = view.Width();
    const int h = view.Height();
    switch (edit.kind) {
    case EditKind::Turn:
        view.turns = (view.turns + (edit.clockwise ? 1 : 3)) % 4;
        MoveMarks(state, edit.clockwise ? ClockwiseMap(h) : CounterClockwiseMap(w));
        state.dateStamp = state.dateStamp || edit.on;
        return true;
    case EditKind::Mirror:
        // A mirror after turns is the same as the mirror first and the turns
        // the other way round.
        view.mirrored = !view.mirrored;
        view.turns = (4 - view.turns) % 4;
        MoveMarks(state, MirrorMap(w));
        state.dateStamp = state.dateStamp || edit.on;
        return true;
    case EditKind::DateStamp:
        if (state.dateStamp == edit.on) return false;
        state.dateStamp = edit.on;
        return true;
    case EditKind::BackgroundColor:
        if (state.background == edit.color) return false;
        state.background = edit.color;
        return true;
    case EditKind::Crop: {
        const RECT a{std::max(edit.area.left, 0L), std::max(edit.area.top, 0L), std::min<LONG>(edit.area.right, w),
                     std::min<LONG>(edit.area.bottom, h)};
        if (a.right <= a.left || a.bottom <= a.top) return false;
        if (a.left == 0 && a.top == 0 && a.right == w && a.bottom == h) return false;
        view.crop = view.ToFrozen().Rect(a);
        MoveMarks(state, ShiftMap(-a.left, -a.top));
        return true;
    }
    case EditKind::AddMark:
        if (!edit.mark) return false;
        state.marks.push_back(edit.mark);
        return true;
    case EditKind::ChangeMark:
        if (!edit.mark || edit.index < 0 || edit.index >= static_cast<int>(state.marks.size())) return false;
        state.marks[edit.index] = edit.mark;
        return true;
    case EditKind::RemoveMark:
        if (edit.index < 0 || edit.index >= static_cast<int>(state.marks.size())) return false;
        state.marks.erase(state.marks.begin() + edit.index);
        return true;
    }
    return false;
}

// The area a mark edit changes in the picture: the mark's bounds before and
// after; none for the other edits (they change all of it).
std::optional<RECT> MarkArea(const DocumentState& before, const Edit& edit)
{
    RECT a{}, b{}, area{};
    switch (edit.kind) {
    case EditKind::AddMark: a = edit.mark->Bounds(); break;
    case EditKind::ChangeMark:
        a = before.marks[edit.index]->Bounds();
        b = edit.mark->Bounds();
        break;
    case EditKind::RemoveMark: a = before.marks[edit.index]->Bounds(); break;
    default: return std::nullopt;
    }
    ::UnionRect(&area, &a, &b);
    return area;
}

}  // namespace

RECT PointMap::Rect(const RECT& r) const noexcept
{
    const POINT a = (*this)(POINT{r.left, r.top});
    const POINT b = (*this)(POINT{r.right - 1, r.bottom - 1});
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1};
}

int View::Width() const noexcept
{
    const int w = crop.right - crop.left;
    return turns % 2 ? crop.bottom - crop.top : w;
}

int View::Height() const noexcept
{
    const int h = crop.bottom - crop.top;
    return turns % 2 ? crop.right - crop.left : h;
}

PointMap View::ToFrozen() const noexcept
{
    // Undo the turns one at a time (each a counter-clockwise turn of the
    // picture as it stood), then the mirror, then the crop's offset.
    PointMap map;
    int w = Width();
    int h = Height();
    for (int i = 0; i < turns; ++i) {
        map = Then(map, CounterClockwiseMap(w));
        std::swap(w, h);
    }
    if (mirrored) map = Then(map, MirrorMap(w));
    return Then(map, ShiftMap(crop.left, crop.top));
}

Edit TurnEdit(bool clockwise, bool stampSetting)
{
    return {.kind = EditKind::Turn, .name = clockwise ? L"Rotate Clockwise" : L"Rotate CounterClockwise",
            .clockwise = clockwise, .on = stampSetting};
}

Edit MirrorEdit(bool stampSetting) { return {.kind = EditKind::Mirror, .name = L"Mirror Image", .on = stampSetting}; }

Edit DateStampEdit(bool on)
{
    return {.kind = EditKind::DateStamp, .name = on ? L"Date Stamp Image" : L"Remove Date Stamp", .on = on};
}

Edit BackgroundColorEdit(COLORREF color)
{
    return {.kind = EditKind::BackgroundColor, .name = L"Background Color", .color = color};
}

Edit CropEdit(const RECT& area) { return {.kind = EditKind::Crop, .name = L"Crop", .area = area}; }

Edit AddMarkEdit(std::shared_ptr<const Mark> mark, std::wstring name)
{
    return {.kind = EditKind::AddMark, .name = std::move(name), .mark = std::move(mark)};
}

Edit ChangeMarkEdit(int index, std::shared_ptr<const Mark> mark, std::wstring name)
{
    return {.kind = EditKind::ChangeMark, .name = std::move(name), .index = index, .mark = std::move(mark)};
}

Edit RemoveMarkEdit(int index, std::wstring name)
{
    return {.kind = EditKind::RemoveMark, .name = std::move(name), .index = index};
}

void Document::NewCapture(win::Bitmap& composed, win::AlphaMask mask, std::uint8_t shapeCode, COLORREF background,
                          bool dateStamp)
{
    DocumentState state;
    state.view.crop = {0, 0, composed.Width(), composed.Height()};
    state.background = background;
    state.dateStamp = dateStamp;
    // The old render goes first: it may share the old frozen picture.
    render_.Clear();
    shown_ = &render_;
    frozen_.TakeFrom(composed);
    mask_ = std::move(mask);
    shapeCode_ = shapeCode;
    edits_.clear();
    cursor_ = 0;
    initial_ = state;
    RECT all{};
    try {
        all = Show(std::move(state), 0, std::nullopt);
    } catch (...) {
        // The old capture is gone already: no half of either stays.
        Clear();
        throw;
    }
    Changed(all);
}

DocumentState Document::StateAt(std::size_t cursor) const
{
    DocumentState state = initial_;
    for (std::size_t i = 0; i < cursor; ++i) Fold(state, edits_[i]);
    return state;
}

bool Document::Apply(Edit edit)
{
    if (BeingRead()) return false;
    DocumentState state = state_;
    if (!Fold(state, edit)) return false;
    const std::optional<RECT> marked = MarkArea(state_, edit);
    // The history takes the edit before the render, so a failing render can
    // take it out again with nothing else changed.
    std::vector<Edit> kept(edits_.begin(), edits_.begin() + static_cast<std::ptrdiff_t>(cursor_));
    kept.push_back(std::move(edit));
    const RECT changed = Show(std::move(state), kept.size(), marked);
    edits_ = std::move(kept);
    Changed(changed);
    return true;
}

bool Document::CanUndo() const noexcept { return cursor_ > 0 && !BeingRead(); }

bool Document::CanRedo() const noexcept { return cursor_ < edits_.size() && !BeingRead(); }

std::wstring Document::UndoName() const { return cursor_ > 0 ? edits_[cursor_ - 1].name : std::wstring(); }

std::wstring Document::RedoName() const { return cursor_ < edits_.size() ? edits_[cursor_].name : std::wstring(); }

void Document::Undo()
{
    if (!CanUndo()) return;
    DocumentState state = StateAt(cursor_ - 1);
    const std::optional<RECT> marked = MarkArea(state, edits_[cursor_ - 1]);
    Changed(Show(std::move(state), cursor_ - 1, marked));
}

void Document::Redo()
{
    if (!CanRedo()) return;
    DocumentState state = state_;
    Fold(state, edits_[cursor_]);
    const std::optional<RECT> marked = MarkArea(state_, edits_[cursor_]);
    Changed(Show(std::move(state), cursor_ + 1, marked));
}

void Document::Changed(const RECT& area)
{
    if (OnChange) OnChange(area);
}

win::AlphaMask Document::Alpha() const
{
    win::AlphaMask alpha = viewMask_;
    alpha.MakeOpaque(stampCell_.left, stampCell_.top, stampCell_.right, stampCell_.bottom);
    return alpha;
}

void Document::RenderArea(const RECT& area, win::Bitmap& target) const
{
    const win::Bitmap& picture = Picture();
    const RECT a{std::max(area.left, 0L), std::max(area.top, 0L), std::min<LONG>(area.right, picture.Width()),
                 std::min<LONG>(area.bottom, picture.Height())};
    CopyArea(picture, a, target);
}

void Document::Clear() noexcept
{
    render_.Clear();
    shown_ = &render_;
    frozen_.Clear();
    mask_ = {};
    viewMask_ = {};
    stampCell_ = {};
    stampText_.clear();
    edits_.clear();
    cursor_ = 0;
    state_ = {};
    initial_ = {};
}
