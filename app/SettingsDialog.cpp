#include "app/SettingsDialog.h"

#include <commctrl.h>

#include "app/CaptureHotKey.h"
#include "resources/resource.h"
#include "win/Application.h"
#include "win/Gdi.h"
#include "win/Strings.h"
#include "win/ToolTip.h"

namespace {
constexpr wchar_t kSetClass[] = L"TSetForm";
// The capture key's row at the foot of the second group; the group, the
// buttons below it and the dialog grow by its height.
constexpr int kKeyRow = 45;
// The recording's column right of the groups; the dialog grows by its width.

BYTE HeldModifiers()
{
    BYTE modifiers = 0;
    if (::GetKeyState(VK_SHIFT) < 0) modifiers |= HOTKEYF_SHIFT;
    if (::GetKeyState(VK_CONTROL) < 0) modifiers |= HOTKEYF_CONTROL;
    if (::GetKeyState(VK_MENU) < 0) modifiers |= HOTKEYF_ALT;
    return modifiers;
}

// Windows sends no key-down for Print Screen, only its key-up (a system
// key-up with Alt held), so the hot-key control cannot record it by itself:
// the key-up sets it, with the modifiers held, as a key-down of another key
// would. Where a key-down does come (Wine sends one), the control has taken
// the key with the modifiers of that moment; the reference data remembers it.
LRESULT CALLBACK CaptureKeySubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR keyDownSeen) noexcept
{
    if (wParam == VK_SNAPSHOT && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
        ::SetWindowSubclass(hwnd, CaptureKeySubclass, id, 1);
    } else if (wParam == VK_SNAPSHOT && (message == WM_KEYUP || message == WM_SYSKEYUP)) {
        if (keyDownSeen) {
            ::SetWindowSubclass(hwnd, CaptureKeySubclass, id, 0);
        } else {
            ::SendMessageW(hwnd, HKM_SETHOTKEY, HotKeyControlValue(MAKEWORD(VK_SNAPSHOT, HeldModifiers())), 0);
            ::SendMessageW(::GetParent(hwnd), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hwnd), EN_CHANGE),
                           reinterpret_cast<LPARAM>(hwnd));
            return 0;
        }
    } else if (message == WM_KILLFOCUS) {
        ::SetWindowSubclass(hwnd, CaptureKeySubclass, id, 0);  // the key-up goes elsewhere
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, CaptureKeySubclass, id);
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}
}  // namespace

void PrepareKeyBox(HWND key)
{
    ::SendMessageW(key, HKM_SETRULES, 0, 0);
    ::SetWindowSubclass(key, CaptureKeySubclass, 1, 0);
}

