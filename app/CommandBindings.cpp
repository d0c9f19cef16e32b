#include "app/CommandBindings.h"

#include <memory>
#include <optional>

#include "app/ActionTable.h"
#include "app/AfterCapture.h"
#include "app/CommandContext.h"
#include "app/RecordGifCommand.h"
#include "app/HelpCommand.h"
#include "capture/BackgroundColorCommands.h"
#include "capture/CaptureCommand.h"
#include "capture/ShapeMask.h"
#include "output/CopyToClipboard.h"
#include "output/ExcelExport.h"
#include "output/Mail.h"
#include "output/SaveRecording.h"
#include "output/OpenInImageProgram.h"
#include "output/PowerPointExport.h"
#include "output/Print.h"
#include "output/SaveFile.h"
#include "output/WordExport.h"
#include "preview/DateStampCommands.h"
#include "preview/DateText.h"
#include "preview/EditCommands.h"
#include "preview/PinCommand.h"
#include "preview/TransformCommands.h"
#include "win/Application.h"

namespace {

CommandContext ContextOf(TForm1& form)
{
    return {form.Picture,      form.AppSettings,  form.Hwnd(), form.PicDialog, form.PrintDialog1,
            form.ColorDialog1, form.OfficeLinks1, form.Mail,   form.HelpPath};
}

// The commands' enabled states and captions that follow the document: the
// stamp commands follow the stamp, Undo and Redo the history (greyed while an
// output reads the picture).
void UpdateEditActions(const Document& document, win::TActionList& actions)
{
    const bool stamped = document.DateStampShown();
    actions.SetEnabled(DateStampBMPAction, !stamped);
    actions.SetEnabled(UnDateStampBMPAction, stamped);
    actions.SetEnabled(UndoAction, document.CanUndo());
    actions.SetEnabled(RedoAction, document.CanRedo());
    actions.SetCaption(UndoAction, UndoCaption(document));
    actions.SetCaption(RedoAction, RedoCaption(document));
}

// While an output command runs, the picture it reads is left alone: the
// document refuses edits and Undo and Redo are greyed until it ends.
class OutputRun {
public:
    OutputRun(const Document& document, win::TActionList& actions) noexcept
        : reading_(document), document_(document), actions_(actions)
    {
        Update();
    }
    ~OutputRun()
    {
        reading_.reset();
        Update();
    }
    OutputRun(const OutputRun&) = delete;
    OutputRun& operator=(const OutputRun&) = delete;

private:
    void Update() noexcept
    {
        try {
            UpdateEditActions(document_, actions_);
        } catch (...) {  // only captions: the command's own outcome matters more
        }
    }
    std::optional<Document::Reading> reading_;
    const Document& document_;
    win::TActionList& actions_;
};

// Where a pin of the captured picture opens: where it was taken.
POINT PinPlace(const TForm1& form)
{
    return form.LastCaptureRegion ? form.LastCaptureRegion->topLeft : POINT{0, 0};
}

// What the capture commands ask of the program: the tray item, the picture,
// the preview and the background colour setting.
class CommandState final : public CaptureHost, public BackgroundColorTarget {
public:
    CommandState(TForm1& form, const CommandContext& context, const TProgramForms& forms)
        : form_(form), context_(context), forms_(forms)
    {
    }

    void SetCaptureEnabled(bool enabled) override { form_.SetSaveScreenSelectEnabled(enabled); }
    void PictureComposed(win::Bitmap& composed, const TSelection& selection) override
    {
        TImageForm& overlay = forms_.ImageForm;
        win::AlphaMask mask = SelectionMask(overlay.Image1, overlay.Layout.primary, selection);
        // The picture is all a capture keeps: the frozen desktop goes (a
        // retry grabs a new one).
        overlay.Image1.Clear();
        context_.document.NewCapture(composed, std::move(mask), selection.ShapeCode,
                                     static_cast<COLORREF>(context_.settings.BackgroundColor),
                                     context_.settings.DateStampImage);
    }
    void RegionCaptured(const LastRegion& region) override { form_.RegionCaptured(region); }
    bool PointerShown() override { return form_.AppSettings.ShowMousePointer; }
    bool ShowPreview() override
    {
        std::wstring saved;
        const bool preview = RunAfterCaptureSteps(form_.AppSettings, context_.document.Picture(),
                                                  context_.document.Alpha(), PinPlace(form_), form_.Hwnd(),
                                                  form_.Pins, saved);
        if (!saved.empty()) form_.ShowSavedBalloon(saved);
        return preview && forms_.PreviewForm.ShowModal() == win::mrRetry;
    }
    void ShowCountdown(int secondsLeft) override { form_.ShowCountdown(secondsLeft); }
    bool CountdownCancelled() override { return form_.CountdownCancelled(); }

