#include "capture/ShapeDialog.h"

#include "resources/resource.h"
#include "win/Gdi.h"
#include "win/RadioGroup.h"

namespace {
constexpr wchar_t kSelectClass[] = L"TSelectForm";
constexpr const wchar_t* kShapeCaptions[kCaptureShapeCount] = {
    L"Rectangle", L"Entire Screen", L"Ellipse", L"Circle", L"Square", L"Rounded Rectangle"};
}  // namespace

TSelectForm::TSelectForm(int& captureShapeIndex) : captureShapeIndex_(captureShapeIndex)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    win::RegisterFormClass(kSelectClass, WindowProc, ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAVRO)),
                           ::GetSysColorBrush(COLOR_BTNFACE));
    CreateFormWindow(kSelectClass, L" Select Capture Shape", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                     WS_EX_DLGMODALFRAME, 300, 318, true);

    HWND image = AddControl(L"STATIC", L"", SS_ICON, 12, 10, 32, 32, 0);
    SetControlIcon(image, instance, MAKEINTRESOURCEW(IDI_SHAPES));
    HWND heading = AddControl(L"STATIC", L"Select Capture Shape", SS_LEFT, 56, 19, 220, 18, Label1);
    UseHeadingFont(heading);

    AddControl(L"BUTTON", L" Capture Area Shape ", BS_GROUPBOX, 12, 50, 170, 168, ShapeGroup);
    for (int i = 0; i < kCaptureShapeCount; ++i)
        AddControl(L"BUTTON", kShapeCaptions[i],
                   BS_AUTORADIOBUTTON | WS_TABSTOP | (i == 0 ? WS_GROUP : 0), 24, 72 + i * 23, 150,
                   20, FirstShapeRadio + i);
    AddControl(L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 200, 58, 88, 26, OKBut);
    AddControl(L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 200, 92, 88, 26, CancelBut);
    AddControl(L"BUTTON", L"Don't Show This Screen", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 12, 226,
               276, 20, NoShowSelectFormBox);
    AddControl(L"STATIC", L"Hint:", SS_LEFT, 12, 256, 276, 16, 0);
    AddControl(L"STATIC", L"Click OK then click and drag on screen", SS_LEFT, 12, 274, 276, 16, 0);
    AddControl(L"STATIC", L"to select capture area.", SS_LEFT, 12, 292, 276, 16, 0);

    SetItemIndex(0);
    CenterOnDesktop();
}

int TSelectForm::ClampShapeIndex(int index) noexcept
{
    if (index < 0) return -1;
    return index >= kCaptureShapeCount ? kCaptureShapeCount - 1 : index;
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
}

HWND TSelectForm::InitialFocus() { return ::GetDlgItem(Hwnd(), OKBut); }

void TSelectForm::OKButClick()
{
    captureShapeIndex_ = ItemIndex();
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
