// The tools that draw a new mark: a drag for arrows, lines, boxes, ellipses
// and redactions (Shift keeps lines at 45 degrees and boxes square), a
// freehand drag for the pen and the highlighter, a click for a step number.
// One class serves the kinds of a gesture, told the kind it makes.
#pragma once

#include <vector>

#include "preview/MarkTool.h"

// A tool that makes marks of one kind by a drag; Escape ends the drag.
class DragTool : public MarkTool {
public:
    DragTool(MarkToolContext& context, markup::MarkKind kind) : MarkTool(context), kind_(kind) {}
    bool End() override;

protected:
    markup::MarkKind kind_;
    bool dragging_ = false;
};

class DragShapeTool final : public DragTool {
public:
    using DragTool::DragTool;
    bool Mouse(UINT message, POINT at, bool shift) override;
    void Draw(HDC dc) const override;

private:
    markup::Mark Current() const;
    markup::Point from_{}, to_{};
    bool shift_ = false;
};

class FreehandTool final : public DragTool {
public:
    using DragTool::DragTool;
    bool Mouse(UINT message, POINT at, bool shift) override;
    bool End() override;
    void Draw(HDC dc) const override;

private:
    std::vector<markup::Point> points_;
};

// Circled numbers counting on from the last (MarkStyle::nextStep).
class StepTool final : public MarkTool {
public:
    using MarkTool::MarkTool;
    bool Mouse(UINT message, POINT at, bool shift) override;
};
