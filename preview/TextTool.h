// Text typed on the picture: a click places a new text or opens a text mark
// for editing again; the caret follows the letters (mouse and Shift+arrow
// selection, Backspace, Delete, Ctrl+A, Enter for a new line, Ctrl+Up and
// Ctrl+Down for the size). The text becomes one edit when it ends: a click
// elsewhere, Escape or another tool.
#pragma once

#include <cstddef>

#include "markup/TextLayout.h"
#include "preview/MarkTool.h"

class TextTool final : public MarkTool {
public:
    using MarkTool::MarkTool;
    ~TextTool() override;
    bool Mouse(UINT message, POINT at, bool shift) override;
    bool Key(WPARAM key, bool ctrl, bool shift) override;
    bool Char(wchar_t ch) override;
    bool Typing() const override { return editing_; }
    bool End() override;
    void Draw(HDC dc) const override;

private:
    void Begin(markup::Point at);
    void Insert(const std::wstring& text);
    void MoveCaret(std::size_t to, bool extend);
    bool EraseSelection();
    markup::TextLayout Layout() const;
    std::size_t LineStart(std::size_t i) const;
    std::size_t LineEnd(std::size_t i) const;

    bool editing_ = false;
    bool selecting_ = false;
    int index_ = -1;  // the text mark being edited again, or -1 for a new one
    markup::Mark mark_;
    markup::Mark original_;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
};
