// The markup tools of one preview window: which tool is chosen, the style of
// new marks, the selection, and the keys (V A L R E P H T N X choose a tool,
// Delete removes the selected mark, Escape ends a text, then clears the
// selection, then the tool). The window hands it mouse, paint and keys.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "preview/MarkTool.h"
#include "preview/PreviewPlace.h"

enum class MarkupTool : int { None = -1, Select, Arrow, Line, Rectangle, Ellipse, Pen, Highlighter, Text, Step, Redact };

struct MarkupToolInfo {
    MarkupTool tool;
    const wchar_t* caption;  // in the Markup menu
    const wchar_t* label;    // on the strip's button
    wchar_t key;
    const wchar_t* hint;
};
// The tools in strip and menu order.
const std::vector<MarkupToolInfo>& MarkupTools();

// The strip's width at 96 DPI; the preview's first size grows by it.
constexpr int kMarkupStripWidth = 72;

// Command ids of the strip and the Markup menu.
constexpr int kMarkupToolId = 4200;   // + the tool's position
constexpr int kMarkupColorId = 4220;
constexpr int kMarkupWidthId = 4221;  // + 0 thin, 1 medium, 2 thick
constexpr int kMarkupPixelateId = 4230;
constexpr int kMarkupFillId = 4231;
// The Markup menu's items.
void AddMarkupCommands(std::vector<PreviewCommand>& commands);

class MarkupSession {
public:
    explicit MarkupSession(const Document& document);

    // Makes an edit of the document (set by the window's owner).
    std::function<bool(Edit)> Apply;
    std::function<void()> Repaint;
    // Repaints only area of the picture (pixels); Repaint when not set.
    std::function<void(const RECT& area)> RepaintArea;
    // The chosen tool changed (the strip and the menu follow it).
    std::function<void(MarkupTool)> ToolChanged;

    void SetDpi(UINT dpi) { context_.dpi = dpi; }
    void Choose(MarkupTool tool);
    MarkupTool Current() const noexcept { return current_; }
    const MarkStyle& Style() const noexcept { return style_; }
    // The style for new marks; the selected mark takes it too.
    void SetColor(COLORREF color);
    void SetWidthLevel(int level);
    void SetRedactMode(markup::RedactMode mode) { style_.redact = mode; }

    bool Mouse(UINT message, POINT at);
    void Draw(HDC dc) const;
    // WM_KEYDOWN and WM_CHAR; true when used.
    bool Key(const MSG& msg);
    // Ends what is under way and clears the selection (a new picture).
    void Reset();

private:
    bool KeyDown(const MSG& msg);
    MarkStyle style_;
    MarkToolContext context_;
    std::unique_ptr<MarkTool> tool_;
    MarkupTool current_ = MarkupTool::None;
};
