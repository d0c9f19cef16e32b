// What the commands work on, handed to every binding instead of the main
// form's fields: the document, the settings they read and write, the window
// that owns their dialogs and what the commands keep for the whole run.
#pragma once

#include <windows.h>

#include <string>

#include "app/AppSettings.h"
#include "capture/ColorDialog.h"
#include "output/Mail.h"
#include "output/OfficeLinks.h"
#include "output/PictureSaveDialog.h"
#include "output/Print.h"
#include "preview/Document.h"

struct CommandContext {
    Document& document;
    TAppSettings& settings;
    HWND owner;  // the main window: owns the dialogs when no window of ours is active
    TPicDialog& saveDialog;
    TPrintDialog& printDialog;
    TColorDialog& colorDialog;
    OfficeLinks& office;
    MailState& mail;
    std::wstring& helpPath;  // where Help last found the help file
};
