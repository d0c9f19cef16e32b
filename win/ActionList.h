// The action list: every user command in one table. Menu items and buttons bind
// to an action by its command id; enabling an action updates them all.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace win {

struct TAction {
    int id;
    const wchar_t* name;
    std::wstring caption;
    std::wstring hint;
    bool enabled;  // as shown: what the program asks for, once there is a command
    // The command; an action without one is shown disabled.
    std::function<void()> execute;
};

class TActionList {
public:
    // The rows in list order; their ids must run on from the first without gaps.
    explicit TActionList(std::vector<TAction> actions);

    const std::vector<TAction>& Actions() const noexcept { return actions_; }
    const TAction* Find(int id) const noexcept;
    bool IsAction(int id) const noexcept { return Find(id) != nullptr; }

    bool Enabled(int id) const noexcept;
    void SetEnabled(int id, bool enabled);
    // A new caption, shown at once by the menu items bound to the action.
    void SetCaption(int id, std::wstring caption);
    // Gives the action its command; one that has none stays disabled.
    void Bind(int id, std::function<void()> execute);

    // Items whose command ids are action ids follow the action's enabled state.
    void BindMenu(HMENU menu);
    void BindButton(HWND button);

    // Runs the action's command; false when it is disabled or absent.
    bool Execute(int id) const;

private:
    TAction* FindMutable(int id) noexcept;
    void ApplyEnabled(const TAction& action) const;

    std::vector<TAction> actions_;
    // The state the program asks for; an action shows it once it has a command.
    std::vector<bool> wanted_;
    std::vector<HMENU> menus_;
    std::vector<HWND> buttons_;
};

}  // namespace win
