#include "preview/DrawingTools.h"

#include <cmath>

#include "markup/MarkHit.h"
#include "preview/SelectTool.h"
#include "preview/TextTool.h"

namespace {

const wchar_t* EditName(markup::MarkKind kind)
{
    using enum markup::MarkKind;
    switch (kind) {
    case Arrow: return L"Arrow";
    case Line: return L"Line";
    case Rectangle: return L"Rectangle";
    case Ellipse: return L"Ellipse";
    case Pen: return L"Pen";
    case Highlighter: return L"Highlighter";
    case Text: return L"Text";
    case Step: return L"Step Number";
    case Redact: return L"Redaction";
    }
    return L"Mark";
}

markup::Point At(POINT p) { return {p.x + 0.5, p.y + 0.5}; }

}  // namespace

std::wstring AddName(markup::MarkKind kind) { return std::wstring(L"Add ") + EditName(kind); }

markup::Mark DragShapeTool::Current() const
{
    using enum markup::MarkKind;
    markup::Mark mark = NewMark(kind_);
    markup::Point to = to_;
    if (shift_) to = kind_ == Arrow || kind_ == Line ? markup::Constrained45(from_, to_)
                                                      : markup::ConstrainedSquare(from_, to_);
    mark.points = {from_, to};
    return markup::Clamped(std::move(mark));
}

bool DragShapeTool::Mouse(UINT message, POINT at, bool shift)
{
    shift_ = shift;
    switch (message) {
    case WM_LBUTTONDOWN:
        dragging_ = true;
        from_ = to_ = At(at);
        return true;
    case WM_MOUSEMOVE: {
        if (!dragging_) return false;
        const RECT before = DrawnArea(Current(), false);
        to_ = At(at);
        RepaintBoth(before, DrawnArea(Current(), false));
        return true;
    }
    case WM_LBUTTONUP: {
        if (!dragging_) return false;
        dragging_ = false;
        to_ = At(at);
        markup::Mark mark = Current();
        if (std::hypot(to_.x - from_.x, to_.y - from_.y) >= 2)
            context_.apply(AddMarkEdit(Made(mark), AddName(kind_)));
        context_.repaint();
        return true;
    }
    default: return false;
    }
}

bool DragTool::End()
{
    if (!dragging_) return false;
    dragging_ = false;
    context_.repaint();
    return true;
}

void DragShapeTool::Draw(HDC dc) const
{
    if (dragging_) DrawOver(dc, Current());
}

bool FreehandTool::Mouse(UINT message, POINT at, bool)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        dragging_ = true;
        points_ = {At(at)};
        return true;
    case WM_MOUSEMOVE:
        if (!dragging_) return false;
        // Points closer than a pixel add nothing but work.
        if (std::hypot(At(at).x - points_.back().x, At(at).y - points_.back().y) >= 1.5) {
            points_.push_back(At(at));
            context_.repaint();
        }
        return true;
    case WM_LBUTTONUP: {
        if (!dragging_) return false;
        dragging_ = false;
        points_.push_back(At(at));
        markup::Mark mark = NewMark(kind_);
        mark.points = markup::ThinPoints(points_, 1.5, markup::kMaxStrokePoints);
        context_.apply(AddMarkEdit(Made(std::move(mark)), AddName(kind_)));
        points_.clear();
        context_.repaint();
        return true;
    }
    default: return false;
    }
}

bool FreehandTool::End()
{
    points_.clear();
    return DragTool::End();
}

void FreehandTool::Draw(HDC dc) const
{
    if (!dragging_) return;
    markup::Mark mark = NewMark(kind_);
    mark.points = markup::ThinPoints(points_, 1.5, markup::kMaxStrokePoints);
    DrawOver(dc, mark);
}

bool StepTool::Mouse(UINT message, POINT at, bool)
{
    if (message != WM_LBUTTONDOWN) return message == WM_LBUTTONUP || message == WM_MOUSEMOVE;
    markup::Mark mark = NewMark(markup::MarkKind::Step);
    mark.points = {At(at)};
    if (context_.apply(AddMarkEdit(Made(std::move(mark)), AddName(markup::MarkKind::Step))))
        context_.style.nextStep = std::min(context_.style.nextStep + 1, markup::kMaxStepNumber);
    return true;
}

std::unique_ptr<MarkTool> MakeTool(markup::MarkKind kind, MarkToolContext& context)
{
    using enum markup::MarkKind;
    switch (kind) {
    case Arrow:
    case Line:
    case Rectangle:
    case Ellipse:
    case Redact: return std::make_unique<DragShapeTool>(context, kind);
    case Pen:
    case Highlighter: return std::make_unique<FreehandTool>(context, kind);
    case Text: return std::make_unique<TextTool>(context);
    case Step: return std::make_unique<StepTool>(context);
    }
    return nullptr;
}
