// What shows while a recording runs: a thin frame just outside the area (so
// it is never in the frames) and a small bar beside it with the elapsed time,
// Pause/Resume, Stop and Cancel. The bar is shown modally for the length of
// the recording; it ends with mrOk (Stop, or the recording ended by itself)
// or mrCancel.
#pragma once

#include <windows.h>

#include <array>
#include <functional>

#include "win/Form.h"

class RecordBar : public win::Form {
public:
    // area in screen pixels.
    explicit RecordBar(const RECT& area);
    ~RecordBar() override;

    // Read for the time shown; paused is told when the user pauses or resumes.
    std::function<long long()> ElapsedUs;
    std::function<void(bool paused)> OnPause;
    // The display changed (resolution, monitors): called at once, before the
    // bar ends as by Stop.
    std::function<void()> OnDisplayChange;

    // The message that stops the recording from anywhere (the tray, the key,
    // the recorder when it ends by itself): post it to Hwnd().
    static UINT StopMessage();

    enum ControlId : int { TimeLabel = 3100, PauseBut = 3101, StopBut = 3102, CancelBut = 3103 };

protected:
    void FormShow() override;
    bool OnCommand(int id, int code, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormClose() override;

private:
    void ShowTime();
    void PlaceBeside(const RECT& area);

    RECT area_;
    bool paused_ = false;
    std::array<HWND, 4> frame_{};  // top, bottom, left, right edges
};

// The text of the elapsed time: "0:07", "1:02".
std::wstring ElapsedText(long long us);
