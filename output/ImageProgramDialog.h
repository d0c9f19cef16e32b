// The image-program dialog: which program "Program" opens the picture in (the
// user's own, the one associated with BMP files, or Paint), and whether it
// asks first. Created once; the check box and the edit box keep their state
// for the whole run.
#pragma once

#include <string>

#include "win/Bitmap.h"
#include "win/Form.h"
#include "win/UniqueHandle.h"

// The ways of opening, as the dialog's radio group lists them (ImageProgIndex).
enum ImageProgramWay : int { ipUserProgram = 0, ipDefaultProgram = 1, ipPaint = 2, kImageProgramWayCount = 3 };

class TImageEdForm : public win::Form {
public:
    TImageEdForm();

    // Shows the dialog modally for the current picture and the two settings
    // (OK stores the chosen way, and the edit box's text when it is not blank).
    // Returns the modal result. The picture is needed to look up the program
    // associated with BMP files, which goes by the temporary file.
    int Execute(const win::Bitmap& picture, std::wstring& imageProgram, int& imageProgIndex);

    std::wstring ImageProgEdText() const;
    void SetImageProgEdText(const std::wstring& text);
    // The radio selection; -1 when no item is selected.
    int ImageProgGroupIndex() const;
    void SetImageProgGroupIndex(int index);
    bool NoShowChecked() const;
    void SetNoShowChecked(bool checked);

    // Handlers; the ones that read or store settings act only while Execute runs.
    void BrowseButClick();
    void DefaultButClick();
    void YesButClick();
    void CancelButClick();

    enum ControlId : int {
        YesBut = IDOK,
        CancelBut = IDCANCEL,
        ImageProgEd = 3201,
        BrowseBut = 3202,
        DefaultBut = 3203,
        ImageProgGroup = 3210,
        FirstImageProgRadio = 3211,
        NoShowBox = 3220,
        Label1 = 3221,
    };

protected:
    void FormShow() override;
    HWND InitialFocus() override;
    bool FormCloseQuery() override;
    bool OnCommand(int id, int code, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // What Execute was given, for the handlers of one showing.
    struct Session {
        const win::Bitmap* picture = nullptr;
        std::wstring* imageProgram = nullptr;
        int* imageProgIndex = nullptr;
    };

    Session session_;
    // The edit box's text and the check box as they were when the dialog was
    // shown: Cancel puts them back.
    std::wstring textWhenShown_;
    bool checkedWhenShown_ = false;
    // The open dialog's file name carries over from one browse to the next.
    std::wstring browseFileName_;
};
