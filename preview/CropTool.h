// The crop interaction on the preview's picture. A drag marks the area to
// keep; its edges and corners have handles to adjust it, and a drag inside
// moves it. Enter or a double-click crops, Escape leaves the picture as it
// is. The area never leaves the picture: a drag past an edge stops there.
// The tool only turns mouse and keys into an area; the document's crop edit
// is made by Apply.
#pragma once

#include <windows.h>

#include <functional>

#include "preview/PictureTool.h"

class CropTool final : public PictureTool {
public:
    // Crops the picture to the area; false when that was refused (an area of
    // no width or height), and the tool stays.
    std::function<bool(const RECT& area)> Apply;
    // Called when the frame must be drawn again, and when the tool ends.
    std::function<void()> Changed;

    // Starts on a picture of width x height shown in the window picture
    // (which takes the mouse during a drag), with handles sized for dpi.
    void Begin(HWND picture, int width, int height, UINT dpi);
    // Ends without cropping.
    void Cancel() override;
    bool Active() const noexcept override { return active_; }
    // The area to keep, in picture pixels (empty until a drag).
    const RECT& Area() const noexcept { return area_; }

    bool Mouse(UINT message, POINT at) override;
    // Enter crops, Escape cancels.
    bool Key(WPARAM key) override;
    // The frame and its handles.
    void Draw(HDC dc) const override;

private:
    // What a drag moves: bits for the left, top, right and bottom edges;
    // all four move the whole area.
    enum Edge : unsigned { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8, kAll = 15 };
    unsigned HitTest(POINT at) const noexcept;
    void Drag(POINT at);
    bool Finish();
    int HandleSize() const noexcept;

    HWND picture_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    UINT dpi_ = 96;
    bool active_ = false;
    RECT area_{};
    unsigned dragging_ = 0;
    POINT anchor_{};  // where the drag started
    RECT start_{};    // the area when it started
};
