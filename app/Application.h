// Application-wide values and the application's current hint text.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TApplication {
public:
    std::wstring Title = L"Tavro Screen Capture v2.0";
    std::wstring HelpFile = L"tavro.chm";
    bool ShowMainForm = true;

    const std::wstring& Hint() const noexcept { return hint_; }
    // Fires OnHint when the text changes.
    void SetHint(const std::wstring& hint);
    std::function<void()> OnHint;

    // Pop-up hints (tool tips) of every window follow this switch.
    bool ShowHint() const noexcept { return showHint_; }
    void SetShowHint(bool show);
    void RegisterToolTip(HWND toolTip);

    // Shows the standard error box for a command error.
    void ShowException(const std::exception& error) const;

private:
    std::wstring hint_;
    bool showHint_ = true;
    std::vector<HWND> toolTips_;
};

extern TApplication Application;
