#include "output/ImageProgramDialog.h"

#include <commdlg.h>

#include "output/ImageProgram.h"
#include "output/PictureSaveDialog.h"
#include "resources/resource.h"
#include "win/Gdi.h"
#include "win/RadioGroup.h"
#include "win/Strings.h"

namespace {
constexpr wchar_t kImageEdClass[] = L"TImageEdForm";
constexpr const wchar_t* kWayCaptions[kImageProgramWayCount] = {L"Use Program Above", L"Use Default Program",
                                                                L"Use Microsoft Paint"};
constexpr wchar_t kProgramFilter[] = L"Program (*.exe)|*.exe|All Files (*.*)|*.*";
}  // namespace

TImageEdForm::TImageEdForm()
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    win::RegisterFormClass(kImageEdClass, WindowProc, ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAVRO)),
                           ::GetSysColorBrush(COLOR_BTNFACE));
    CreateFormWindow(kImageEdClass, L" Set Image Edit or View Program", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                     WS_EX_DLGMODALFRAME, 420, 242, true);

    HWND icon = AddControl(L"STATIC", L"", SS_ICON, 12, 10, 32, 32, 0);
    SetControlIcon(icon, instance, MAKEINTRESOURCEW(IDI_PROGRAM));
    HWND heading = AddControl(L"STATIC", L"Set Image Edit or View Program", SS_LEFT, 56, 19, 352, 18, Label1);
    UseHeadingFont(heading);

    AddControl(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, 12, 52, 396, 23, ImageProgEd,
               WS_EX_CLIENTEDGE);
    AddControl(L"BUTTON", L"Browse", BS_PUSHBUTTON | WS_TABSTOP, 232, 84, 84, 26, BrowseBut);
    AddControl(L"BUTTON", L"Default", BS_PUSHBUTTON | WS_TABSTOP, 324, 84, 84, 26, DefaultBut);

    AddControl(L"BUTTON", L"", BS_GROUPBOX, 12, 116, 210, 90, ImageProgGroup);
    for (int i = 0; i < kImageProgramWayCount; ++i)
        AddControl(L"BUTTON", kWayCaptions[i], BS_AUTORADIOBUTTON | WS_TABSTOP | (i == 0 ? WS_GROUP : 0), 24,
                   132 + i * 23, 190, 20, FirstImageProgRadio + i);
    AddControl(L"BUTTON", L"Don't Show This Screen", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 12, 210, 210, 20,
               NoShowBox);
    AddControl(L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 324, 136, 84, 26, YesBut);
    AddControl(L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 324, 170, 84, 26, CancelBut);

    SetImageProgGroupIndex(ipUserProgram);
    CenterOnDesktop();
}

int TImageEdForm::Execute(const win::Bitmap& picture, std::wstring& imageProgram, int& imageProgIndex)
{
    session_ = Session{&picture, &imageProgram, &imageProgIndex};
    struct EndSession {
        Session& session;
        ~EndSession() { session = Session{}; }
    } end{session_};
    return ShowModal();
}

std::wstring TImageEdForm::ImageProgEdText() const
{
    return win::WindowText(::GetDlgItem(Hwnd(), ImageProgEd));
}

void TImageEdForm::SetImageProgEdText(const std::wstring& text)
{
    ::SetDlgItemTextW(Hwnd(), ImageProgEd, text.c_str());
}

int TImageEdForm::ImageProgGroupIndex() const
{
    return win::RadioGroupIndex(Hwnd(), FirstImageProgRadio, kImageProgramWayCount);
}

void TImageEdForm::SetImageProgGroupIndex(int index)
{
    win::SetRadioGroupIndex(Hwnd(), FirstImageProgRadio, kImageProgramWayCount, index);
}

bool TImageEdForm::NoShowChecked() const { return ::IsDlgButtonChecked(Hwnd(), NoShowBox) == BST_CHECKED; }

void TImageEdForm::SetNoShowChecked(bool checked)
{
    ::CheckDlgButton(Hwnd(), NoShowBox, checked ? BST_CHECKED : BST_UNCHECKED);
}

void TImageEdForm::FormShow()
{
    textWhenShown_ = ImageProgEdText();
    if (session_.imageProgram) SetImageProgEdText(*session_.imageProgram);
    // With no program of the user's yet, the associated one is offered, so the
    // box holds a path that OK can take or the user can change.
    if (session_.picture) {
        const std::wstring associated = GetDefaultProgram(*session_.picture);
        if (IsBlank(ImageProgEdText()) && !associated.empty()) SetImageProgEdText(associated);
    }
    // Another stored index selects Paint, as "Program" treats it.
    if (session_.imageProgIndex) {
        const int index = *session_.imageProgIndex;
        SetImageProgGroupIndex(index == ipUserProgram || index == ipDefaultProgram ? index : ipPaint);
    }
    checkedWhenShown_ = NoShowChecked();
}

HWND TImageEdForm::InitialFocus() { return ::GetDlgItem(Hwnd(), YesBut); }

void TImageEdForm::BrowseButClick()
{
    const std::wstring filter = TPicDialog::ApiFilter(kProgramFilter);
    std::wstring file = browseFileName_;
    file.resize(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Hwnd();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    // The current folder stays: the help file is also looked for there.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&ofn)) return;
    file.resize(file.find(L'\0'));
    browseFileName_ = file;
    SetImageProgEdText(file);
}

void TImageEdForm::DefaultButClick()
{
    if (!session_.picture) return;
    const std::wstring associated = GetDefaultProgram(*session_.picture);
    if (!IsBlank(associated)) SetImageProgEdText(associated);
}

void TImageEdForm::YesButClick()
{
    if (session_.imageProgIndex) *session_.imageProgIndex = ImageProgGroupIndex();
    const std::wstring text = ImageProgEdText();
    if (session_.imageProgram && !IsBlank(text)) *session_.imageProgram = text;
    SetModalResult(win::mrOk);
}

void TImageEdForm::CancelButClick()
{
    SetImageProgEdText(textWhenShown_);
    SetNoShowChecked(checkedWhenShown_);
    SetModalResult(win::mrCancel);
}

bool TImageEdForm::FormCloseQuery()
{
    // The close box takes back what was changed, as Cancel does.
    if (InModalLoop()) CancelButClick();
    return true;
}

bool TImageEdForm::OnCommand(int id, int code, HWND)
{
    if (code != BN_CLICKED) return false;
    switch (id) {
    case YesBut: YesButClick(); return true;
    case CancelBut: CancelButClick(); return true;
    case BrowseBut: BrowseButClick(); return true;
    case DefaultBut: DefaultButClick(); return true;
    default: return false;
    }
}

LRESULT TImageEdForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CTLCOLORSTATIC && ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == Label1) {
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    return Form::HandleMessage(message, wParam, lParam);
}
