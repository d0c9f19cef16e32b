// The one place that connects the action table to the commands of every
// feature folder, and the capture command to the tray menu.
#pragma once

#include "app/MainForm.h"
#include "app/SettingsDialog.h"
#include "capture/SelectionOverlay.h"
#include "capture/ShapeDialog.h"
#include "output/FileExistsDialog.h"
#include "output/ImageProgramDialog.h"
#include "preview/PreviewWindow.h"

// The forms the commands work with; created once at start-up, they live as
// long as the main form.
struct TProgramForms {
    TFileExistsForm& FileExistsForm;
    TImageForm& ImageForm;
    TSelectForm& SelectForm;
    TImageEdForm& ImageEdForm;
    TSetForm& SetForm;
    TPreviewForm& PreviewForm;
};

// Gives each built action of form.ActionList1 its command, and wires the
// capture command, the preview and the picture-changed path.
void BindCommands(TForm1& form, const TProgramForms& forms);
