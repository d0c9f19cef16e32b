#include "output/FileExistsDialog.h"

#include "output/FileNaming.h"
#include "resources/resource.h"
#include "win/Gdi.h"
#include "win/RadioGroup.h"
#include "win/Strings.h"

namespace {
constexpr wchar_t kFileExistsClass[] = L"TFileExistsForm";
constexpr const wchar_t* kPolicyCaptions[] = {L"Always Ask", L"Always Overwrite", L"Always Rename"};
constexpr int kPolicyCount = 3;

// The button's own visibility flag: IsWindowVisible also asks the (possibly
// hidden) form.
bool Offered(HWND button)
{
    return (::GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE) != 0;
}
}  // namespace

TFileExistsForm::TFileExistsForm()
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    win::RegisterFormClass(kFileExistsClass, WindowProc, ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAVRO)),
                           ::GetSysColorBrush(COLOR_BTNFACE));
    CreateFormWindow(kFileExistsClass, L" File Exists", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                     WS_EX_DLGMODALFRAME, 380, 196, true);

    HWND icon = AddControl(L"STATIC", L"", SS_ICON, 12, 12, 32, 32, 0);
    SetControlIcon(icon, nullptr, IDI_WARNING);
    HWND label = AddControl(L"STATIC", L"File Already Exists:", SS_LEFT, 56, 12, 312, 18, Label1);
    HWND name = AddControl(L"STATIC", L"", SS_LEFT | SS_PATHELLIPSIS | SS_NOPREFIX, 56, 32, 312, 18,
                           FileNameLabel);
    UseHeadingFont(label);
    UseHeadingFont(name);

    AddControl(L"BUTTON", L"", BS_GROUPBOX, 12, 60, 200, 124, AlwaysGroup);
    for (int i = 0; i < kPolicyCount; ++i)
        AddControl(L"BUTTON", kPolicyCaptions[i], BS_AUTORADIOBUTTON | WS_TABSTOP | (i == 0 ? WS_GROUP : 0), 24,
                   80 + i * 30, 180, 22, FirstAlwaysRadio + i);
    AddControl(L"BUTTON", L"Overwrite", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 236, 68, 132, 28, OverwriteBut);
    AddControl(L"BUTTON", L"Rename", BS_PUSHBUTTON | WS_TABSTOP, 236, 104, 132, 28, RenameBut);
    AddControl(L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 236, 140, 132, 28, BitBtn1);
    // Enter never overwrites: it renames when Rename is offered, else does nothing.
    defaultButtonId_ = RenameBut;

    SetAlwaysGroupIndex(fepAlwaysAsk);
    CenterOnDesktop();
}

int TFileExistsForm::AlwaysGroupIndex() const
{
    return win::RadioGroupIndex(Hwnd(), FirstAlwaysRadio, kPolicyCount);
}

void TFileExistsForm::SetAlwaysGroupIndex(int index)
{
    win::SetRadioGroupIndex(Hwnd(), FirstAlwaysRadio, kPolicyCount, index);
    SetButtons();
}

void TFileExistsForm::SetFileNameLab(const std::wstring& name)
{
    ::SetDlgItemTextW(Hwnd(), FileNameLabel, name.c_str());
}

std::wstring TFileExistsForm::FileNameLab() const
{
    return win::WindowText(::GetDlgItem(Hwnd(), FileNameLabel));
}

void TFileExistsForm::SetButtons()
{
    const int policy = AlwaysGroupIndex();
    ::ShowWindow(::GetDlgItem(Hwnd(), OverwriteBut), policy != fepAlwaysRename ? SW_SHOWNA : SW_HIDE);
    ::ShowWindow(::GetDlgItem(Hwnd(), RenameBut), policy != fepAlwaysOverwrite ? SW_SHOWNA : SW_HIDE);
}

void TFileExistsForm::AlwaysGroupClick() { SetButtons(); }

void TFileExistsForm::FormShow() { SetButtons(); }

HWND TFileExistsForm::InitialFocus()
{
    for (int id : {static_cast<int>(RenameBut), static_cast<int>(OverwriteBut)}) {
        HWND button = ::GetDlgItem(Hwnd(), id);
        if (Offered(button)) return button;
    }
    return ::GetDlgItem(Hwnd(), BitBtn1);
}

bool TFileExistsForm::OnCommand(int id, int code, HWND)
{
    if (code != BN_CLICKED) return false;
    if (id >= FirstAlwaysRadio && id < FirstAlwaysRadio + kPolicyCount) {
        AlwaysGroupClick();
        return true;
    }
    // Enter reaches a hidden default button too: a hidden button does nothing.
    if ((id == OverwriteBut || id == RenameBut) && !Offered(::GetDlgItem(Hwnd(), id))) return true;
    switch (id) {
    case OverwriteBut: SetModalResult(win::mrOk); return true;
    case RenameBut: SetModalResult(win::mrNo); return true;
    case BitBtn1: SetModalResult(win::mrCancel); return true;
    default: return false;
    }
}

int FileExistsChoice(TFileExistsForm& form, const std::wstring& existingName)
{
    switch (form.AlwaysGroupIndex()) {
    case fepAlwaysRename: return win::mrNo;
    case fepAlwaysOverwrite: return win::mrOk;
    default:
        form.SetFileNameLab(SplitPath(existingName).name);
        return form.ShowModal();
    }
}
