#include "capture/ShapeDialog.h"

#include <algorithm>
#include <iterator>

#include "resources/resource.h"
#include "win/Gdi.h"
#include "win/RadioGroup.h"

namespace {
constexpr wchar_t kSelectClass[] = L"TSelectForm";
constexpr const wchar_t* kShapeCaptions[kCaptureShapeCount] = {
    L"Rectangle", L"Entire Screen", L"Ellipse", L"Circle", L"Square", L"Rounded Rectangle", L"Window"};
constexpr const wchar_t* kDelayCaptions[] = {L"None", L"3 seconds", L"5 seconds", L"10 seconds"};
static_assert(std::size(kDelayCaptions) == std::size(kCaptureDelays));
constexpr int kRadioStep = 23;
// Everything below the radio group moves down with its last item.
constexpr int kBelowGroup = (kCaptureShapeCount - 6) * kRadioStep;
}  // namespace

TSelectForm::TSelectForm(int& captureShapeIndex) : captureShapeIndex_(captureShapeIndex)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    win::RegisterFormClass(kSelectClass, WindowProc, ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAVRO)),
                           ::GetSysColorBrush(COLOR_BTNFACE));
    CreateFormWindow(kSelectClass, L" Select Capture Shape", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                     WS_EX_DLGMODALFRAME, 300, 318 + kBelowGroup, true);

    HWND image = AddControl(L"STATIC", L"", SS_ICON, 12, 10, 32, 32, 0);
    SetControlIcon(image, instance, MAKEINTRESOURCEW(IDI_SHAPES));
    HWND heading = AddControl(L"STATIC", L"Select Capture Shape", SS_LEFT, 56, 19, 220, 18, Label1);
    UseHeadingFont(heading);

    AddControl(L"BUTTON", L" Capture Area Shape ", BS_GROUPBOX, 12, 50, 170, 168 + kBelowGroup, ShapeGroup);
    for (int i = 0; i < kCaptureShapeCount; ++i)
        AddControl(L"BUTTON", kShapeCaptions[i],
                   BS_AUTORADIOBUTTON | WS_TABSTOP | (i == 0 ? WS_GROUP : 0), 24, 72 + i * kRadioStep, 150,
                   20, FirstShapeRadio + i);
    AddControl(L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 200, 58, 88, 26, OKBut);
    AddControl(L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 200, 92, 88, 26, CancelBut);
    AddControl(L"STATIC", L"Delay:", SS_LEFT, 200, 132, 88, 16, DelayLabel);
    HWND delay = AddControl(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 200, 150,
                            88, 120, DelayBox);
    for (const wchar_t* caption : kDelayCaptions)
        ::SendMessageW(delay, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption));
    ::SendMessageW(delay, CB_SETCURSEL, 0, 0);
    const int below = kBelowGroup;
    AddControl(L"BUTTON", L"Don't Show This Screen", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 12, 226 + below,
               276, 20, NoShowSelectFormBox);
    AddControl(L"STATIC", L"Hint:", SS_LEFT, 12, 256 + below, 276, 16, 0);
    AddControl(L"STATIC", L"Click OK then click and drag on screen", SS_LEFT, 12, 274 + below, 276, 16, 0);
    AddControl(L"STATIC", L"to select capture area.", SS_LEFT, 12, 292 + below, 276, 16, 0);

    SetItemIndex(0);
    CenterOnDesktop();
}

int TSelectForm::ClampShapeIndex(int index) noexcept
{
    if (index < 0) return -1;
    return index >= kCaptureShapeCount ? csRectangle : index;
}

int TSelectForm::ItemIndex() const { return win::RadioGroupIndex(Hwnd(), FirstShapeRadio, kCaptureShapeCount); }

void TSelectForm::SetItemIndex(int index)
{
    win::SetRadioGroupIndex(Hwnd(), FirstShapeRadio, kCaptureShapeCount, index);
}

bool TSelectForm::NoShowChecked() const
{
    return ::IsDlgButtonChecked(Hwnd(), NoShowSelectFormBox) == BST_CHECKED;
}

void TSelectForm::SetNoShowChecked(bool checked)
{
    ::CheckDlgButton(Hwnd(), NoShowSelectFormBox, checked ? BST_CHECKED : BST_UNCHECKED);
}

void TSelectForm::FormShow()
{
    checkedWhenShown_ = NoShowChecked();
    SetItemIndex(ClampShapeIndex(captureShapeIndex_));
    const auto chosen = std::find(std::begin(kCaptureDelays), std::end(kCaptureDelays), delaySeconds_);
    ::SendDlgItemMessageW(Hwnd(), DelayBox, CB_SETCURSEL, static_cast<WPARAM>(chosen - std::begin(kCaptureDelays)), 0);
}

HWND TSelectForm::InitialFocus() { return ::GetDlgItem(Hwnd(), OKBut); }

void TSelectForm::OKButClick()
{
    captureShapeIndex_ = ItemIndex();
    const LRESULT delay = ::SendDlgItemMessageW(Hwnd(), DelayBox, CB_GETCURSEL, 0, 0);
    delaySeconds_ = delay >= 0 && delay < static_cast<LRESULT>(std::size(kCaptureDelays)) ? kCaptureDelays[delay] : 0;
    SetModalResult(win::mrOk);
}

void TSelectForm::CancelButClick()
{
    SetNoShowChecked(checkedWhenShown_);
    SetModalResult(win::mrCancel);
}

bool TSelectForm::OnCommand(int id, int code, HWND)
{
    if (code != BN_CLICKED) return false;
    if (id == OKBut) {
        OKButClick();
        return true;
    }
    if (id == CancelBut) {
        CancelButClick();
        return true;
    }
    return false;
}

LRESULT TSelectForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CTLCOLORSTATIC &&
        ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == Label1) {
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    return Form::HandleMessage(message, wParam, lParam);
}
