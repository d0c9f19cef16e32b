// The colour dialog of the main form: any colour, opening on the colour last
// chosen in it (white the first time) with the custom colours of this run.
#pragma once

#include <windows.h>

#include <array>

class TColorDialog {
public:
    TColorDialog() { customColors_.fill(RGB(255, 255, 255)); }

    // Runs the dialog owned by owner; true when the user chose a colour, which
    // is then in Color. On cancel Color keeps the previous choice.
    bool Execute(HWND owner);

    COLORREF Color = RGB(255, 255, 255);

private:
    std::array<COLORREF, 16> customColors_{};
};
