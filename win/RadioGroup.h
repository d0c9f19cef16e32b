// A row of radio buttons with consecutive ids, read and set by index.
#pragma once

#include <windows.h>

namespace win {

// The index of the checked button among count buttons from firstId; -1 when none is.
inline int RadioGroupIndex(HWND parent, int firstId, int count)
{
    for (int i = 0; i < count; ++i)
        if (::IsDlgButtonChecked(parent, firstId + i) == BST_CHECKED) return i;
    return -1;
}

// Checks button index (none for an index outside the group).
inline void SetRadioGroupIndex(HWND parent, int firstId, int count, int index)
{
    for (int i = 0; i < count; ++i)
        ::CheckDlgButton(parent, firstId + i, i == index ? BST_CHECKED : BST_UNCHECKED);
}

}  // namespace win
