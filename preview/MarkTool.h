// The markup tools on the preview's picture. A tool turns mouse and key input
// into edits of the document (add, change or remove a mark) and draws what is
// under way over the picture; it reaches nothing but the context it is given.
//
// When you add a tool, update: its class (DrawingTools, TextTool, SelectTool),
// MakeTool and the strip's list (MarkupStrip.cpp).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "markup/GlyphSource.h"
#include "markup/Mark.h"
#include "preview/Document.h"

// What new marks look like: the strip's colour, width and the text's size.
struct MarkStyle {
    COLORREF color = RGB(255, 0, 0);
    int widthLevel = 1;       // 0 thin, 1 medium, 2 thick
    double fontPoints = 20;
    int nextStep = 1;         // the number the next step mark gets
    markup::RedactMode redact = markup::RedactMode::Pixelate;
};

// A stroke's width at 96 DPI for each level.
constexpr int kWidthLevels[] = {2, 4, 8};

struct MarkToolContext {
    const Document& document;
    std::function<bool(Edit)> apply;  // makes an edit of the document
    MarkStyle& style;
    std::shared_ptr<markup::GlyphSource> glyphs;
    std::function<void()> repaint;    // what Draw shows has changed
    std::function<void(const RECT&)> repaintArea;  // ... only inside this area (picture pixels)
    UINT dpi = 96;
    int selected = -1;                // the selected mark, or -1

    double Scaled(double at96) const { return at96 * dpi / 96.0; }
};

class MarkTool {
public:
    explicit MarkTool(MarkToolContext& context) : context_(context) {}
    virtual ~MarkTool() = default;
    MarkTool(const MarkTool&) = delete;
    MarkTool& operator=(const MarkTool&) = delete;

    // A mouse message at a picture pixel; true when used.
    virtual bool Mouse(UINT message, POINT at, bool shift) = 0;
    // A key (WM_KEYDOWN) or a character (WM_CHAR); true when used.
    virtual bool Key(WPARAM /*key*/, bool /*ctrl*/, bool /*shift*/) { return false; }
    virtual bool Char(wchar_t /*ch*/) { return false; }
    // Whether the tool takes typed letters (the tool keys do not apply then).
    virtual bool Typing() const { return false; }
    // Ends what is under way (Escape); false when nothing was.
    virtual bool End() { return false; }
    // Draws what is under way over the picture, in picture pixels.
    virtual void Draw(HDC /*dc*/) const {}

protected:
    markup::Mark NewMark(markup::MarkKind kind) const;
    std::shared_ptr<const Mark> Made(markup::Mark mark) const;
    // The marks of the document as values (a mark of another kind is empty).
    std::vector<markup::Mark> Values() const;
    // Draws mark over the picture shown, rendered on a copy of the pixels under
    // it (on white paper when onPaper).
    void DrawOver(HDC dc, const markup::Mark& mark, bool onPaper = false) const;
    void DrawHandles(HDC dc, const markup::Mark& mark) const;
    // The pixels DrawOver (and DrawHandles, with handles) may paint for mark.
    RECT DrawnArea(const markup::Mark& mark, bool handles) const;
    // Repaints the pixels of before and now: what Draw showed and shows.
    void RepaintBoth(const RECT& before, const RECT& now) const;

    MarkToolContext& context_;
};

// What "Undo ..." says after a new mark of kind ("Add Arrow").
std::wstring AddName(markup::MarkKind kind);

std::unique_ptr<MarkTool> MakeTool(markup::MarkKind kind, MarkToolContext& context);
std::unique_ptr<MarkTool> MakeSelectTool(MarkToolContext& context);
