// Every window of the program laid out at 96, 144 and 192 DPI, as a move to a
// monitor of that scale lays it out (WM_DPICHANGED): no static text, check box,
// radio button or button needs more room for its text, measured in its own
// font, than its control has. Built with the program's resources and manifest,
// so the controls are the themed ones tavro.exe shows.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/ActionTable.h"
#include "app/AppSettings.h"
#include "app/CaptureHotKey.h"
#include "app/MainForm.h"
#include "app/SettingsDialog.h"
#include "capture/ShapeDialog.h"
#include "output/FileExistsDialog.h"
#include "output/ImageProgramDialog.h"
#include "preview/PreviewWindow.h"
#include "win/Dpi.h"
#include "win/Gdi.h"

namespace {

// The room a control needs for its text: with a check box's or radio
// button's box, a push button's edges and picture, a group box's indent.
SIZE Needed(HWND control, UINT dpi)
{
    wchar_t cls[32] = {}, text[256] = {};
    ::GetClassNameW(control, cls, 32);
    ::GetWindowTextW(control, text, 256);
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    const bool isStatic = lstrcmpiW(cls, L"Static") == 0;
    if (!text[0] || (!isStatic && lstrcmpiW(cls, L"Button") != 0)) return {0, 0};
    win::WindowDC dc(control);
    win::SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT t{};
    ::DrawTextW(dc.get(), text, -1, &t, DT_CALCRECT | DT_SINGLELINE);
    auto s = [dpi](int v) { return win::Scale(v, dpi); };
    if (isStatic) {
        const LONG kind = style & SS_TYPEMASK;
        if (kind == SS_LEFTNOWORDWRAP) return {t.right, t.bottom};
        if (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT) return {0, 0};
        // These wrap at their width: every line must show.
        RECT lines{0, 0, 0, 0};
        ::GetClientRect(control, &lines);
        ::DrawTextW(dc.get(), text, -1, &lines, DT_CALCRECT | DT_WORDBREAK);
        return {lines.right, lines.bottom};
    }
    switch (style & BS_TYPEMASK) {
    case BS_GROUPBOX: return {t.right + s(16), t.bottom};
    case BS_AUTOCHECKBOX:
    case BS_CHECKBOX:
    case BS_AUTORADIOBUTTON:
    case BS_RADIOBUTTON: return {t.right + s(18), std::max<LONG>(t.bottom, s(13))};
    default: {
        BUTTON_IMAGELIST list{};
        int cx = 0, cy = 0;
        if (::SendMessageW(control, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list)) && list.himl)
            ImageList_GetIconSize(list.himl, &cx, &cy);
        return {t.right + s(8), t.bottom + s(4) + (cy ? cy + list.margin.top + list.margin.bottom : 0)};
    }
    }
}

struct Check {
    UINT dpi;
    std::wstring misfits;
};

BOOL CALLBACK CheckOne(HWND control, LPARAM param)
{
    auto* check = reinterpret_cast<Check*>(param);
    RECT r;
    ::GetClientRect(control, &r);
    const SIZE need = Needed(control, check->dpi);
    wchar_t text[256] = {}, line[400];
    ::GetWindowTextW(control, text, 256);
    swprintf(line, 400, L"\"%ls\" needs %ld x %ld, has %ld x %ld\n", text, need.cx, need.cy, r.right, r.bottom);
    if (need.cx > r.right || need.cy > r.bottom) check->misfits += line;
    return TRUE;
}

// Lays form out at dpi as WM_DPICHANGED does, and lists every control too small.
std::wstring Misfits(const win::Form& form, UINT dpi)
{
    // The rectangle the system suggests: the client area scaled, in a frame
    // that Wine keeps at the session's DPI.
    RECT r, client;
    ::GetWindowRect(form.Hwnd(), &r);
    ::GetClientRect(form.Hwnd(), &client);
    const UINT from = form.Dpi();
    RECT suggested{r.left, r.top, r.right - client.right + ::MulDiv(client.right, dpi, from),
                   r.bottom - client.bottom + ::MulDiv(client.bottom, dpi, from)};
    ::SendMessageW(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    Check check{dpi, L""};
    ::EnumChildWindows(form.Hwnd(), CheckOne, reinterpret_cast<LPARAM>(&check));
    return check.misfits;
}

}  // namespace

TEST(DpiLayout, EveryTextFitsItsControlAt96144And192Dpi)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    auto form1 = std::make_unique<TForm1>();
    if (!form1->Hwnd()) GTEST_SKIP() << "no display";
    TFileExistsForm fileExists;
    TSelectForm select(form1->AppSettings.CaptureShapeIndex);
    TImageEdForm imageEd;
    TSetForm settings(form1->AppSettings);
    settings.SetHotKeyNote(HotKeyProblem(VK_SNAPSHOT, 0, true));  // the longest note
    TPreviewForm preview(form1->ActionList1, PreviewCommands(), form1->Picture, RGB(255, 255, 255));
    const win::Form* forms[] = {form1.get(), &fileExists, &select, &imageEd, &settings, &preview};
    long objects = -1;
    for (UINT dpi : {96u, 144u, 192u}) {
        for (const win::Form* form : forms) {
            wchar_t title[64] = {};
            ::GetWindowTextW(form->Hwnd(), title, 64);
            EXPECT_EQ(Misfits(*form, dpi), L"") << "in " << title << " at " << dpi << " DPI";
        }
        // Fonts and pictures made for another DPI are released once replaced.
        if (objects >= 0) {
            EXPECT_EQ(win::gdiObjectCount, objects) << dpi;
        }
        objects = win::gdiObjectCount;
    }
}
