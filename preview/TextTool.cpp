#include "preview/TextTool.h"

#include <algorithm>
#include <cmath>

#include "markup/MarkHit.h"
#include "markup/MarkRenderer.h"
#include "preview/DrawnMark.h"
#include "win/Gdi.h"

TextTool::~TextTool()
{
    try {
        End();
    } catch (...) {
        // A text that cannot be kept is dropped with the tool.
    }
}

markup::TextLayout TextTool::Layout() const
{
    return markup::LayOutText(mark_.text, mark_.fontSize, mark_.points[0], *context_.glyphs);
}

void TextTool::Begin(markup::Point at)
{
    std::vector<markup::Mark> values = Values();
    int hit = markup::MarkAt(values, at, context_.Scaled(2), *context_.glyphs);
    index_ = hit >= 0 && values[hit].kind == markup::MarkKind::Text ? hit : -1;
    if (index_ >= 0) {
        mark_ = values[index_];
    } else {
        mark_ = NewMark(markup::MarkKind::Text);
        mark_.points = {{at.x, at.y - mark_.fontSize * context_.glyphs->Ascent()}};
    }
    original_ = mark_;
    editing_ = true;
    caret_ = anchor_ = index_ >= 0 ? markup::CaretIndexAt(Layout(), at) : 0;
}

bool TextTool::End()
{
    if (!editing_) return false;
    editing_ = selecting_ = false;
    markup::Mark done = markup::Clamped(mark_);
    if (index_ >= 0 && done.text.empty()) {
        context_.apply(RemoveMarkEdit(index_, L"Remove Text"));
    } else if (index_ >= 0 && !(done == original_)) {
        context_.apply(ChangeMarkEdit(index_, Made(done), L"Change Text"));
    } else if (index_ < 0 && !done.text.empty()) {
        context_.apply(AddMarkEdit(Made(done), AddName(markup::MarkKind::Text)));
    }
    context_.repaint();
    return true;
}

bool TextTool::Mouse(UINT message, POINT p, bool shift)
{
    markup::Point at{p.x + 0.5, p.y + 0.5};
    if (message == WM_LBUTTONDOWN) {
        bool inside = editing_ && markup::HitTest(mark_, at, context_.Scaled(4), *context_.glyphs);
        if (!inside) {
            End();
            Begin(at);
        } else {
            MoveCaret(markup::CaretIndexAt(Layout(), at), shift);
        }
        selecting_ = true;
        context_.repaint();
        return true;
    }
    if (message == WM_MOUSEMOVE && selecting_) {
        MoveCaret(markup::CaretIndexAt(Layout(), at), true);
        return true;
    }
    if (message == WM_LBUTTONUP) selecting_ = false;
    return message == WM_LBUTTONUP || message == WM_MOUSEMOVE;
}

void TextTool::MoveCaret(std::size_t to, bool extend)
{
    caret_ = std::min(to, mark_.text.size());
    if (!extend) anchor_ = caret_;
    context_.repaint();
}

bool TextTool::EraseSelection()
{
    if (caret_ == anchor_) return false;
    std::size_t from = std::min(caret_, anchor_), to = std::max(caret_, anchor_);
    mark_.text.erase(from, to - from);
    caret_ = anchor_ = from;
    return true;
}

void TextTool::Insert(const std::wstring& text)
{
    EraseSelection();
    std::size_t room = markup::kMaxTextLength - std::min(markup::kMaxTextLength, mark_.text.size());
    std::wstring kept = text.substr(0, room);
    mark_.text.insert(caret_, kept);
    MoveCaret(caret_ + kept.size(), false);
}

std::size_t TextTool::LineStart(std::size_t i) const
{
    std::size_t nl = i == 0 ? std::wstring::npos : mark_.text.rfind(L'\n', i - 1);
    return nl == std::wstring::npos ? 0 : nl + 1;
}

std::size_t TextTool::LineEnd(std::size_t i) const
{
    std::size_t nl = mark_.text.find(L'\n', i);
    return nl == std::wstring::npos ? mark_.text.size() : nl;
}

