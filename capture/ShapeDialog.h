// The shape dialog: which shape the next capture cuts.
#pragma once

#include "capture/Shape.h"
#include "win/Form.h"
#include "win/UniqueHandle.h"

class TSelectForm : public win::Form {
public:
    // captureShapeIndex is the user's setting: shown when the dialog opens,
    // stored by OK.
    explicit TSelectForm(int& captureShapeIndex);

    int CaptureShapeIndex() const noexcept { return captureShapeIndex_; }

    // The radio selection; -1 when no item is selected.
    int ItemIndex() const;
    void SetItemIndex(int index);
    bool NoShowChecked() const;
    void SetNoShowChecked(bool checked);

    void OKButClick();
    void CancelButClick();

    // A stored index as the dialog shows it: below 0 none, above the last the last.
    static int ClampShapeIndex(int index) noexcept;

    enum ControlId : int {
        OKBut = IDOK,
        CancelBut = IDCANCEL,
        ShapeGroup = 3000,
        FirstShapeRadio = 3001,
        NoShowSelectFormBox = 3010,
        Label1 = 3011,
    };

protected:
    void FormShow() override;
    HWND InitialFocus() override;
    bool OnCommand(int id, int code, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int& captureShapeIndex_;
    bool checkedWhenShown_ = false;
};
