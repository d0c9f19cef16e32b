// The Mail command: saves the picture as the Save command does, then opens a
// new message in the user's mail program with the saved file attached.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// What the command remembers for the rest of the run.
struct MailState {
    // The explanation comes once per run, before the first save dialog.
    bool infoShown = false;
};

// The save dialog with the file-exists policy and the write. True when a file
// was written, with writtenFile set to the name actually written (the numbered
// one after a rename); false when the user cancelled. A failed write throws.
using MailSaveStep = std::function<bool(std::wstring& writtenFile)>;

// Runs the command. owner is the window the explanation box belongs to (the
// active one); appWindow is the application window, parent of the mail
// program's windows; userName is offered as the sender's name. Errors of the
// save step reach the caller; nothing of the mail step is ever reported (no
// mail library, no mail program, the user closing the message): the saved
// file stays where it is.
void MailActionExecute(MailState& state, const MailSaveStep& save, const std::wstring& userName, HWND appWindow,
                       HWND owner);
