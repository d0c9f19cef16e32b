// The command ids of the user's commands, in the order of the action table.
// The preview's buttons and menus and the tray menu carry these ids.
#pragma once

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
