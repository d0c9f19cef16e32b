// The tools that draw a new mark: a drag for arrows, lines, boxes, ellipses
// and redactions (Shift keeps lines at 45 degrees and boxes square), a
// freehand drag for the pen and the highlighter, a click for a step number.
#pragma once

#include <vector>

#include "preview/MarkTool.h"

class DragShapeTool : public MarkTool {
public:
    DragShapeTool(MarkToolContext& context, markup::MarkKind kind) : MarkTool(context), kind_(kind) {}
    bool Mouse(UINT message, POINT at, bool shift) override;
    bool End() override;
    void Draw(HDC dc) const override;

private:
    markup::Mark Current() const;
    markup::MarkKind kind_;
    bool dragging_ = false;
    markup::Point from_{}, to_{};
    bool shift_ = false;
};

class ArrowTool final : public DragShapeTool {
public:
    explicit ArrowTool(MarkToolContext& c) : DragShapeTool(c, markup::MarkKind::Arrow) {}
};
class LineTool final : public DragShapeTool {
public:
    explicit LineTool(MarkToolContext& c) : DragShapeTool(c, markup::MarkKind::Line) {}
};
class RectangleTool final : public DragShapeTool {
public:
    explicit RectangleTool(MarkToolContext& c) : DragShapeTool(c, markup::MarkKind::Rectangle) {}
};
class EllipseTool final : public DragShapeTool {
public:
    explicit EllipseTool(MarkToolContext& c) : DragShapeTool(c, markup::MarkKind::Ellipse) {}
};
class RedactTool final : public DragShapeTool {
public:
    explicit RedactTool(MarkToolContext& c) : DragShapeTool(c, markup::MarkKind::Redact) {}
};

class FreehandTool : public MarkTool {
public:
    FreehandTool(MarkToolContext& context, markup::MarkKind kind) : MarkTool(context), kind_(kind) {}
    bool Mouse(UINT message, POINT at, bool shift) override;
    bool End() override;
    void Draw(HDC dc) const override;

private:
    markup::MarkKind kind_;
    bool dragging_ = false;
    std::vector<markup::Point> points_;
};

class PenTool final : public FreehandTool {
public:
    explicit PenTool(MarkToolContext& c) : FreehandTool(c, markup::MarkKind::Pen) {}
};
class HighlighterTool final : public FreehandTool {
public:
    explicit HighlighterTool(MarkToolContext& c) : FreehandTool(c, markup::MarkKind::Highlighter) {}
};

// Circled numbers counting on from the last (MarkStyle::nextStep).
class StepTool final : public MarkTool {
public:
    using MarkTool::MarkTool;
    bool Mouse(UINT message, POINT at, bool shift) override;
};
