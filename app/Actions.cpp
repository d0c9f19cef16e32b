#include "app/Actions.h"

#include "app/Unit1.h"

TActionList::TActionList()
{
    // In list order. The caption of ShowAboutAction names the About window.
    actions_ = {
        {MakePowerPointAction, L"MakePowerPointAction", L"PowerPoint", L"Make Powerpoint Slide", true, nullptr},
        {SaveFileAction, L"SaveFileAction", L"Save", L"Save Image as File", true, &TForm1::SaveFileActionExecute},
        {MakeWordAction, L"MakeWordAction", L"Word", L"Make Word Document", true, nullptr},
        {MakeExcelAction, L"MakeExcelAction", L"Excel", L"Make Excel Spreadsheet", true, nullptr},
        {CopyToClipboardAction, L"CopyToClipboardAction", L"Copy", L"Copy Image to Clipboard", true, nullptr},
        {PrintAction, L"PrintAction", L"Print", L"Print Image", true, nullptr},
        {MailAction, L"MailAction", L"Mail", L"Mail as Attachment", true, nullptr},
        {RunSelectedEditorAction, L"RunSelectedEditorAction", L"Program", L"Open Image in Program", true, nullptr},
        {SetImageEditorAction, L"SetImageEditorAction", L"Set", L"Set Image Program", true, nullptr},
        {RunUserProgramOnlyAction, L"RunUserProgramOnlyAction", L"User Program", L"Open Image in User Program", true, nullptr},
        {RunDefaultProgramOnlyAction, L"RunDefaultProgramOnlyAction", L"Default Program", L"Open Image in Default Program", true, nullptr},
        {RunMSPaintOnlyAction, L"RunMSPaintOnlyAction", L"Microsoft Paint", L"Open Image in Microsoft Paint", true, nullptr},
        {SettingsAction, L"SettingsAction", L"Settings", L"Settings", true, nullptr},
        {ShowHelpAction, L"ShowHelpAction", L"Help", L"Help", true, &TForm1::ShowHelpActionExecute},
        {ShowAboutAction, L"ShowAboutAction", L"About Tavro Screen Capture", L"About This Program", true, &TForm1::ShowAboutActionExecute},
        {ClockwiseAction, L"ClockwiseAction", L"Rotate", L"Rotate Clockwise", true, &TForm1::ClockwiseActionExecute},
        {CounterClockwiseAction, L"CounterClockwiseAction", L"Rotate Counterclockwise", L"Rotate CounterClockwise", true, &TForm1::CounterClockwiseActionExecute},
        {MirrorAction, L"MirrorAction", L"Mirror", L"Mirror Image", true, &TForm1::MirrorActionExecute},
        {BackgroundColorDialogAction, L"BackgroundColorDialogAction", L"Background Color", L"Set Background Color", true, &TForm1::BackgroundColorDialogActionExecute},
        {BackgroundColorPickOnScreenAction, L"BackgroundColorPickOnScreenAction", L"Pick Color on Screen", L"Pick Background Color on Screen", true, &TForm1::BackgroundColorPickOnScreenActionExecute},
        {DateStampBMPAction, L"DateStampBMPAction", L"Date Stamp Image", L"Put Date on Image", true, &TForm1::DateStampBMPActionExecute},
        {UnDateStampBMPAction, L"UnDateStampBMPAction", L"Remove Date Stamp", L"Remove Date From Image", false, &TForm1::UnDateStampBMPActionExecute},
    };
    // A command this build does not carry is shown disabled, never faked.
    for (TAction& a : actions_)
        if (!a.execute) a.enabled = false;
}

const TAction* TActionList::Find(int id) const noexcept
{
    if (!IsAction(id)) return nullptr;
    return &actions_[static_cast<size_t>(id - kFirstAction)];
}

bool TActionList::Enabled(ActionId id) const noexcept
{
    const TAction* a = Find(id);
    return a && a->enabled;
}

void TActionList::SetEnabled(ActionId id, bool enabled)
{
    auto& a = actions_[static_cast<size_t>(id - kFirstAction)];
    a.enabled = enabled && a.execute;
    ApplyEnabled(a);
}

void TActionList::ApplyEnabled(const TAction& a) const
{
    for (HMENU m : menus_)
        ::EnableMenuItem(m, a.id, MF_BYCOMMAND | (a.enabled ? MF_ENABLED : MF_GRAYED));
    for (HWND b : buttons_)
        if (::GetDlgCtrlID(b) == a.id) ::EnableWindow(b, a.enabled);
}

void TActionList::BindMenu(HMENU menu)
{
    menus_.push_back(menu);
    for (const TAction& a : actions_)
        ::EnableMenuItem(menu, a.id, MF_BYCOMMAND | (a.enabled ? MF_ENABLED : MF_GRAYED));
}

void TActionList::BindButton(HWND button)
{
    buttons_.push_back(button);
    if (const TAction* a = Find(::GetDlgCtrlID(button))) ::EnableWindow(button, a->enabled);
}

bool TActionList::Execute(int id, TForm1& target) const
{
    const TAction* a = Find(id);
    if (!a || !a->enabled || !a->execute) return false;
    (target.*(a->execute))();
    return true;
}
