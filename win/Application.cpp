#include "win/Application.h"

#include <commctrl.h>

#include "win/Error.h"
#include "win/ErrorBox.h"

namespace win {

// The one global: window and dialog procedures, tool tips and the error box
// reached from any window need the title and the hint switch with no context of ours.
TApplication Application;

void TApplication::SetHint(const std::wstring& hint)
{
    if (hint == hint_) return;
    hint_ = hint;
    if (OnHint) OnHint();
}

void TApplication::SetShowHint(bool show)
{
    showHint_ = show;
    for (HWND tip : toolTips_)
        if (::IsWindow(tip)) ::SendMessageW(tip, TTM_ACTIVATE, show, 0);
}

void TApplication::RegisterToolTip(HWND toolTip)
{
    toolTips_.push_back(toolTip);
    ::SendMessageW(toolTip, TTM_ACTIVATE, showHint_, 0);
}

void TApplication::ShowException(const std::exception& error) const noexcept
{
    try {
        std::wstring message;
        if (auto* e = dynamic_cast<const win::Error*>(&error))
            message = e->Message();
        else if (dynamic_cast<const std::bad_alloc*>(&error))
            message = L"Out of memory";
        else
            message = L"Unexpected error";
        ShowErrorBox(::GetActiveWindow(), Title, message);
    } catch (...) {
        // No memory even for the text: the plainest box there is.
        ::MessageBoxW(nullptr, L"Out of memory.", nullptr, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    }
}

}  // namespace win
