// Where a command appears in the preview window: a toolbar button, an item of
// the main menu, both or neither. The action table says it once per row; the
// preview builds its toolbar and menus from those places.
#pragma once

#include <string>

// The menus of the preview's menu bar, left to right.
enum class PreviewMenu : int { None = -1, File, Edit, Markup, Programs, Set, Help };

// The key that runs a command from anywhere in the window: Enter and Escape
// press its toolbar button; Undo is Ctrl+Z, Redo Ctrl+Y or Ctrl+Shift+Z, Crop
// the letter C, Pin F3.
enum class PreviewKey { None, Enter, Escape, Undo, Redo, Crop, Pin };

// The picture value of the item that shows the background-colour swatch.
constexpr int kSwatchPicture = -1;

struct PreviewPlace {
    int button = -1;  // toolbar slot from the left (x = 5 + 65 * slot); -1: no button
    int tab = -1;     // the button's place in the keyboard tab order
    PreviewKey key = PreviewKey::None;
    PreviewMenu menu = PreviewMenu::None;
    int item = -1;  // position in its menu; positions that no item takes are separators
    const wchar_t* menuCaption = nullptr;  // replaces the command's caption on its menu item
    int picture = 0;  // icon resource of the button and the menu item (0: none)
};

// A command as the preview shows it: its id, caption, hint and place.
struct PreviewCommand {
    int id;
    std::wstring caption;
    std::wstring hint;
    PreviewPlace place;

    std::wstring MenuCaption() const { return place.menuCaption ? place.menuCaption : caption; }
};
