// The settings dialog's recording column.
#include <windows.h>
#include <commctrl.h>

#include <iterator>
#include <string>

#include "app/CaptureHotKey.h"
#include "app/RecordingSettings.h"
#include "app/SettingsDialog.h"

namespace {

int ChoiceIndex(const int* values, int count, int value)
{
    for (int i = 0; i < count; ++i)
        if (values[i] == value) return i;
    return 0;
}

}  // namespace

void TSetForm::CreateRecordingGroup()
{
    const int x = 495;  // right of the first layout, kRecordColumn wide
    AddControl(L"BUTTON", L" Record GIF ", BS_GROUPBOX, x, 5, 205, 310, RecordGroup);
    AddControl(L"STATIC", L"Record Key:", SS_LEFTNOWORDWRAP, x + 10, 25, 185, 14, RecordKeyLabel);
    PrepareKeyBox(AddControl(HOTKEY_CLASSW, L"", WS_TABSTOP | WS_GROUP, x + 10, 42, 185, 21, RecordKeyEd,
                             WS_EX_CLIENTEDGE));
    AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, x + 10, 67, 185, 80, RecordKeyNote);
    AddControl(L"STATIC", L"Frames per second:", SS_LEFTNOWORDWRAP, x + 10, 155, 185, 14, RecordRateLabel);
    HWND rate = AddControl(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, x + 10, 172,
                           90, 160, RecordRateBox);
    for (int value : kRecordFrameRates)
        ::SendMessageW(rate, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(value).c_str()));
    AddControl(L"STATIC", L"Longest recording (seconds):", SS_LEFTNOWORDWRAP, x + 10, 205, 185, 14,
               RecordLongestLabel);
    HWND longest = AddControl(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, x + 10,
                              222, 90, 160, RecordLongestBox);
    for (int value : kRecordLongestChoices)
        ::SendMessageW(longest, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(value).c_str()));
    AddControl(L"BUTTON", L"Show the mouse pointer", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, x + 10, 257, 185, 17,
               RecordPointerBox);
}

void TSetForm::LoadRecordingGroup()
{
    ::SendDlgItemMessageW(Hwnd(), RecordKeyEd, HKM_SETHOTKEY,
                          static_cast<WPARAM>(HotKeyControlValue(settings_.RecordHotKey)), 0);
    ::SendDlgItemMessageW(Hwnd(), RecordRateBox, CB_SETCURSEL,
                          ChoiceIndex(kRecordFrameRates, static_cast<int>(std::size(kRecordFrameRates)),
                                      ValidFrameRate(settings_.RecordFramesPerSecond)),
                          0);
    ::SendDlgItemMessageW(Hwnd(), RecordLongestBox, CB_SETCURSEL,
                          ChoiceIndex(kRecordLongestChoices, static_cast<int>(std::size(kRecordLongestChoices)),
                                      ValidLongestSeconds(settings_.RecordLongestSeconds)),
                          0);
    ::CheckDlgButton(Hwnd(), RecordPointerBox, settings_.RecordShowPointer ? BST_CHECKED : BST_UNCHECKED);
}

void TSetForm::StoreRecordingGroup()
{
    settings_.RecordHotKey = KeyInRow(RecordKeyEd);
    const auto rate = ::SendDlgItemMessageW(Hwnd(), RecordRateBox, CB_GETCURSEL, 0, 0);
    if (rate >= 0 && rate < static_cast<LRESULT>(std::size(kRecordFrameRates)))
        settings_.RecordFramesPerSecond = kRecordFrameRates[rate];
    const auto longest = ::SendDlgItemMessageW(Hwnd(), RecordLongestBox, CB_GETCURSEL, 0, 0);
    if (longest >= 0 && longest < static_cast<LRESULT>(std::size(kRecordLongestChoices)))
        settings_.RecordLongestSeconds = kRecordLongestChoices[longest];
    settings_.RecordShowPointer = ::IsDlgButtonChecked(Hwnd(), RecordPointerBox) == BST_CHECKED;
}

void TSetForm::SetRecordKeyNote(const std::wstring& note)
{
    recordKeyNote_ = note;
    ::SetDlgItemTextW(Hwnd(), RecordKeyNote, note.c_str());
}
