#include "app/CommandBindings.h"

#include <memory>

#include "app/ActionTable.h"
#include "app/AfterCapture.h"
#include "app/HelpCommand.h"
#include "capture/BackgroundColorCommands.h"
#include "capture/CaptureCommand.h"
#include "capture/Composition.h"
#include "capture/ShapeMask.h"
#include "output/CopyToClipboard.h"
#include "output/ExcelExport.h"
#include "output/Mail.h"
#include "output/OpenInImageProgram.h"
#include "output/PowerPointExport.h"
#include "output/Print.h"
#include "output/SaveFile.h"
#include "output/WordExport.h"
#include "preview/DateText.h"
#include "preview/DateStampCommands.h"
#include "preview/PinCommand.h"
#include "preview/TransformCommands.h"
#include "win/Application.h"

namespace {

// Where a pin of the captured picture opens: where it was taken.
POINT PinPlace(const TForm1& form)
{
    return form.LastCaptureRegion ? form.LastCaptureRegion->topLeft : POINT{0, 0};
}

// What the capture commands ask of the program: the tray item, the picture
// with its selection, the preview and the background colour setting.
class CommandState final : public CaptureHost, public BackgroundColorTarget {
public:
    CommandState(TForm1& form, const TProgramForms& forms) : form_(form), forms_(forms) {}

    void SetCaptureEnabled(bool enabled) override { form_.SetSaveScreenSelectEnabled(enabled); }
    void PictureComposed(win::Bitmap& composed, const TSelection& selection) override
    {
        form_.Picture.NewCapture(composed,
                                 SelectionMask(forms_.ImageForm.Image1, forms_.ImageForm.Layout.primary, selection));
        form_.CaptureSelection = selection;
    }
    void RegionCaptured(const LastRegion& region) override { form_.RegionCaptured(region); }
    bool PointerShown() override { return form_.AppSettings.ShowMousePointer; }
    bool ShowPreview() override
    {
        std::wstring saved;
        const bool preview = RunAfterCaptureSteps(form_.AppSettings, form_.Picture.OutputImage(),
                                                  form_.Picture.OutputAlpha(), PinPlace(form_), form_.Hwnd(),
                                                  form_.Pins, saved);
        if (!saved.empty()) form_.ShowSavedBalloon(saved);
        return preview && forms_.PreviewForm.ShowModal() == win::mrRetry;
    }
    void ShowCountdown(int secondsLeft) override { form_.ShowCountdown(secondsLeft); }
    bool CountdownCancelled() override { return form_.CountdownCancelled(); }

