// Application-wide values: the title the error box carries, the help file's
// name, and the current hint text with the tool tips that follow its switch.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace win {

class TApplication {
public:
    std::wstring Title;
    std::wstring HelpFile;
    bool ShowMainForm = true;

    const std::wstring& Hint() const noexcept { return hint_; }
    // Fires OnHint when the text changes.
    void SetHint(const std::wstring& hint);
    std::function<void()> OnHint;

    // Pop-up hints (tool tips) of every window follow this switch.
    bool ShowHint() const noexcept { return showHint_; }
    void SetShowHint(bool show);
    void RegisterToolTip(HWND toolTip);

    // Shows the standard error box for a command error; never throws.
    void ShowException(const std::exception& error) const noexcept;

private:
    std::wstring hint_;
    bool showHint_ = true;
    std::vector<HWND> toolTips_;
};

// The one application object of the process.
extern TApplication Application;

}  // namespace win
