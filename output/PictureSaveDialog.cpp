#include "output/PictureSaveDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "output/SaveDialogResource.h"
#include "win/Dpi.h"
#include "win/Error.h"
#include "win/Gdi.h"

namespace {
// Long paths fit; the dialog reports a longer name as an error.
constexpr DWORD kFileNameCapacity = 32768;
}  // namespace

std::wstring TPicDialog::ApiFilter(std::wstring_view filter)
{
    std::wstring out(filter);
    std::replace(out.begin(), out.end(), L'|', L'\0');
    out.push_back(L'\0');
    out.push_back(L'\0');
    return out;
}

bool TPicDialog::Execute(HWND owner)
{
    std::vector<wchar_t> file(kFileNameCapacity, L'\0');
    std::copy_n(FileName.c_str(), std::min<size_t>(FileName.size(), kFileNameCapacity - 1), file.begin());
    const std::wstring filter = ApiFilter(Filter);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.hInstance = ::GetModuleHandleW(nullptr);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = kFileNameCapacity;
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.c_str();
    // No overwrite prompt and no default extension: the Save command forces
    // the extension and asks about existing files itself.
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
    ofn.lpTemplateName = MAKEINTRESOURCEW(IDD_PICDIALOG_PANE);
    ofn.lpfnHook = HookProc;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);

    BOOL chosen = ::GetSaveFileNameW(&ofn);
    if (!chosen && ::CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
        // The name proposed from the last save may no longer be usable (its
        // folder was removed or renamed): propose the bare name instead.
        const std::wstring bare = FileName.substr(FileName.find_last_of(L"\\/") + 1);
        std::fill(file.begin(), file.end(), L'\0');
        std::copy_n(bare.c_str(), std::min<size_t>(bare.size(), kFileNameCapacity - 1), file.begin());
        chosen = ::GetSaveFileNameW(&ofn);
    }
    if (!chosen) {
        const DWORD error = ::CommDlgExtendedError();
        if (error != 0) throw win::Error(L"The save dialog could not be shown (error " + std::to_wstring(error) + L")");
        return false;
    }
    FileName = file.data();
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

void TPicDialog::LayoutPane(HWND pane) const
{
    // Keeps the preview at the right edge when the user resizes the dialog.
    RECT client;
    ::GetClientRect(pane, &client);
    HWND frame = ::GetDlgItem(pane, IDC_PICFRAME);
    RECT r;
    ::GetWindowRect(frame, &r);
    ::MapWindowPoints(nullptr, pane, reinterpret_cast<POINT*>(&r), 2);
    // 8 pixels from the edge at 96 DPI; the template's own units scale with its font.
    const int dx = client.right - win::Scale(8, win::WindowDpi(pane)) - r.right;
    if (dx == 0) return;
    for (int id : {IDC_PICFRAME, IDC_PICPREVIEW, IDC_PICSIZE}) {
        HWND control = ::GetDlgItem(pane, id);
        RECT c;
        ::GetWindowRect(control, &c);
        ::MapWindowPoints(nullptr, pane, reinterpret_cast<POINT*>(&c), 2);
        ::SetWindowPos(control, nullptr, c.left + dx, c.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::InvalidateRect(pane, nullptr, TRUE);
}

void TPicDialog::ShowPictureSize(HWND pane) const
{
    std::wstring text;
    if (Picture && !Picture->Empty())
        text = std::to_wstring(Picture->Width()) + L" x " + std::to_wstring(Picture->Height());
    ::SetDlgItemTextW(pane, IDC_PICSIZE, text.c_str());
}

void TPicDialog::DrawPreview(const DRAWITEMSTRUCT& item) const
{
    const RECT& box = item.rcItem;
    win::FillSolidRect(item.hDC, box, ::GetSysColor(COLOR_BTNFACE));
    if (!Picture || Picture->Empty()) return;
    // The whole picture, scaled down to fit and centred; never enlarged.
    const int boxW = box.right - box.left;
    const int boxH = box.bottom - box.top;
    const double scale = std::min({1.0, static_cast<double>(boxW) / Picture->Width(),
                                   static_cast<double>(boxH) / Picture->Height()});
    const int w = std::max(1, static_cast<int>(Picture->Width() * scale));
    const int h = std::max(1, static_cast<int>(Picture->Height() * scale));
    const int x = box.left + (boxW - w) / 2;
    const int y = box.top + (boxH - h) / 2;
    // The picture's own canvas is its drawing surface; the preview only reads it.
    HDC source = const_cast<win::Bitmap*>(Picture)->Canvas();
    win::SavedDCState state(item.hDC);
    ::SetStretchBltMode(item.hDC, HALFTONE);
    ::SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    ::StretchBlt(item.hDC, x, y, w, h, source, 0, 0, Picture->Width(), Picture->Height(), SRCCOPY);
}

UINT_PTR CALLBACK TPicDialog::HookProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam)
{
    // No exception may leave the dialog procedure: a failed preview is only a blank pane.
    try {
        if (message == WM_INITDIALOG) {
            auto* self = reinterpret_cast<TPicDialog*>(reinterpret_cast<OPENFILENAMEW*>(lParam)->lCustData);
            ::SetWindowLongPtrW(pane, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
            self->ShowPictureSize(pane);
            return TRUE;
        }
        auto* self = reinterpret_cast<TPicDialog*>(::GetWindowLongPtrW(pane, DWLP_USER));
        if (!self) return FALSE;
        switch (message) {
        case WM_SIZE:
            self->LayoutPane(pane);
            return FALSE;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (wParam != IDC_PICPREVIEW) return FALSE;
            self->DrawPreview(*item);
            return TRUE;
        }
        default:
            return FALSE;
        }
    } catch (...) {
        return FALSE;
    }
}
