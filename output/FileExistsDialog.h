// The file-exists dialog: asked before a save touches an existing file. Its
// radio group is the policy of the run ("Always Ask", "Always Overwrite",
// "Always Rename"); the form lives for the whole run, so the choice does too.
#pragma once

#include <string>

#include "win/Form.h"
#include "win/UniqueHandle.h"

enum FileExistsPolicy : int { fepAlwaysAsk = 0, fepAlwaysOverwrite = 1, fepAlwaysRename = 2 };

class TFileExistsForm : public win::Form {
public:
    TFileExistsForm();

    // The policy: the selected item of AlwaysGroup.
    int AlwaysGroupIndex() const;
    void SetAlwaysGroupIndex(int index);
    // The existing file's name (without folder) as the dialog shows it.
    void SetFileNameLab(const std::wstring& name);
    std::wstring FileNameLab() const;

    // Overwrite is offered unless the policy is "Always Rename", Rename unless
    // it is "Always Overwrite".
    void SetButtons();
    void AlwaysGroupClick();

    enum ControlId : int {
        BitBtn1 = IDCANCEL,
        OverwriteBut = 3101,
        RenameBut = 3102,
        AlwaysGroup = 3110,
        FirstAlwaysRadio = 3111,
        Label1 = 3120,
        FileNameLabel = 3121,
    };

protected:
    void FormShow() override;
    HWND InitialFocus() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
};

// What a save does with an existing file under the current policy: 1 (OK)
// overwrite, 7 (No) rename; anything else cancels. Asks with the dialog when
// the policy is "Always Ask".
int FileExistsChoice(TFileExistsForm& form, const std::wstring& existingName);
