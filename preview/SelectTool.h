// Select: a click picks the topmost mark, a drag moves it, its handles resize
// it (Shift keeps lines at 45 degrees and boxes square), Delete removes it.
// The strip's colour and width apply to the selected mark (RestyleSelected).
#pragma once

#include <optional>

#include "preview/MarkTool.h"

class SelectTool final : public MarkTool {
public:
    using MarkTool::MarkTool;
    bool Mouse(UINT message, POINT at, bool shift) override;
    bool Key(WPARAM key, bool ctrl, bool shift) override;
    bool End() override;
    void Draw(HDC dc) const override;

private:
    std::optional<markup::Mark> Selected() const;
    int handle_ = -1;            // the handle dragged, or -1 for a move
    bool dragging_ = false;
    markup::Point start_{};
    std::optional<markup::Mark> moved_;  // the selected mark as the drag has it
};

// Gives the selected mark the style's colour or width; false when none is selected.
bool RestyleSelected(MarkToolContext& context, bool color, bool width);
