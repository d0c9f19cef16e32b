#include "app/CommandBindings.h"

#include <memory>

#include "app/AppSettings.h"
#include "app/HelpCommand.h"
#include "capture/BackgroundColorCommands.h"
#include "capture/CaptureCommand.h"
#include "capture/Composition.h"
#include "output/SaveFile.h"
#include "preview/DateStampCommands.h"
#include "preview/TransformCommands.h"
#include "win/Application.h"

namespace {

// What the capture commands ask of the program: the tray item, the picture,
// the preview and the background colour setting.
class CaptureWiring final : public CaptureHost, public BackgroundColorTarget {
public:
    CaptureWiring(TForm1& form, const TProgramForms& forms) : form_(form), forms_(forms) {}

    void SetCaptureEnabled(bool enabled) override { form_.SetSaveScreenSelectEnabled(enabled); }
    void PictureComposed(win::Bitmap& composed) override { form_.Picture.NewCapture(composed); }
    bool ShowPreview() override { return forms_.PreviewForm.ShowModal() == win::mrRetry; }

    void SetBackgroundColor(COLORREF color) override
    {
        AppSettings.BackgroundColor = static_cast<int>(color);
        forms_.PreviewForm.SetBackgroundColor(color);
    }
    void RecomposeCapture() override
    {
        win::Bitmap composed;
        DrawPreview(forms_.ImageForm.Image1, static_cast<COLORREF>(AppSettings.BackgroundColor), composed);
        form_.Picture.Recompose(composed);
    }

private:
    TForm1& form_;
    TProgramForms forms_;
};

// The one path every change of the picture takes: the stamp commands follow
// the stamp, and a showing preview shows the new picture.
void PictureChanged(TForm1& form, TPreviewForm& preview)
{
    const bool stamped = form.Picture.DateStampShown();
    form.ActionList1.SetEnabled(DateStampBMPAction, !stamped);
    form.ActionList1.SetEnabled(UnDateStampBMPAction, stamped);
    if (preview.Showing()) preview.ShowBMP(form.Picture.OutputImage());
}

}  // namespace

void BindCommands(TForm1& form, const TProgramForms& forms)
{
    auto wiring = std::make_shared<CaptureWiring>(form, forms);
    TCapturedPicture& picture = form.Picture;
    win::TActionList& actions = form.ActionList1;
    TPreviewForm& preview = forms.PreviewForm;
    TImageForm& overlay = forms.ImageForm;
    TSelectForm& shapes = forms.SelectForm;
    TFileExistsForm& fileExists = forms.FileExistsForm;

    form.PreviewForm = &preview;
    form.SaveScreenSelectClick = [wiring, &shapes, &overlay] {
        SaveScreenSelectClick(*wiring, shapes, overlay, AppSettings.BackgroundColor);
    };
    overlay.ShapeIndex = [&shapes] { return shapes.ItemIndex(); };
    preview.RunCommand = [&form](int id) { form.ExecuteCommand(id); };
    picture.OnChange = [&form, &preview] { PictureChanged(form, preview); };

    // One line a command.
    actions.Bind(SaveFileAction, [&picture, &fileExists] {
        SaveFileActionExecute(picture.OutputImage(), AppSettings.SaveDir, fileExists);
    });
    actions.Bind(ShowHelpAction,
                 [&form] { ShowHelpActionExecute(form.Hwnd(), win::Application.HelpFile, form.HelpPath); });
    actions.Bind(ShowAboutAction, [&form] { form.ShowAboutActionExecute(); });
    actions.Bind(ClockwiseAction, [&picture] { ClockwiseActionExecute(picture); });
    actions.Bind(CounterClockwiseAction, [&picture] { CounterClockwiseActionExecute(picture); });
    actions.Bind(MirrorAction, [&picture] { MirrorActionExecute(picture); });
    actions.Bind(BackgroundColorDialogAction, [wiring, &form] {
        BackgroundColorDialogActionExecute(form.ColorDialog1, form.Hwnd(), *wiring);
    });
    actions.Bind(BackgroundColorPickOnScreenAction,
                 [wiring, &overlay] { BackgroundColorPickOnScreenActionExecute(overlay, *wiring); });
    actions.Bind(DateStampBMPAction, [&picture] { DateStampBMPActionExecute(picture); });
    actions.Bind(UnDateStampBMPAction, [&picture] { UnDateStampBMPActionExecute(picture); });
}
