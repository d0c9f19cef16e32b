#include "preview/MarkupSession.h"

#include <algorithm>
#include <cwctype>

#include "markup/GdiGlyphSource.h"
#include "preview/SelectTool.h"

const std::vector<MarkupToolInfo>& MarkupTools()
{
    using enum MarkupTool;
    static const std::vector<MarkupToolInfo> tools{
        {Select, L"&Select\tV", L"Select", L'V', L"Select a mark: drag to move, handles to resize, Delete removes"},
        {Arrow, L"&Arrow\tA", L"Arrow", L'A', L"Drag from the tail to the tip; Shift keeps 45 degrees"},
        {Line, L"&Line\tL", L"Line", L'L', L"Drag a line; Shift keeps 45 degrees"},
        {Rectangle, L"&Rectangle\tR", L"Rect", L'R', L"Drag a rectangle; Shift makes a square"},
        {Ellipse, L"&Ellipse\tE", L"Ellipse", L'E', L"Drag an ellipse; Shift makes a circle"},
        {Pen, L"&Pen\tP", L"Pen", L'P', L"Draw freehand"},
        {Highlighter, L"&Highlighter\tH", L"Marker", L'H', L"Mark text like a highlighter on paper"},
        {Text, L"&Text\tT", L"Text", L'T', L"Click and type; click a text to edit it; Ctrl+Up and Ctrl+Down size it"},
        {Step, L"Step &Number\tN", L"Step", L'N', L"Click for the next number; Up and Down set the next number"},
        {Redact, L"Re&dact\tX", L"Redact", L'X', L"Drag over what must not be read"},
    };
    return tools;
}

void AddMarkupCommands(std::vector<PreviewCommand>& commands)
{
    const auto& tools = MarkupTools();
    for (std::size_t i = 0; i < tools.size(); ++i)
        commands.push_back({kMarkupToolId + static_cast<int>(i), tools[i].caption, tools[i].hint,
                            {.menu = PreviewMenu::Markup, .item = static_cast<int>(i)}});
    int next = static_cast<int>(tools.size()) + 1;
    commands.push_back({kMarkupPixelateId, L"Redact by Pi&xelating", L"Redactions show blocks made from their border",
                        {.menu = PreviewMenu::Markup, .item = next}});
    commands.push_back({kMarkupFillId, L"Redact by &Filling", L"Redactions are filled black",
                        {.menu = PreviewMenu::Markup, .item = next + 1}});
}

MarkupSession::MarkupSession(const Document& document)
    : context_{document, [this](Edit edit) { return Apply && Apply(std::move(edit)); }, style_,
               std::make_shared<markup::GdiGlyphSource>(), [this] { if (Repaint) Repaint(); },
               [this](const RECT& area) { RepaintArea ? RepaintArea(area) : context_.repaint(); }}
{
}

void MarkupSession::Choose(MarkupTool tool)
{
    tool_.reset();  // a text under way becomes an edit first
    if (tool != MarkupTool::Select) context_.selected = -1;
    current_ = tool;
    if (tool == MarkupTool::Select) tool_ = MakeSelectTool(context_);
    else if (tool != MarkupTool::None) tool_ = MakeTool(static_cast<markup::MarkKind>(static_cast<int>(tool) - 1), context_);
    if (ToolChanged) ToolChanged(tool);
    context_.repaint();
}

void MarkupSession::SetColor(COLORREF color)
{
    style_.color = color;
    RestyleSelected(context_, true, false);
}

void MarkupSession::SetWidthLevel(int level)
{
    style_.widthLevel = std::clamp(level, 0, 2);
    RestyleSelected(context_, false, true);
}

bool MarkupSession::Mouse(UINT message, POINT at)
{
    if (!tool_) return false;
    if (message == WM_SETCURSOR) {
        LPCWSTR cursor = current_ == MarkupTool::Select ? IDC_ARROW : current_ == MarkupTool::Text ? IDC_IBEAM : IDC_CROSS;
        ::SetCursor(::LoadCursorW(nullptr, cursor));
        return true;
    }
    return tool_->Mouse(message, at, ::GetKeyState(VK_SHIFT) < 0);
}

void MarkupSession::Draw(HDC dc) const
{
    if (tool_) tool_->Draw(dc);
}

void MarkupSession::Reset()
{
    if (tool_) tool_->End();
    context_.selected = -1;
}

bool MarkupSession::Key(const MSG& msg)
{
    if (msg.message == WM_CHAR) return tool_ && tool_->Typing() && tool_->Char(static_cast<wchar_t>(msg.wParam));
    return msg.message == WM_KEYDOWN && KeyDown(msg);
}

bool MarkupSession::KeyDown(const MSG& msg)
{
    const WPARAM key = msg.wParam;
    const bool ctrl = ::GetKeyState(VK_CONTROL) < 0, shift = ::GetKeyState(VK_SHIFT) < 0,
               alt = ::GetKeyState(VK_MENU) < 0;
    if (tool_ && tool_->Typing()) {
        if (key == VK_ESCAPE) return tool_->End();
        if (!tool_->Key(key, ctrl, shift)) ::TranslateMessage(&msg);  // its character comes as WM_CHAR
        return true;
    }
    if (key == VK_ESCAPE) {
        if (tool_ && tool_->End()) return true;
        if (current_ == MarkupTool::None) return false;
        Choose(MarkupTool::None);
        return true;
    }
    if (tool_ && tool_->Key(key, ctrl, shift)) return true;
    if (current_ == MarkupTool::Step && (key == VK_UP || key == VK_DOWN)) {
        style_.nextStep = std::clamp(style_.nextStep + (key == VK_UP ? 1 : -1), 1, markup::kMaxStepNumber);
        if (ToolChanged) ToolChanged(current_);
        return true;
    }
    if (ctrl || alt || shift) return false;
    const auto& tools = MarkupTools();
    auto found = std::find_if(tools.begin(), tools.end(), [key](const MarkupToolInfo& t) { return t.key == key; });
    if (found == tools.end()) return false;
    Choose(found->tool);
    return true;
}
