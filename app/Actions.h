// The action list: every user command in one table. Menu items and buttons bind
// to an action by its command id; enabling an action updates them all.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TForm1;

enum ActionId : int {
    MakePowerPointAction = 1001,
    SaveFileAction,
    MakeWordAction,
    MakeExcelAction,
    CopyToClipboardAction,
    PrintAction,
    MailAction,
    RunSelectedEditorAction,
    SetImageEditorAction,
    RunUserProgramOnlyAction,
    RunDefaultProgramOnlyAction,
    RunMSPaintOnlyAction,
    SettingsAction,
    ShowHelpAction,
    ShowAboutAction,
    ClockwiseAction,
    CounterClockwiseAction,
    MirrorAction,
    BackgroundColorDialogAction,
    BackgroundColorPickOnScreenAction,
    DateStampBMPAction,
    UnDateStampBMPAction,
    kFirstAction = MakePowerPointAction,
    kLastAction = UnDateStampBMPAction,
};

using ActionHandler = void (TForm1::*)();

struct TAction {
    ActionId id;
    const wchar_t* name;
    std::wstring caption;
    std::wstring hint;
    bool enabled;
    // The command; an action whose command is not part of this build has none
    // and stays disabled.
    ActionHandler execute;
};

class TActionList {
public:
    TActionList();

    const std::vector<TAction>& Actions() const noexcept { return actions_; }
    const TAction* Find(int id) const noexcept;
    static bool IsAction(int id) noexcept { return id >= kFirstAction && id <= kLastAction; }

    bool Enabled(ActionId id) const noexcept;
    void SetEnabled(ActionId id, bool enabled);

    // Items whose command ids are action ids follow the action's enabled state.
    void BindMenu(HMENU menu);
    void BindButton(HWND button);

    // Runs the action's command on target; false when it is disabled or absent.
    bool Execute(int id, TForm1& target) const;

private:
    void ApplyEnabled(const TAction& action) const;

    std::vector<TAction> actions_;
    std::vector<HMENU> menus_;
    std::vector<HWND> buttons_;
};
