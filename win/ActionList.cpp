#include "win/ActionList.h"

#include <stdexcept>

namespace win {

TActionList::TActionList(std::vector<TAction> actions) : actions_(std::move(actions))
{
    for (size_t i = 1; i < actions_.size(); ++i)
        if (actions_[i].id != actions_[0].id + static_cast<int>(i))
            throw std::logic_error("action ids must run on without gaps");
    for (TAction& a : actions_) {
        wanted_.push_back(a.enabled);
        if (!a.execute) a.enabled = false;
    }
}

const TAction* TActionList::Find(int id) const noexcept
{
    if (actions_.empty() || id < actions_.front().id || id > actions_.back().id) return nullptr;
    return &actions_[static_cast<size_t>(id - actions_.front().id)];
}

TAction* TActionList::FindMutable(int id) noexcept { return const_cast<TAction*>(Find(id)); }

bool TActionList::Enabled(int id) const noexcept
{
    const TAction* a = Find(id);
    return a && a->enabled;
}

void TActionList::SetEnabled(int id, bool enabled)
{
    TAction* a = FindMutable(id);
    if (!a) return;
    wanted_[static_cast<size_t>(a - actions_.data())] = enabled;
    a->enabled = enabled && a->execute;
    ApplyEnabled(*a);
}

void TActionList::SetCaption(int id, std::wstring caption)
{
    TAction* a = FindMutable(id);
    if (!a || a->caption == caption) return;
    a->caption = std::move(caption);
    MENUITEMINFOW info{sizeof info, MIIM_STRING};
    info.dwTypeData = a->caption.data();
    for (HMENU m : menus_) ::SetMenuItemInfoW(m, static_cast<UINT>(id), FALSE, &info);
}

void TActionList::Bind(int id, std::function<void()> execute)
{
    TAction* a = FindMutable(id);
    if (!a) throw std::logic_error("binding an unknown action");
    a->execute = std::move(execute);
    a->enabled = wanted_[static_cast<size_t>(a - actions_.data())] && a->execute;
    ApplyEnabled(*a);
}

void TActionList::ApplyEnabled(const TAction& a) const
{
    for (HMENU m : menus_)
        ::EnableMenuItem(m, a.id, MF_BYCOMMAND | (a.enabled ? MF_ENABLED : MF_GRAYED));
    for (HWND b : buttons_)
        if (::GetDlgCtrlID(b) == a.id) ::EnableWindow(b, a.enabled);
}

void TActionList::BindMenu(HMENU menu)
{
    menus_.push_back(menu);
    for (const TAction& a : actions_)
        ::EnableMenuItem(menu, a.id, MF_BYCOMMAND | (a.enabled ? MF_ENABLED : MF_GRAYED));
}

void TActionList::BindButton(HWND button)
{
    buttons_.push_back(button);
    if (const TAction* a = Find(::GetDlgCtrlID(button))) ::EnableWindow(button, a->enabled);
}

bool TActionList::Execute(int id) const
{
    const TAction* a = Find(id);
    if (!a || !a->enabled || !a->execute) return false;
    // A copy: the command may rebind its own action while it runs.
    const std::function<void()> execute = a->execute;
    execute();
    return true;
}

}  // namespace win
