#include "app/ActionTable.h"

std::vector<win::TAction> ActionTableRows()
{
    // In list order. The caption of ShowAboutAction names the About window.
    return {
        {MakePowerPointAction, L"MakePowerPointAction", L"PowerPoint", L"Make Powerpoint Slide", true, {}},
        {SaveFileAction, L"SaveFileAction", L"Save", L"Save Image as File", true, {}},
        {MakeWordAction, L"MakeWordAction", L"Word", L"Make Word Document", true, {}},
        {MakeExcelAction, L"MakeExcelAction", L"Excel", L"Make Excel Spreadsheet", true, {}},
        {CopyToClipboardAction, L"CopyToClipboardAction", L"Copy", L"Copy Image to Clipboard", true, {}},
        {PrintAction, L"PrintAction", L"Print", L"Print Image", true, {}},
        {MailAction, L"MailAction", L"Mail", L"Mail as Attachment", true, {}},
        {RunSelectedEditorAction, L"RunSelectedEditorAction", L"Program", L"Open Image in Program", true, {}},
        {SetImageEditorAction, L"SetImageEditorAction", L"Set", L"Set Image Program", true, {}},
        {RunUserProgramOnlyAction, L"RunUserProgramOnlyAction", L"User Program", L"Open Image in User Program", true, {}},
        {RunDefaultProgramOnlyAction, L"RunDefaultProgramOnlyAction", L"Default Program", L"Open Image in Default Program", true, {}},
        {RunMSPaintOnlyAction, L"RunMSPaintOnlyAction", L"Microsoft Paint", L"Open Image in Microsoft Paint", true, {}},
        {SettingsAction, L"SettingsAction", L"Settings", L"Settings", true, {}},
        {ShowHelpAction, L"ShowHelpAction", L"Help", L"Help", true, {}},
        {ShowAboutAction, L"ShowAboutAction", L"About Tavro Screen Capture", L"About This Program", true, {}},
        {ClockwiseAction, L"ClockwiseAction", L"Rotate", L"Rotate Clockwise", true, {}},
        {CounterClockwiseAction, L"CounterClockwiseAction", L"Rotate Counterclockwise", L"Rotate CounterClockwise", true, {}},
        {MirrorAction, L"MirrorAction", L"Mirror", L"Mirror Image", true, {}},
        {BackgroundColorDialogAction, L"BackgroundColorDialogAction", L"Background Color", L"Set Background Color", true, {}},
        {BackgroundColorPickOnScreenAction, L"BackgroundColorPickOnScreenAction", L"Pick Color on Screen", L"Pick Background Color on Screen", true, {}},
        {DateStampBMPAction, L"DateStampBMPAction", L"Date Stamp Image", L"Put Date on Image", true, {}},
        {UnDateStampBMPAction, L"UnDateStampBMPAction", L"Remove Date Stamp", L"Remove Date From Image", false, {}},
    };
}
