// The preview window: shows the captured picture with its size and gives the
// user the output and editing commands, or a retry.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "preview/ActionIds.h"
#include "preview/CapturedPicture.h"
#include "win/ActionList.h"
#include "win/Bitmap.h"
#include "win/Form.h"
#include "win/UniqueHandle.h"

class TPreviewForm : public win::Form {
public:
    // The buttons and menus show and run the actions; the window shows the
    // captured picture each time it opens.
    TPreviewForm(win::TActionList& actions, const TCapturedPicture& picture, COLORREF backgroundColor);
    ~TPreviewForm() override;

    // Runs the action of a command id; set by the owner.
    std::function<void(int id)> RunCommand;

    // Shows a copy of bitmap, unscaled at (10, 10), and its size in panel 1.
    void ShowBMP(const win::Bitmap& bitmap);
    // Repaints the background-colour swatch of the "Set" menu.
    void SetBackgroundColor(COLORREF color);
    // Moves the keyboard focus off the toolbar buttons.
    void HideFocus();
    void SetHintPanel(const std::wstring& text);
    std::wstring PanelText(int panel) const;

    void RetryButClick();
    void Retry1Click();
    void Exit1Click();

    // The size read-out of panel 1.
    static std::wstring SizeText(int width, int height);

    enum ControlId : int {
        RetryBut = 4001,
        Button1 = 4002,
        ToolPanel = 4003,
        ScrollBox1 = 4004,
        Image1 = 4005,
        StatusBar1 = 4006,
        Exit1 = 4101,
        Retry1 = 4102,
    };

    HWND Control(int id) const;
    // The picture as displayed, for tests and the picture control.
    const win::Bitmap& Picture() const noexcept { return picture_; }
    HBITMAP BackgroundSwatch() const noexcept { return swatch_.get(); }

protected:
    void FormShow() override;
    HWND InitialFocus() override;
    bool OnCommand(int id, int code, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DpiChanged() override;

private:
    // A menu item's picture, drawn again when the DPI changes.
    struct MenuIcon {
        HMENU menu;
        int id;
        int iconId;
        win::UniqueBitmap picture;
    };
    void FormCreate(COLORREF backgroundColor);
    void CreateToolbar();
    void CreateMainMenu();
    void CreateStatusBar();
    void LayoutControls();
    void UpdateScrollRange();
    void ScrollTo(int x, int y);
    void OnScroll(int bar, int request);
    void RouteHint(HWND under);
    void MenuHint(UINT item, UINT flags, HMENU menu);
    void SetMenuIcon(MenuIcon& item);
    void MakeSwatch();
    void SetStatusParts();
    void SetToolbarFont();

    win::TActionList& actions_;
    const TCapturedPicture& capture_;
    HWND toolPanel_ = nullptr;
    HWND scrollBox_ = nullptr;
    HWND image_ = nullptr;
    HWND focusHolder_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND toolTip_ = nullptr;
    HMENU mainMenu_ = nullptr;
    HMENU setMenu_ = nullptr;
    win::Bitmap picture_;
    win::UniqueBitmap swatch_;
    COLORREF swatchColor_ = RGB(255, 255, 255);
    win::UniqueFont toolbarFont_;
    std::vector<MenuIcon> menuIcons_;
    int scrollX_ = 0;
    int scrollY_ = 0;
};