bool TextTool::Key(WPARAM key, bool ctrl, bool shift)
{
    if (!editing_) return false;
    markup::TextLayout layout = Layout();
    auto vertical = [&](double lines) {
        markup::Point c = layout.carets[caret_];
        return markup::CaretIndexAt(layout, {c.x, c.y + layout.lineHeight * lines + layout.lineHeight / 2});
    };
    switch (key) {
    case VK_LEFT: MoveCaret(caret_ > 0 ? caret_ - 1 : 0, shift); return true;
    case VK_RIGHT: MoveCaret(caret_ + 1, shift); return true;
    case VK_HOME: MoveCaret(LineStart(caret_), shift); return true;
    case VK_END: MoveCaret(LineEnd(caret_), shift); return true;
    case VK_UP:
    case VK_DOWN:
        if (ctrl) {
            double points = context_.style.fontPoints + (key == VK_UP ? 2 : -2);
            double pixels = std::clamp(points * context_.dpi / 72.0, markup::kMinFontSize, markup::kMaxFontSize);
            context_.style.fontPoints = pixels * 72.0 / context_.dpi;
            mark_.fontSize = pixels;
            context_.repaint();
        } else {
            MoveCaret(vertical(key == VK_UP ? -1 : 1), shift);
        }
        return true;
    case VK_DELETE:
        if (!EraseSelection() && caret_ < mark_.text.size()) mark_.text.erase(caret_, 1);
        context_.repaint();
        return true;
    default: return false;
    }
}

bool TextTool::Char(wchar_t ch)
{
    if (!editing_) return false;
    if (ch == 1) {  // Ctrl+A
        anchor_ = 0;
        MoveCaret(mark_.text.size(), true);
    } else if (ch == L'\b') {
        if (!EraseSelection() && caret_ > 0) {
            mark_.text.erase(caret_ - 1, 1);
            --caret_;
            anchor_ = caret_;
        }
        context_.repaint();
    } else if (ch == L'\r') {
        Insert(L"\n");
    } else if (ch == 27) {
        End();
    } else if (ch >= 32 || ch == L'\t') {
        Insert(std::wstring(1, ch));
    }
    return true;
}

void TextTool::Draw(HDC dc) const
{
    if (!editing_) return;
    markup::TextLayout layout = Layout();
    const markup::Point origin = mark_.points[0];
    const int pad = static_cast<int>(context_.Scaled(3));
    RECT box{static_cast<LONG>(origin.x) - pad, static_cast<LONG>(origin.y) - pad,
             static_cast<LONG>(origin.x + std::max(layout.width, mark_.fontSize / 2)) + pad,
             static_cast<LONG>(origin.y + layout.height) + pad};
    // The old text stays in the picture until the edit ends: while a text is
    // edited again, it is shown on a white box that covers the old one.
    if (index_ >= 0) {
        RECT old = DrawnMark(original_, context_.glyphs).Bounds();
        ::UnionRect(&box, &box, &old);
        ::FillRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    DrawOver(dc, mark_, index_ >= 0);
    std::size_t from = std::min(caret_, anchor_), to = std::max(caret_, anchor_);
    for (std::size_t i = from; i < to; ++i) {
        if (mark_.text[i] == L'\n') continue;
        RECT r{static_cast<LONG>(layout.carets[i].x), static_cast<LONG>(layout.carets[i].y),
               static_cast<LONG>(layout.carets[i + 1].x), static_cast<LONG>(layout.carets[i].y + layout.lineHeight)};
        ::InvertRect(dc, &r);
    }
    markup::Point c = layout.carets[caret_];
    RECT caret{static_cast<LONG>(c.x), static_cast<LONG>(c.y), static_cast<LONG>(c.x) + std::max(1, pad / 2),
               static_cast<LONG>(c.y + layout.lineHeight)};
    ::InvertRect(dc, &caret);
    ::DrawFocusRect(dc, &box);
}
