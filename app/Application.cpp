#include "app/Application.h"

#include <commctrl.h>

#include "win/Error.h"
#include "win/ErrorBox.h"

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

void TApplication::ShowException(const std::exception& error) const
{
    std::wstring message;
    if (auto* e = dynamic_cast<const win::Error*>(&error))
        message = e->Message();
    else if (dynamic_cast<const std::bad_alloc*>(&error))
        message = L"Out of memory";
    else
        message = L"Unexpected error";
    HWND owner = ::GetActiveWindow();
    win::ShowErrorBox(owner, Title, message);
}
