// The settings dialog's capture group: what is done after a capture, the
// names of the files saved into the folder, the mouse pointer and the
// "Capture Last Region" key.
#include "app/SettingsDialog.h"

#include "app/CaptureHotKey.h"

#include <commctrl.h>

#include "output/CaptureFileName.h"
#include "output/FileNaming.h"
#include "win/Strings.h"
#include "win/ToolTip.h"

namespace {

// The types "Save in the folder" offers, in the list's order.
struct SaveType {
    const wchar_t* name;
    int fileType;
};
constexpr SaveType kSaveTypes[] = {{L"PNG", ftPNG}, {L"JPEG", ftJPEG}, {L"BMP", ftBMP}, {L"GIF", ftGIF}};

}  // namespace

void TSetForm::CreateCaptureGroup()
{
    const int x = kCaptureGroupLeft + 8;  // inside the groups
    const int w = kCaptureGroupWidth - 24;
    AddControl(L"BUTTON", L" After a Capture ", BS_GROUPBOX, kCaptureGroupLeft, 5, kCaptureGroupWidth - 8, 100,
               AfterCaptureGroup);
    AddControl(L"BUTTON", L"Show the preview", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, x, 22, 140, 17,
               ShowPreviewBox);
    AddControl(L"BUTTON", L"Copy to the clipboard", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, x, 42, 140, 17,
               CopyAfterBox);
    AddControl(L"BUTTON", L"Save in the folder", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, x, 62, 140, 17,
               SaveAfterBox);
    AddControl(L"BUTTON", L"Pin to the screen", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, x, 82, 140, 17,
               PinAfterBox);

    AddControl(L"BUTTON", L" Saving in the Folder ", BS_GROUPBOX, kCaptureGroupLeft, 110, kCaptureGroupWidth - 8,
               155, 0);
    AddControl(L"STATIC", L"Folder (empty: Pictures):", SS_LEFTNOWORDWRAP, x, 127, w, 14, 0);
    AddControl(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, x, 143, w, 21, SaveFolderEd,
               WS_EX_CLIENTEDGE);
    AddControl(L"STATIC", L"File name:", SS_LEFTNOWORDWRAP, x, 170, w, 14, 0);
    AddControl(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, x, 186, w, 21, FileNamePatternEd,
               WS_EX_CLIENTEDGE);
    AddControl(L"STATIC", L"Type:", SS_LEFTNOWORDWRAP, x, 220, 40, 14, 0);
    HWND types = AddControl(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, x + 45, 216,
                            90, 120, SaveTypeCombo);
    for (const SaveType& type : kSaveTypes)
        ::SendMessageW(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type.name));

    AddControl(L"BUTTON", L"Show the mouse pointer in captures", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP,
               kCaptureGroupLeft, 275, w, 17, ShowPointerBox);
    AddControl(L"STATIC", L"Last Region Key:", SS_LEFTNOWORDWRAP, kCaptureGroupLeft, 305, 95, 14, 0);
    AddKeyBox(kCaptureGroupLeft + 97, 302, LastRegionKeyEd);
    AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kCaptureGroupLeft, 327, kCaptureGroupWidth - 8, 40,
               LastRegionKeyNote);
    SetChecked(ShowPreviewBox, true);
}

void TSetForm::AddCaptureGroupTips()
{
    win::AddToolTip(toolTip_, Hwnd(), ::GetDlgItem(Hwnd(), FileNamePatternEd),
                    L"%Y %m %d %H %M %S: the time; %n: a counter; %w %h: the picture's size");
}

void TSetForm::SetLastRegionKeyNote(const std::wstring& note)
{
    ::SetDlgItemTextW(Hwnd(), LastRegionKeyNote, note.c_str());
}

void TSetForm::LoadCaptureGroup()
{
    SetChecked(ShowPreviewBox, settings_.AfterCaptureShowPreview);
    SetChecked(CopyAfterBox, settings_.AfterCaptureCopy);
    SetChecked(SaveAfterBox, settings_.AfterCaptureSave);
    SetChecked(PinAfterBox, settings_.AfterCapturePin);
    SetChecked(ShowPointerBox, settings_.ShowMousePointer);
    ::SetDlgItemTextW(Hwnd(), SaveFolderEd, settings_.SaveDir.c_str());
    ::SetDlgItemTextW(Hwnd(), FileNamePatternEd, settings_.FileNamePattern.c_str());
    int index = 0;
    for (int i = 0; i < static_cast<int>(std::size(kSaveTypes)); ++i)
        if (kSaveTypes[i].fileType == settings_.AutoSaveType) index = i;
    ::SendDlgItemMessageW(Hwnd(), SaveTypeCombo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendDlgItemMessageW(Hwnd(), LastRegionKeyEd, HKM_SETHOTKEY,
                          static_cast<WPARAM>(HotKeyControlValue(settings_.LastRegionHotKey)), 0);
}

bool TSetForm::CaptureGroupValid()
{
    std::wstring problem;
    int box = FileNamePatternEd;
    const std::wstring folder = win::WindowText(::GetDlgItem(Hwnd(), SaveFolderEd));
    const int captureKey = KeyInRow(CaptureKeyEd);
    const int lastRegionKey = KeyInRow(LastRegionKeyEd);
    const int recordKey = KeyInRow(RecordKeyEd);
    problem = FileNamePatternProblem(win::WindowText(::GetDlgItem(Hwnd(), FileNamePatternEd)));
    if (problem.empty() && Checked(SaveAfterBox) && !folder.empty() && !win::IsExistingFolder(folder)) {
        problem = win::FormatOne(L"The folder %s does not exist: choose one that does", folder);
        box = SaveFolderEd;
    }
    if (problem.empty() && (lastRegionKey & 0xFF) != 0 &&
        (lastRegionKey == captureKey || lastRegionKey == recordKey)) {
        problem = L"The last region key must differ from the capture key and the record key";
        box = LastRegionKeyEd;
    }
    if (problem.empty() && (recordKey & 0xFF) != 0 && recordKey == captureKey) {
        problem = L"The capture key and the record key must differ";
        box = RecordKeyEd;
    }
    if (problem.empty() && !HotKeyAllowed(lastRegionKey)) {
        problem = HotKeyRefusal(lastRegionKey);
        box = LastRegionKeyEd;
    }
    if (problem.empty()) return true;
    ::MessageBoxW(Hwnd(), problem.c_str(), L"Settings", MB_OK | MB_ICONWARNING);
    ::SetFocus(::GetDlgItem(Hwnd(), box));
    return false;
}

void TSetForm::StoreCaptureGroup()
{
    settings_.AfterCaptureShowPreview = Checked(ShowPreviewBox);
    settings_.AfterCaptureCopy = Checked(CopyAfterBox);
    settings_.AfterCaptureSave = Checked(SaveAfterBox);
    settings_.AfterCapturePin = Checked(PinAfterBox);
    settings_.ShowMousePointer = Checked(ShowPointerBox);
    settings_.SaveDir = win::WindowText(::GetDlgItem(Hwnd(), SaveFolderEd));
    settings_.FileNamePattern = win::WindowText(::GetDlgItem(Hwnd(), FileNamePatternEd));
    const LRESULT type = ::SendDlgItemMessageW(Hwnd(), SaveTypeCombo, CB_GETCURSEL, 0, 0);
    if (type >= 0 && type < static_cast<LRESULT>(std::size(kSaveTypes))) settings_.AutoSaveType = kSaveTypes[type].fileType;
    settings_.LastRegionHotKey = KeyInRow(LastRegionKeyEd);
}
