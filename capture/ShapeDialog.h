// The shape dialog: which shape the next capture cuts.
#pragma once

#include "capture/Shape.h"
#include "win/Form.h"
#include "win/UniqueHandle.h"

// The delays the dialog offers before the desktop is frozen, in seconds.
inline constexpr int kCaptureDelays[] = {0, 3, 5, 10};

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
    // The delay chosen with the last OK, kept for the run only.
    int DelaySeconds() const noexcept { return delaySeconds_; }

    void OKButClick();
    void CancelButClick();

    // A stored index as the dialog shows it: below 0 none; one this version
    // does not know the default shape, the rectangle.
    static int ClampShapeIndex(int index) noexcept;

    enum ControlId : int {
        OKBut = IDOK,
        CancelBut = IDCANCEL,
        ShapeGroup = 3000,
        FirstShapeRadio = 3001,
        NoShowSelectFormBox = 3010,
        Label1 = 3011,
        DelayBox = 3012,
        DelayLabel = 3013,
    };

protected:
    void FormShow() override;
    HWND InitialFocus() override;
    bool OnCommand(int id, int code, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int& captureShapeIndex_;
    bool checkedWhenShown_ = false;
    int delaySeconds_ = 0;
};
