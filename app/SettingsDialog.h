// The settings dialog: edits the settings that have no dialog of their own,
// and reaches the three that do (capture shape, image program, background
// colour) through its "Set" buttons, which act at once.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "win/Form.h"
#include "win/UniqueHandle.h"

class TSetForm : public win::Form {
public:
    // settings: the values the dialog loads when shown and stores on OK.
    explicit TSetForm(TAppSettings& settings);

    // The three "Set" buttons; set by the owner.
    std::function<void()> SetCapButClick;
    std::function<void()> SetProgButClick;
    std::function<void()> SetBackColorButClick;
    // The image-program button shows its command's caption and hint (once).
    void SetProgButText(const std::wstring& caption, const std::wstring& hint);

    // The Office check boxes as they stand now (stored or not): the exports
    // follow them.
    bool NameBoxChecked() const;
    bool DateBoxChecked() const;
    // "Put Date on Image", kept in step with the date-stamp commands.
    void SetDateStampImageChecked(bool checked);
    // Repaints the colour swatch.
    void SetColorShape(COLORREF color);
    // Why the capture key may not start a capture; empty when it will.
    void SetHotKeyNote(const std::wstring& note);
    // The same for the "Capture Last Region" key.
    void SetLastRegionKeyNote(const std::wstring& note);

    void OKButClick();

    // The recording's column (RecordingSettingsGroup.cpp): its key with the
    // note why it may not serve, the frame rate, the longest recording and
    // the pointer.
    void SetRecordKeyNote(const std::wstring& note);
    enum RecordControlId : int {
        RecordGroup = 5100,
        RecordKeyLabel,
        RecordKeyEd,
        RecordKeyNote,
        RecordRateLabel,
        RecordRateBox,
        RecordLongestLabel,
        RecordLongestBox,
        RecordPointerBox,
    };

    enum ControlId : int {
        OKBut = IDOK,
        CancelBut = IDCANCEL,
        PowerPointGroup = 5001,
        NameLabel,
        NameEd,
        NameBox,
        DateBox,
        GroupBox1,
        SetCapBut,
        SetProgBut,
        SetBackColorBut,
        ColorShape,
        DateStampImageBox,
        ShowHintsBox,
        SaveOnExitBox,
        CaptureKeyLabel,
        CaptureKeyEd,
        CaptureKeyNote,
        // The capture group (SettingsCaptureGroup.cpp).
        AfterCaptureGroup,
        ShowPreviewBox,
        CopyAfterBox,
        SaveAfterBox,
        PinAfterBox,
        SaveFolderEd,
        FileNamePatternEd,
        SaveTypeCombo,
        ShowPointerBox,
        LastRegionKeyEd,
        LastRegionKeyNote,
    };

protected:
    void FormShow() override;
    HWND InitialFocus() override;
    bool OnCommand(int id, int code, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    void DrawColorShape(const DRAWITEMSTRUCT& item) const;
    // The key a key row's hot-key control holds, as stored.
    int KeyInRow(int keyId) const;
    // Shows in noteId why the row's key is refused (true), else note.
    bool NoteKeyRefusal(int keyId, int noteId, const std::wstring& note);
    void CreateRecordingGroup();
    void LoadRecordingGroup();
    void StoreRecordingGroup();
    // The recording's column right of the first layout, then the capture group's.
    static constexpr int kRecordColumn = 215;
    static constexpr int kCaptureGroupLeft = 492 + kRecordColumn;
    static constexpr int kCaptureGroupWidth = 250;
    // A hot-key box that also takes Print Screen.
    HWND AddKeyBox(int x, int y, int id);
    // The capture group at the dialog's right: the steps after a capture, the
    // folder's file names, the pointer and the "Capture Last Region" key.
    void CreateCaptureGroup();
    void AddCaptureGroupTips();
    void LoadCaptureGroup();
    // False, with the reason said and its box focused, when what was typed
    // cannot serve; nothing is stored then.
    bool CaptureGroupValid();
    void StoreCaptureGroup();

    TAppSettings& settings_;
    COLORREF shapeColor_ = RGB(255, 255, 255);
    HWND toolTip_ = nullptr;
    std::wstring hotKeyNote_;  // why the capture key may not serve, as last set
    std::wstring recordKeyNote_;  // the same for the recording key
};

// Lets a hot-key box take a key alone and Print Screen (whose key-down
// Windows does not send).
void PrepareKeyBox(HWND key);

// Shows the settings dialog modally.
void SettingsActionExecute(TSetForm& dialog);
