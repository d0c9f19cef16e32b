// Pins: pictures kept on the screen above other windows, each in a borderless
// window with a one-pixel border and a shadow, at 100% where it was taken.
// Drag moves a pin; the wheel zooms it (10% to 800%) around the pointer;
// Ctrl+wheel sets its opacity (10% to 100%); a double-click or Escape closes
// it; Ctrl+C copies it; the right button gives its menu.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "win/AlphaMask.h"
#include "win/Bitmap.h"

// What a pin's menu does with its picture, given by the program.
struct PinActions {
    std::function<void(const win::Bitmap& picture, const win::AlphaMask& alpha, HWND owner)> copy;
    std::function<void(win::Bitmap& picture, const win::AlphaMask& alpha)> saveAs;
};

// The zoom after one wheel step from zoom (percent, in steps of 10).
int NextPinZoom(int zoom, bool larger) noexcept;
// The opacity after one Ctrl+wheel step (percent, 10 to 100).
int NextPinOpacity(int opacity, bool higher) noexcept;

class PinBoard {
public:
    // The Window shape lists pins by this class (capture/WindowList.cpp).
    static constexpr wchar_t kWindowClass[] = L"TavroPin";

    PinBoard();
    ~PinBoard();
    PinBoard(const PinBoard&) = delete;
    PinBoard& operator=(const PinBoard&) = delete;

    // Opens a pin with a copy of picture (and its see-through mask, kept for
    // Copy and Save As), its top-left pixel at topLeft on the screen; it takes
    // the keyboard. Returns its window.
    HWND Open(const win::Bitmap& picture, const win::AlphaMask& alpha, POINT topLeft);
    // Closes every pin now.
    void CloseAll() noexcept;
    size_t Count() const noexcept { return pins_.size(); }

    // What the pins' Copy and Save As do; set once by the program.
    PinActions Actions;

private:
    class Pin;
    void Closed(const Pin* pin) noexcept;
    // Asks every pin to close, from the message loop.
    void PostCloseAll() const noexcept;

    std::vector<std::unique_ptr<Pin>> pins_;
};
