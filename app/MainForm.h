// The main form: the controller of the program. It owns the tray icon and its
// menu, the action list, the captured picture and the background colour
// dialog, and runs the start-up and shutdown sequences; its own face is the
// small About window. The commands themselves live in the feature folders and
// are bound to the action list in CommandBindings.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/TrayIcon.h"
#include "capture/ColorDialog.h"
#include "output/OfficeLinks.h"
#include "preview/CapturedPicture.h"
#include "win/ActionList.h"
#include "win/Form.h"
#include "win/UniqueHandle.h"

class TPreviewForm;
class TSetForm;

// Command ids of the tray menu items that are not actions.
enum TrayCommand : int { SaveScreenSelect = 2001, Exit1 = 2002 };

class TForm1 : public win::Form {
public:
    TForm1();
    ~TForm1() override;

    // Adds the tray icon, once all forms exist.
    void Loaded();

    TStTrayIcon Tray1;
    win::UniqueMenu Menu1;  // the tray popup menu
    win::TActionList ActionList1;
    TColorDialog ColorDialog1;  // the background colour dialog
    // The picture the preview shows and every output command uses.
    TCapturedPicture Picture;
    // The Office documents the exports keep for the whole run.
    OfficeLinks OfficeLinks1;
    std::wstring HelpPath;  // where Help last found the help file

    // Wiring, set once at start-up: the preview (closed at exit, shows the
    // hints), the settings dialog (closed at exit) and the capture command
    // behind "CAPTURE SCREEN".
    TPreviewForm* PreviewForm = nullptr;
    TSetForm* SetForm = nullptr;
    std::function<void()> SaveScreenSelectClick;

    bool SaveScreenSelectEnabled() const;
    void SetSaveScreenSelectEnabled(bool enabled);

    // Start-up and shutdown.
    void FormCreate();
    void ReadIniFile();
    void SaveIniFile();

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

    win::UniqueFont labelFont_;
    HICON icon_ = nullptr;
    UINT exitRequest_ = 0;  // the registered message that asks for Exit
};
