// The main form: the controller of the program. It owns the tray icon and its
// menu, the action list, the settings, the captured picture with its
// selection, the common dialogs and what the commands keep for the run, and
// runs the start-up and shutdown sequences; its own face is the small About
// window. The commands themselves live in the feature folders and
// are bound to the action list in CommandBindings.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "app/AppSettings.h"
#include "app/CaptureHotKey.h"
#include "app/TrayIcon.h"
#include "capture/ColorDialog.h"
#include "capture/LastRegion.h"
#include "capture/Selection.h"
#include "output/Mail.h"
#include "output/OfficeLinks.h"
#include "output/PictureSaveDialog.h"
#include "output/Print.h"
#include "preview/Document.h"
#include "preview/PinWindow.h"
#include "win/ActionList.h"
#include "win/Form.h"
#include "win/UniqueHandle.h"

class TPreviewForm;
class TSetForm;

// Command ids of the tray menu items that are not actions.
// New items go between "CAPTURE SCREEN" and Exit, with the next free ids:
// RecordGif = 2003, CaptureLastRegion = 2004.
enum TrayCommand : int { SaveScreenSelect = 2001, Exit1 = 2002, RecordGif = 2003, CaptureLastRegion = 2004 };

class TForm1 : public win::Form {
public:
    TForm1();
    ~TForm1() override;

    // Adds the tray icon (now or, while the shell refuses it, later), once
    // all forms exist.
    void Loaded();

    // The user's settings: read at creation, written at an orderly close.
    TAppSettings AppSettings;
    TStTrayIcon Tray1;
    win::UniqueMenu Menu1;  // the tray popup menu
    win::TActionList ActionList1;
    TColorDialog ColorDialog1;  // the background colour dialog
    TPicDialog PicDialog;       // the save dialog
    TPrintDialog PrintDialog1;
    // The captured picture with its edits: the preview shows it and every
    // output command reads it.
    Document Picture;
    // The Office documents the exports keep for the whole run.
    OfficeLinks OfficeLinks1;
    MailState Mail;  // the mail command's once-per-run explanation
    std::wstring HelpPath;  // where Help last found the help file
    // The global capture key, registered on this window.
    TCaptureHotKey HotKey1;
    // The "Capture Last Region" key.
    TCaptureHotKey LastRegionKey{TCaptureHotKey::kLastRegionId};
    // Where the last capture of this run was cut; none before the first.
    std::optional<LastRegion> LastCaptureRegion;
    // The pictures pinned to the screen; closed at exit.
    PinBoard Pins;

    // Wiring, set once at start-up: the preview (closed at exit, shows the
    // hints), the settings dialog (closed at exit) and the capture command
    // behind "CAPTURE SCREEN".
    TPreviewForm* PreviewForm = nullptr;
    TSetForm* SetForm = nullptr;
    std::function<void()> SaveScreenSelectClick;
    std::function<void()> CaptureLastRegionClick;

    // Recording a GIF: its key, its save dialog (the name carries over), the
    // command behind "Record GIF", and what stops the recording under way
    // (empty while none runs).
    TCaptureHotKey RecordHotKey{TCaptureHotKey::kRecordId};
    TPicDialog RecordDialog;
    std::function<void()> RecordGifClick;
    std::function<void()> StopRecording;
    // A recording starts (stop given) or ends (stop empty): the tray's tip
    // says so and a press on the icon stops it.
    void RecordingChanged(std::function<void()> stop);
    // The recording's save is over: an Exit asked for meanwhile goes on.
    void RecordingDone();
    void ApplyRecordHotKey();

    bool SaveScreenSelectEnabled() const;
    void SetSaveScreenSelectEnabled(bool enabled);

    // Start-up and shutdown.
    void FormCreate();
    void ReadIniFile();
    void SaveIniFile();

    // Starts a capture as "CAPTURE SCREEN" does, from the message loop: the
    // capture key, a second start of the program. Nothing while one runs.
    void RequestCapture();
    // Registers AppSettings.CaptureHotKey and LastRegionHotKey when they
    // changed or could not serve; a key that cannot serve is said once, in a
    // balloon.
    void ApplyCaptureHotKey();
    // Keeps the place of a capture; "Capture Last Region" is available from then on.
    void RegionCaptured(const LastRegion& region);
    // Says in a balloon where a capture was saved; a click on it shows the file.
    void ShowSavedBalloon(const std::wstring& file);
    // The capture delay in the icon's tool tip; 0 puts the tip back. While
    // the seconds run, a press on the icon cancels them.
    void ShowCountdown(int secondsLeft) noexcept;
    bool CountdownCancelled() const noexcept { return countdownCancelled_; }

    // Tray events.
    void Tray1Click();
    void Tray1DblClick(bool& restore);
    void Tray1Minimize();
    void RestoreMainWindow();

    void ShowAboutActionExecute();
    void Exit1Click();
    void ApplicationEvents1Hint();
    // Runs a command id from a menu, a button or a key, showing what it throws
    // in the standard error box.
    void ExecuteCommand(int id);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool FormCloseQuery() override;
    void FormClose() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void CreateAboutPanel();
    void FadeOut();
    void ApplyHotKey(TCaptureHotKey& key, int wanted, int& applied);
    void UpdateLastRegionItem();

    HICON icon_ = nullptr;
    // The notification area's pictures at its small size: the program's, and
    // the program's with a red dot while a recording runs.
    win::UniqueIcon trayIcon_;
    win::UniqueIcon recordingIcon_;
    bool closing_ = false;  // set when the close begins: no command starts after it
    int appliedHotKey_ = -1;  // none applied yet
    int appliedRecordKey_ = -1;
    bool exitAfterRecording_ = false;
    int appliedLastRegionKey_ = -1;
    bool capturing_ = false;  // a capture runs: neither tray item starts another
    std::wstring balloonFile_;  // the file the showing balloon tells of, if any
    bool countingDown_ = false;
    bool countdownCancelled_ = false;
    UINT exitRequest_ = 0;  // the registered message that asks for Exit
};