TSetForm::TSetForm(TAppSettings& settings) : settings_(settings)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    win::RegisterFormClass(kSetClass, WindowProc, ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAVRO)),
                           ::GetSysColorBrush(COLOR_BTNFACE));
    CreateFormWindow(kSetClass, L" Settings", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
                     kCaptureGroupLeft + kCaptureGroupWidth, 353 + kKeyRow, true);

    // Created in tab order: OK first, so it has the focus when the dialog opens.
    HWND ok = AddControl(L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 15, 285 + kKeyRow, 75, 50,
                         OKBut);

    // The Office settings; positions inside the group box at (5, 5).
    AddControl(L"BUTTON", L" Microsoft Office Settings ", BS_GROUPBOX, 5, 5, 480, 100, PowerPointGroup);
    AddControl(L"STATIC", L"User Name:", SS_LEFT, 15, 22, 200, 14, NameLabel);
    AddControl(L"EDIT", L"Your Name Here", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, 15, 40, 460, 21, NameEd,
               WS_EX_CLIENTEDGE);
    // The boxes and labels are wider than their first layout, which cut their
    // texts in the dialog font; each keeps its place.
    AddControl(L"BUTTON", L"Put User Name on Slides", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 15, 70, 175, 17,
               NameBox);
    AddControl(L"BUTTON", L"Put Date on Slides", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 230, 70, 145, 17,
               DateBox);

    // The second group at (5, 120).
    AddControl(L"BUTTON", L"", BS_GROUPBOX, 5, 120, 480, 145 + kKeyRow, GroupBox1);
    AddControl(L"BUTTON", L"Set", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 15, 140, 50, 25, SetCapBut);
    AddControl(L"STATIC", L"Set Capture Shape", SS_LEFTNOWORDWRAP, 75, 145, 170, 14, 0);
    AddControl(L"BUTTON", L"Set", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 15, 175, 50, 25, SetProgBut);
    AddControl(L"STATIC", L"Set Image Program", SS_LEFTNOWORDWRAP, 75, 180, 170, 14, 0);
    AddControl(L"BUTTON", L"Show Hints", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 255, 170, 97, 17, ShowHintsBox);
    AddControl(L"BUTTON", L"Set", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 15, 210, 50, 25, SetBackColorBut);
    // The swatch follows its label, which needs more than the 105 pixels it once had.
    AddControl(L"STATIC", L"Set Background Color", SS_LEFTNOWORDWRAP, 75, 215, 135, 14, 0);
    AddControl(L"STATIC", L"", SS_OWNERDRAW, 215, 210, 25, 25, ColorShape);
    AddControl(L"BUTTON", L"Save Settings on Exit", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 255, 195, 140, 17,
               SaveOnExitBox);
    AddControl(L"BUTTON", L"Put Date on Image", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 255, 145, 145, 17,
               DateStampImageBox);
    AddControl(L"STATIC", L"Capture Key:", SS_LEFTNOWORDWRAP, 15, 244, 80, 14, CaptureKeyLabel);
    AddKeyBox(100, 241, CaptureKeyEd);
    // Three lines: the longest note (Print Screen taken by Windows) needs them.
    AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 15, 266, 460, 40, CaptureKeyNote);
    CreateRecordingGroup();

    CreateCaptureGroup();

    HWND cancel = AddControl(L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 135, 285 + kKeyRow,
                             75, 50, CancelBut);
    SetButtonPicture(ok, IDI_OK, 16);
    SetButtonPicture(cancel, IDI_CLOSE, 16);

    // Until the first showing the boxes have their own starting states.
    SetChecked(NameBox, true);
    SetChecked(DateBox, true);
    SetChecked(ShowHintsBox, true);
    SetChecked(SaveOnExitBox, true);
    SetChecked(DateStampImageBox, false);

    toolTip_ = win::CreateToolTips(Hwnd());
    if (toolTip_) win::Application.RegisterToolTip(toolTip_);
    AddCaptureGroupTips();
    CenterOnDesktop();
}

HWND TSetForm::AddKeyBox(int x, int y, int id)
{
    HWND key = AddControl(HOTKEY_CLASSW, L"", WS_TABSTOP | WS_GROUP, x, y, 150, 21, id, WS_EX_CLIENTEDGE);
    PrepareKeyBox(key);
    return key;
}

void TSetForm::SetProgButText(const std::wstring& caption, const std::wstring& hint)
{
    HWND button = ::GetDlgItem(Hwnd(), SetProgBut);
    ::SetWindowTextW(button, caption.c_str());
    win::AddToolTip(toolTip_, Hwnd(), button, hint);
}

bool TSetForm::Checked(int id) const { return ::IsDlgButtonChecked(Hwnd(), id) == BST_CHECKED; }