    void SetBackgroundColor(COLORREF color) override
    {
        form_.AppSettings.BackgroundColor = static_cast<int>(color);
        forms_.PreviewForm.SetBackgroundColor(color);
        forms_.SetForm.SetColorShape(color);
    }
    void RecomposeCapture(const TSelection& selection) override
    {
        win::Bitmap composed;
        TImageForm& overlay = forms_.ImageForm;
        DrawPreview(overlay.Image1, overlay.Layout.primary, selection,
                    static_cast<COLORREF>(form_.AppSettings.BackgroundColor), composed);
        form_.Picture.Recompose(composed, SelectionMask(overlay.Image1, overlay.Layout.primary, selection));
    }

private:
    TForm1& form_;
    TProgramForms forms_;
};

// The name and date the Office exports add, as the settings dialog's boxes
// stand now (checked until the dialog is first shown).
OfficeCaptions CaptionsNow(const TForm1& form, const TSetForm& settings)
{
    SYSTEMTIME today{};
    ::GetLocalTime(&today);
    return {form.AppSettings.UserName, settings.NameBoxChecked(), settings.DateBoxChecked(), LongDateText(today)};
}

// The one path every change of the picture takes: the stamp commands follow
// the stamp, and a showing preview shows the new picture.
void PictureChanged(TForm1& form, TPreviewForm& preview)
{
    const bool stamped = form.Picture.DateStampShown();
    form.ActionList1.SetEnabled(DateStampBMPAction, !stamped);
    form.ActionList1.SetEnabled(UnDateStampBMPAction, stamped);
    if (preview.Showing()) preview.ShowBMP(form.Picture.OutputImage());
}

// The commands that take the picture out of the program.
void BindOutputCommands(TForm1& form, const TProgramForms& forms)
{
    TCapturedPicture& picture = form.Picture;
    win::TActionList& actions = form.ActionList1;
    TFileExistsForm& fileExists = forms.FileExistsForm;
    TImageEdForm& programs = forms.ImageEdForm;
    TSetForm& settings = forms.SetForm;
    std::wstring& imageProgram = form.AppSettings.ImageProgram;
    int& imageProgIndex = form.AppSettings.ImageProgIndex;

    actions.Bind(SaveFileAction, [&picture, &form, &fileExists] {
        SaveFileActionExecute(picture.OutputImage(), form.PicDialog, form.AppSettings.SaveDir, fileExists,
                              picture.OutputAlpha());
    });
    actions.Bind(CopyToClipboardAction, [&picture, &form] {
        const win::AlphaMask alpha = picture.OutputAlpha();
        CopyToClipboardActionExecute(picture.OutputImage(), form.Hwnd(), &alpha);
    });
    actions.Bind(PrintAction, [&picture, &form] {
        PrintActionExecute(picture.OutputImage(), form.PrintDialog1, ::GetActiveWindow());
    });
    actions.Bind(MailAction, [&picture, &fileExists, &form] {
        const MailSaveStep save = [&](std::wstring& writtenFile) {
            std::optional<std::wstring> written = DoSaveDialog(picture.OutputImage(), form.PicDialog,
                                                               form.AppSettings.SaveDir, fileExists,
                                                               picture.OutputAlpha());
            if (!written) return false;
            writtenFile = std::move(*written);
            return true;
        };
        MailActionExecute(form.Mail, save, form.AppSettings.UserName, form.Hwnd(), ::GetActiveWindow());
    });
    actions.Bind(RunSelectedEditorAction, [&] {
        RunSelectedEditorActionExecute(picture.OutputImage(), imageProgram, imageProgIndex, programs);
    });
    actions.Bind(SetImageEditorAction, [&] {
        SetImageEditorActionExecute(picture.OutputImage(), imageProgram, imageProgIndex, programs);
    });
    actions.Bind(RunUserProgramOnlyAction, [&] {
        RunUserProgramOnlyActionExecute(picture.OutputImage(), imageProgram, imageProgIndex, programs);
    });
    actions.Bind(RunDefaultProgramOnlyAction,
                 [&picture] { RunDefaultProgramOnlyActionExecute(picture.OutputImage()); });
    actions.Bind(RunMSPaintOnlyAction, [&picture] { RunMSPaintOnlyActionExecute(picture.OutputImage()); });
    actions.Bind(MakePowerPointAction, [&picture, &form, &settings] {
        MakePowerPointActionExecute(picture.OutputImage(), form.OfficeLinks1, CaptionsNow(form, settings));
    });
    actions.Bind(MakeWordAction, [&picture, &form, &settings] {
        MakeWordActionExecute(picture.OutputImage(), form.OfficeLinks1, CaptionsNow(form, settings));
    });
    actions.Bind(MakeExcelAction, [&picture, &form, &settings] {
        MakeExcelActionExecute(picture.OutputImage(), form.OfficeLinks1, CaptionsNow(form, settings));
    });
}

// A pin's Copy and Save As: the commands' own, on the pinned picture.
void BindPinActions(TForm1& form, TFileExistsForm& fileExists)
{
    form.Pins.Actions.copy = [](const win::Bitmap& pinned, const win::AlphaMask& alpha, HWND owner) {
        CopyToClipboardActionExecute(pinned, owner, &alpha);
    };
    form.Pins.Actions.saveAs = [&form, &fileExists](win::Bitmap& pinned, const win::AlphaMask& alpha) {
        SaveFileActionExecute(pinned, form.PicDialog, form.AppSettings.SaveDir, fileExists, alpha);
    };
}

// The main form, the overlay and the preview learn of each other.
void WireForms(TForm1& form, const TProgramForms& forms)
{
    TPreviewForm& preview = forms.PreviewForm;
    TSelectForm& shapes = forms.SelectForm;
    form.PreviewForm = &preview;
    form.SetForm = &forms.SetForm;
    forms.ImageForm.ShapeIndex = [&shapes] { return shapes.ItemIndex(); };
    preview.RunCommand = [&form](int id) { form.ExecuteCommand(id); };
    form.Picture.OnChange = [&form, &preview] { PictureChanged(form, preview); };
}

// The settings dialog's "Set" buttons.
void BindSettingsButtons(TSetForm& settings, TSelectForm& shapes, win::TActionList& actions)
{
    settings.SetCapButClick = [&shapes] { shapes.ShowModal(); };
    settings.SetProgButClick = [&actions] { actions.Execute(SetImageEditorAction); };
    settings.SetBackColorButClick = [&actions] { actions.Execute(BackgroundColorDialogAction); };
    const win::TAction* setProgram = actions.Find(SetImageEditorAction);
    settings.SetProgButText(setProgram->caption, setProgram->hint);
}

}  // namespace