    void SetBackgroundColor(COLORREF color) override
    {
        context_.settings.BackgroundColor = static_cast<int>(color);
        forms_.PreviewForm.SetBackgroundColor(color);
        forms_.SetForm.SetColorShape(color);
    }
    void RecolorCapture(COLORREF color) override { context_.document.Apply(BackgroundColorEdit(color)); }

private:
    TForm1& form_;
    CommandContext context_;
    TProgramForms forms_;
};

// The name and date the Office exports add, as the settings dialog's boxes
// stand now (checked until the dialog is first shown).
OfficeCaptions CaptionsNow(const TAppSettings& settings, const TSetForm& dialog)
{
    SYSTEMTIME today{};
    ::GetLocalTime(&today);
    return {settings.UserName, dialog.NameBoxChecked(), dialog.DateBoxChecked(), LongDateText(today)};
}

// Binds an output command: it gets the picture (and its see-through part)
// as it stands, and no edit touches them while it runs.
template <typename Command>
void BindOutput(win::TActionList& actions, int id, const CommandContext& c, Command command)
{
    actions.Bind(id, [&actions, c, command] {
        OutputRun run(c.document, actions);
        command(c.document.Picture(), c.document.Alpha());
    });
}

// The commands that take the picture out of the program.
void BindOutputCommands(win::TActionList& actions, const CommandContext& c, const TProgramForms& forms)
{
    TFileExistsForm& exists = forms.FileExistsForm;
    TImageEdForm& programs = forms.ImageEdForm;
    TSetForm& dialog = forms.SetForm;
    using Picture = const win::Bitmap&;
    using Alpha = const win::AlphaMask&;

    BindOutput(actions, SaveFileAction, c, [c, &exists](Picture p, Alpha a) {
        SaveFileActionExecute(p, c.saveDialog, c.settings.SaveDir, exists, a);
    });
    BindOutput(actions, CopyToClipboardAction, c,
               [c](Picture p, Alpha a) { CopyToClipboardActionExecute(p, c.owner, &a); });
    BindOutput(actions, PrintAction, c,
               [c](Picture p, Alpha) { PrintActionExecute(p, c.printDialog, ::GetActiveWindow()); });
    BindOutput(actions, MailAction, c, [c, &exists](Picture p, Alpha a) {
        const MailSaveStep save = [&](std::wstring& writtenFile) {
            std::optional<std::wstring> written = DoSaveDialog(p, c.saveDialog, c.settings.SaveDir, exists, a);
            if (!written) return false;
            writtenFile = std::move(*written);
            return true;
        };
        MailActionExecute(c.mail, save, c.settings.UserName, c.owner, ::GetActiveWindow());
    });
    BindOutput(actions, RunSelectedEditorAction, c, [c, &programs](Picture p, Alpha) {
        RunSelectedEditorActionExecute(p, c.settings.ImageProgram, c.settings.ImageProgIndex, programs);
    });
    BindOutput(actions, SetImageEditorAction, c, [c, &programs](Picture p, Alpha) {
        SetImageEditorActionExecute(p, c.settings.ImageProgram, c.settings.ImageProgIndex, programs);
    });
    BindOutput(actions, RunUserProgramOnlyAction, c, [c, &programs](Picture p, Alpha) {
        RunUserProgramOnlyActionExecute(p, c.settings.ImageProgram, c.settings.ImageProgIndex, programs);
    });
    BindOutput(actions, RunDefaultProgramOnlyAction, c, [](Picture p, Alpha) { RunDefaultProgramOnlyActionExecute(p); });
    BindOutput(actions, RunMSPaintOnlyAction, c, [](Picture p, Alpha) { RunMSPaintOnlyActionExecute(p); });
    BindOutput(actions, MakePowerPointAction, c, [c, &dialog](Picture p, Alpha) {
        MakePowerPointActionExecute(p, c.office, CaptionsNow(c.settings, dialog));
    });
    BindOutput(actions, MakeWordAction, c, [c, &dialog](Picture p, Alpha) {
        MakeWordActionExecute(p, c.office, CaptionsNow(c.settings, dialog));
    });
    BindOutput(actions, MakeExcelAction, c, [c, &dialog](Picture p, Alpha) {
        MakeExcelActionExecute(p, c.office, CaptionsNow(c.settings, dialog));
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

// The commands that edit the picture, Undo, Redo and Crop. The stamp
// commands also set the setting: its box follows.
void BindEditCommands(win::TActionList& actions, const CommandContext& c, const TProgramForms& forms)
{
    Document& d = c.document;
    TSetForm& dialog = forms.SetForm;
    TPreviewForm& preview = forms.PreviewForm;
    actions.Bind(ClockwiseAction, [c, &d] { ClockwiseActionExecute(d, c.settings.DateStampImage); });
    actions.Bind(CounterClockwiseAction, [c, &d] { CounterClockwiseActionExecute(d, c.settings.DateStampImage); });
    actions.Bind(MirrorAction, [c, &d] { MirrorActionExecute(d, c.settings.DateStampImage); });
    actions.Bind(DateStampBMPAction, [c, &d, &dialog] {
        DateStampBMPActionExecute(d, c.settings.DateStampImage);
        dialog.SetDateStampImageChecked(true);
    });
    actions.Bind(UnDateStampBMPAction, [c, &d, &dialog] {
        UnDateStampBMPActionExecute(d, c.settings.DateStampImage);
        dialog.SetDateStampImageChecked(false);
    });
    actions.Bind(UndoAction, [&d] { UndoActionExecute(d); });
    actions.Bind(RedoAction, [&d] { RedoActionExecute(d); });
    actions.Bind(CropAction, [&preview] { preview.BeginCrop(); });
    preview.ApplyCrop = [&d](const RECT& area) { return CropToArea(d, area); };
    preview.ApplyMarkEdit() = [&d](Edit edit) { return d.Apply(std::move(edit)); };
}

// The main form, the overlay and the preview learn of each other; every
// change of the picture updates the commands that follow it and a showing
// preview.
void WireForms(TForm1& form, const TProgramForms& forms)
{
    TPreviewForm& preview = forms.PreviewForm;
    TSelectForm& shapes = forms.SelectForm;
    form.PreviewForm = &preview;
    form.SetForm = &forms.SetForm;
    forms.ImageForm.ShapeIndex = [&shapes] { return shapes.ItemIndex(); };
    preview.RunCommand = [&form](int id) { form.ExecuteCommand(id); };
    Document& document = form.Picture;
    win::TActionList& actions = form.ActionList1;
    document.OnChange = [&document, &actions, &preview](const RECT& changed) {
        UpdateEditActions(document, actions);
        if (preview.Showing()) preview.ShowChange(changed);
    };
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
    const CommandContext c = ContextOf(form);
    auto state = std::make_shared<CommandState>(form, c, forms);
    win::TActionList& actions = form.ActionList1;
    TImageForm& overlay = forms.ImageForm;
    TSelectForm& shapes = forms.SelectForm;
    TSetForm& settings = forms.SetForm;

    WireForms(form, forms);
    form.SaveScreenSelectClick = [state, &shapes, &overlay, c] {
        SaveScreenSelectClick(*state, shapes, overlay, c.settings.BackgroundColor);
    };
    PrepareRecordingDialog(form.RecordDialog);
    form.RecordGifClick = [&form, &overlay, &exists = forms.FileExistsForm] {
        RecordGifExecute(form, overlay, exists);
    };
    form.CaptureLastRegionClick = [state, &shapes, &overlay, &form] {
        CaptureLastRegionClick(*state, shapes, overlay, form.AppSettings.BackgroundColor, *form.LastCaptureRegion);
    };

    // One line a command.
    BindOutputCommands(actions, c, forms);
    BindEditCommands(actions, c, forms);
    BindPinActions(form, forms.FileExistsForm);
    actions.Bind(PinToScreenAction, [c, &form] {
        PinToScreenActionExecute(form.Pins, c.document.Picture(), c.document.Alpha(), PinPlace(form));
    });
    actions.Bind(ShowHelpAction, [c] { ShowHelpActionExecute(c.owner, win::Application.HelpFile, c.helpPath); });
    actions.Bind(ShowAboutAction, [&form] { form.ShowAboutActionExecute(); });
    actions.Bind(BackgroundColorDialogAction, [state, c] {
        BackgroundColorDialogActionExecute(c.colorDialog, c.owner, c.document.ShapeCode(), *state);
    });
    actions.Bind(BackgroundColorPickOnScreenAction, [state, &overlay, c] {
        BackgroundColorPickOnScreenActionExecute(overlay, c.document.ShapeCode(), *state);
    });
    // The dialog shows why the capture key may not work; a key chosen there
    // is taken at once.
    actions.Bind(SettingsAction, [&settings, &form] {
        settings.SetHotKeyNote(form.HotKey1.Problem());
        settings.SetRecordKeyNote(form.RecordHotKey.Problem());
        settings.SetLastRegionKeyNote(form.LastRegionKey.Problem());
        SettingsActionExecute(settings);
        form.ApplyCaptureHotKey();
        form.ApplyRecordHotKey();
    });

    BindSettingsButtons(settings, shapes, actions);
}
