// The preview window: shows the captured picture with its size and gives the
// user the output and editing commands, or a retry.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "preview/CropTool.h"
#include "preview/Document.h"
#include "preview/MarkupSession.h"
#include "preview/PreviewMenus.h"
#include "preview/PreviewPlace.h"
#include "win/ActionList.h"
#include "win/Bitmap.h"
#include "win/Form.h"
#include "win/ScrollPicture.h"
#include "win/UniqueHandle.h"

class TPreviewForm : public win::Form {
public:
    // The toolbar and the menus show the commands where their places say, and
    // follow the enabled state of those that are actions; the window shows
    // the captured picture each time it opens.
    TPreviewForm(win::TActionList& actions, std::vector<PreviewCommand> commands, const Document& document,
                 COLORREF backgroundColor);
    ~TPreviewForm() override;

    // Runs the action of a command id; set by the owner.
    std::function<void(int id)> RunCommand;

    // Shows a copy of bitmap, unscaled, 10 pixels (at 96 DPI) from the box's
    // corner, and its size in panel 1.
    void ShowBMP(const win::Bitmap& bitmap);
    // Shows the document's picture again where it changed; a crop under way
    // ends (the picture it was drawn on is gone).
    void ShowChange(const RECT& changed);

    // Starts the crop interaction on the picture shown (see CropTool); the
    // area goes to ApplyCrop, set by the owner.
    void BeginCrop();
    // Hands the picture's mouse, the keys and the painting over the picture
    // to tool (none: back to plain viewing); a tool in use before is cancelled.
    void UseTool(PictureTool* tool);
    std::function<bool(const RECT& area)> ApplyCrop;
    // Makes an edit of the markup tools (a mark added, changed or removed).
    std::function<bool(Edit)>& ApplyMarkEdit() noexcept { return markup_.Apply; }
    MarkupSession& Markup() noexcept { return markup_; }
    const CropTool& Crop() const noexcept { return crop_; }
    // The keys of the modal loop: Enter and Escape go to a crop under way;
    // Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z and C run the commands they stand for.
    bool OnKey(const MSG& msg) override;
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
        MarkupStrip = 4007,
        Exit1 = 4101,
        Retry1 = 4102,
    };

    HWND Control(int id) const;
    HMENU MainMenu() const noexcept { return menus_.Bar(); }
    // The picture as displayed, for tests and the picture control.
    const win::Bitmap& Picture() const noexcept { return picture_.Picture(); }
    HBITMAP BackgroundSwatch() const noexcept { return menus_.Swatch(); }

protected:
    void FormShow() override;
    HWND InitialFocus() override;
    bool OnCommand(int id, int code, HWND control) override;
    // The commands' own keys (Pin to Screen's F3), pressed without Ctrl or Alt.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DpiChanged() override;

private:
    void FormCreate(COLORREF backgroundColor);
    void CreateToolbar();
    void CreateStatusBar();
    void SetStatusParts();
    void SetToolbarFont();
    void LayoutControls();
    const PreviewCommand* FindCommand(int id) const noexcept;
    void RouteHint(HWND under);
    void MenuHint(UINT item, UINT flags, HMENU menu);
    // The markup tools' strip at the left of the picture (PreviewMarkup.cpp).
    void CreateMarkupStrip();
    int MarkupStripWidth() const;
    bool MarkupCommand(int id);
    void MarkupToolChanged(MarkupTool tool);
    void PickMarkColor();
    void PaintColorSwatch();

    win::TActionList& actions_;
    const Document& document_;
    CropTool crop_;
    MarkupSession markup_;
    PictureTool* tool_ = nullptr;  // the tool in use
    std::vector<PreviewCommand> commands_;
    TPreviewMenus menus_;
    win::ScrollPicture picture_;
    HWND toolPanel_ = nullptr;
    HWND focusHolder_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND toolTip_ = nullptr;
    win::UniqueFont toolbarFont_;
    HWND markupStrip_ = nullptr;
    win::UniqueBitmap colorSwatch_;
    COLORREF customColors_[16]{};
};