void BindCommands(TForm1& form, const TProgramForms& forms)
{
    auto state = std::make_shared<CommandState>(form, forms);
    TCapturedPicture& picture = form.Picture;
    win::TActionList& actions = form.ActionList1;
    TImageForm& overlay = forms.ImageForm;
    TSelectForm& shapes = forms.SelectForm;
    TSetForm& settings = forms.SetForm;

    WireForms(form, forms);
    form.SaveScreenSelectClick = [state, &shapes, &overlay, &form] {
        SaveScreenSelectClick(*state, shapes, overlay, form.AppSettings.BackgroundColor);
    };
    form.CaptureLastRegionClick = [state, &shapes, &overlay, &form] {
        CaptureLastRegionClick(*state, shapes, overlay, form.AppSettings.BackgroundColor, *form.LastCaptureRegion);
    };

    // One line a command.
    BindOutputCommands(form, forms);
    BindPinActions(form, forms.FileExistsForm);
    actions.Bind(ShowHelpAction,
                 [&form] { ShowHelpActionExecute(form.Hwnd(), win::Application.HelpFile, form.HelpPath); });
    actions.Bind(ShowAboutAction, [&form] { form.ShowAboutActionExecute(); });
    actions.Bind(ClockwiseAction, [&picture] { ClockwiseActionExecute(picture); });
    actions.Bind(CounterClockwiseAction, [&picture] { CounterClockwiseActionExecute(picture); });
    actions.Bind(MirrorAction, [&picture] { MirrorActionExecute(picture); });
    actions.Bind(PinToScreenAction, [&picture, &form] {
        PinToScreenActionExecute(form.Pins, picture.OutputImage(), picture.OutputAlpha(), PinPlace(form));
    });
    actions.Bind(BackgroundColorDialogAction, [state, &form] {
        BackgroundColorDialogActionExecute(form.ColorDialog1, form.Hwnd(), form.CaptureSelection, *state);
    });
    actions.Bind(BackgroundColorPickOnScreenAction, [state, &overlay, &form] {
        BackgroundColorPickOnScreenActionExecute(overlay, form.CaptureSelection, *state);
    });
    // The stamp commands also set the setting: its box follows.
    actions.Bind(DateStampBMPAction, [&picture, &settings] {
        DateStampBMPActionExecute(picture);
        settings.SetDateStampImageChecked(true);
    });
    actions.Bind(UnDateStampBMPAction, [&picture, &settings] {
        UnDateStampBMPActionExecute(picture);
        settings.SetDateStampImageChecked(false);
    });
    // The dialog shows why the capture key may not work; a key chosen there
    // is taken at once.
    actions.Bind(SettingsAction, [&settings, &form] {
        settings.SetHotKeyNote(form.HotKey1.Problem());
        settings.SetLastRegionKeyNote(form.LastRegionKey.Problem());
        SettingsActionExecute(settings);
        form.ApplyCaptureHotKey();
    });

    BindSettingsButtons(settings, shapes, actions);
}
