// The main form: the controller of the program. It owns the tray icon and its
// menu, the action list, the shared bitmaps and the start-up and shutdown
// sequences; its own face is the small About window.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/Actions.h"
#include "app/TrayIcon.h"
#include "capture/ColorDialog.h"
#include "win/Bitmap.h"
#include "win/Form.h"
#include "win/UniqueHandle.h"

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
    TActionList ActionList1;
    TColorDialog ColorDialog1;  // the background colour dialog

    // The picture the preview shows and every output command uses, and the
    // clean capture the transforms start from. Created by ReadIniFile.
    std::unique_ptr<win::Bitmap> OutputImage;
    std::unique_ptr<win::Bitmap> MasterImage;

    // Transform state of the current picture.
    int RotationCount = 0;
    bool MirrorFlag = false;
    bool DateStampShown = false;

    std::wstring HelpPath;

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

    // Commands.
    void ShowAboutActionExecute();
    void SettingsActionExecute();
    void ShowHelpActionExecute();
    bool HH(UINT command, DWORD_PTR data, bool& callHelp);
    void Exit1Click();
    void ApplicationEvents1Hint();
    void ExecuteCommand(int id);

    // The capture command.
    void SaveScreenSelectClick();
    bool SaveScreen();
    bool ShowPreview();
    void GrabDesktop();
    void DrawPreview();
    void WriteLogoOnImage(win::Bitmap& image);

    // Commands and routines built in other units; each is defined in the unit
    // that owns it and is listed in the action table once it exists.
    void MakePowerPointActionExecute();
    void SaveFileActionExecute();
    void MakeWordActionExecute();
    void MakeExcelActionExecute();
    void CopyToClipboardActionExecute();
    void PrintActionExecute();
    void MailActionExecute();
    void RunSelectedEditorActionExecute();
    void SetImageEditorActionExecute();
    void RunUserProgramOnlyActionExecute();
    void RunDefaultProgramOnlyActionExecute();
    void RunMSPaintOnlyActionExecute();
    void ClockwiseActionExecute();
    void CounterClockwiseActionExecute();
    void MirrorActionExecute();
    void BackgroundColorDialogActionExecute();
    void BackgroundColorPickOnScreenActionExecute();
    void DateStampBMPActionExecute();
    void UnDateStampBMPActionExecute();
    void RecomposeCapture();
    COLORREF PickColorOnScreen();
    void RotateImage(bool clockwise);
    void MirrorImage();
    void DateStamp(bool on);

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
};

extern TForm1* Form1;