void TSetForm::SetChecked(int id, bool checked)
{
    ::CheckDlgButton(Hwnd(), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool TSetForm::NameBoxChecked() const { return Checked(NameBox); }

bool TSetForm::DateBoxChecked() const { return Checked(DateBox); }

void TSetForm::SetDateStampImageChecked(bool checked) { SetChecked(DateStampImageBox, checked); }

void TSetForm::SetColorShape(COLORREF color)
{
    shapeColor_ = color;
    ::InvalidateRect(::GetDlgItem(Hwnd(), ColorShape), nullptr, FALSE);
}

void TSetForm::SetHotKeyNote(const std::wstring& note)
{
    hotKeyNote_ = note;
    ::SetDlgItemTextW(Hwnd(), CaptureKeyNote, note.c_str());
}

int TSetForm::KeyInRow(int keyId) const
{
    return StoredHotKey(LOWORD(::SendDlgItemMessageW(Hwnd(), keyId, HKM_GETHOTKEY, 0, 0)));
}

bool TSetForm::NoteKeyRefusal(int keyId, int noteId, const std::wstring& note)
{
    const int key = KeyInRow(keyId);
    const bool allowed = HotKeyAllowed(key);
    ::SetDlgItemTextW(Hwnd(), noteId, (allowed ? note : HotKeyRefusal(key)).c_str());
    return !allowed;
}

void TSetForm::FormShow()
{
    ::SetDlgItemTextW(Hwnd(), NameEd, settings_.UserName.c_str());
    SetChecked(NameBox, settings_.NameOnSlides);
    SetChecked(DateBox, settings_.DateOnSlides);
    SetChecked(ShowHintsBox, settings_.ShowHints);
    SetChecked(SaveOnExitBox, settings_.SaveOnExit);
    SetChecked(DateStampImageBox, settings_.DateStampImage);
    SetColorShape(static_cast<COLORREF>(settings_.BackgroundColor));
    ::SendDlgItemMessageW(Hwnd(), CaptureKeyEd, HKM_SETHOTKEY,
                          static_cast<WPARAM>(HotKeyControlValue(settings_.CaptureHotKey)), 0);
    LoadRecordingGroup();
    LoadCaptureGroup();
}

HWND TSetForm::InitialFocus() { return ::GetDlgItem(Hwnd(), OKBut); }

void TSetForm::OKButClick()
{
    // A key that would be taken from every program is not stored: the row
    // says why and the dialog stays open.
    if (NoteKeyRefusal(CaptureKeyEd, CaptureKeyNote, hotKeyNote_)) {
        ::SetFocus(::GetDlgItem(Hwnd(), CaptureKeyEd));
        return;
    }
    if (NoteKeyRefusal(RecordKeyEd, RecordKeyNote, recordKeyNote_)) {
        ::SetFocus(::GetDlgItem(Hwnd(), RecordKeyEd));
        return;
    }
    if (!CaptureGroupValid()) return;
    settings_.UserName = win::WindowText(::GetDlgItem(Hwnd(), NameEd));
    settings_.NameOnSlides = Checked(NameBox);
    settings_.DateOnSlides = Checked(DateBox);
    settings_.ShowHints = Checked(ShowHintsBox);
    settings_.SaveOnExit = Checked(SaveOnExitBox);
    settings_.DateStampImage = Checked(DateStampImageBox);
    settings_.CaptureHotKey = KeyInRow(CaptureKeyEd);
    StoreRecordingGroup();
    StoreCaptureGroup();
    SetModalResult(win::mrOk);
}

bool TSetForm::OnCommand(int id, int code, HWND)
{
    if (id == CaptureKeyEd && code == EN_CHANGE) {
        NoteKeyRefusal(CaptureKeyEd, CaptureKeyNote, hotKeyNote_);
        return true;
    }
    if (id == RecordKeyEd && code == EN_CHANGE) {
        NoteKeyRefusal(RecordKeyEd, RecordKeyNote, recordKeyNote_);
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
    case OKBut:
        OKButClick();
        return true;
    case SetCapBut:
        if (SetCapButClick) win::RunCommand(SetCapButClick);
        return true;
    case SetProgBut:
        if (SetProgButClick) win::RunCommand(SetProgButClick);
        return true;
    case SetBackColorBut:
        if (SetBackColorButClick) win::RunCommand(SetBackColorButClick);
        return true;
    default:
        return false;
    }
}

void TSetForm::DrawColorShape(const DRAWITEMSTRUCT& item) const
{
    // A filled square with a one-pixel black outline.
    win::FillSolidRect(item.hDC, item.rcItem, RGB(0, 0, 0));
    RECT inner = item.rcItem;
    ::InflateRect(&inner, -1, -1);
    win::FillSolidRect(item.hDC, inner, shapeColor_);
}

LRESULT TSetForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM && wParam == static_cast<WPARAM>(ColorShape)) {
        DrawColorShape(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

void SettingsActionExecute(TSetForm& dialog) { dialog.ShowModal(); }
