// The main form's save dialog: the standard Explorer-style save dialog with a
// pane that previews the picture being saved. The main form keeps one for the
// run; its file name and filter index carry over from one showing to the next.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "win/Bitmap.h"

class TPicDialog {
public:
    std::wstring Title = L"Save Screen Capture as a File";
    // "description|pattern|..." as the dialog lists the types.
    std::wstring Filter =
        L"JPG Image File (*.jpg)|*.jpg|BMP Image File (*.bmp)|*.bmp|GIF Image File (*.gif)|*.gif";
    std::wstring FileName = L"capture.jpg";
    int FilterIndex = 1;
    std::wstring InitialDir;
    // Shown in the preview pane while the dialog is open; may be null.
    const win::Bitmap* Picture = nullptr;

    // Shows the dialog; true with FileName and FilterIndex set when the user
    // chose a name. Throws win::Error when the dialog itself fails.
    bool Execute(HWND owner);

    // The filter in the form the common dialog wants (NUL separated).
    static std::wstring ApiFilter(std::wstring_view filter);

private:
    static UINT_PTR CALLBACK HookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void LayoutPane(HWND pane) const;
    void DrawPreview(const DRAWITEMSTRUCT& item) const;
    void ShowPictureSize(HWND pane) const;
};
