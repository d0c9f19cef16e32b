// File names of the Save command: the extension forced by the chosen file type
// and the numbered variants used when the user renames instead of overwriting.
// Plain text functions, no file-system access.
#pragma once

#include <string>
#include <string_view>

// The save dialog's file types, numbered as its filter index.
enum SaveFileType : int { ftJPEG = 1, ftBMP = 2, ftGIF = 3, ftPNG = 4 };

// Replaces the extension of the final path component (from its last ".") with
// the type's extension, or appends it when there is none. Any index other than
// the four types returns the name unchanged.
std::wstring ExtensionForFilter(std::wstring_view name, int filterIndex);

// The next numbered base name of a file name without folder: "capture.jpg"
// gives "capture(1)", "shot(9).bmp" gives "shot(10)". The result has no
// extension; a name whose base is empty comes back unchanged.
std::wstring NumberedFileName(std::wstring_view name);

// A full name split at its last path separator and at the last "." after it.
struct SplitFileName {
    std::wstring folder;     // with its trailing separator, or empty
    std::wstring name;       // file name with extension
    std::wstring extension;  // from the last ".", or empty
};
SplitFileName SplitPath(std::wstring_view path);

// The name after one renaming step: folder + NumberedFileName(name) + extension.
std::wstring NextRenamedPath(std::wstring_view path);
