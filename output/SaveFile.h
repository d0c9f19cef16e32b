// The Save command and the writers other commands share: the save dialog, the
// file-exists policy with numbered renaming, and the temporary BMP file handed
// to image programs.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "output/FileExistsDialog.h"
#include "output/FileSystem.h"
#include "output/PictureSaveDialog.h"
#include "output/TempImageFile.h"
#include "win/AlphaMask.h"
#include "win/Bitmap.h"

// The Save command: DoSaveDialog.
void SaveFileActionExecute(const win::Bitmap& picture, TPicDialog& dialog, std::wstring& saveDir,
                           TFileExistsForm& existsDialog, const win::AlphaMask& alpha = win::AlphaMask());

// Shows dialog (the program's PicDialog), opening in saveDir (see
// SaveDialogFolder), and saves the picture. Returns the name of the file
// written (the numbered one after a rename), which the dialog also proposes
// next time, and only then makes its folder saveDir; none when the user
// cancelled. alpha is the picture's see-through part, kept by the PNG type.
std::optional<std::wstring> DoSaveDialog(const win::Bitmap& picture, TPicDialog& dialog, std::wstring& saveDir,
                                         TFileExistsForm& existsDialog,
                                         const win::AlphaMask& alpha = win::AlphaMask());

// The folder the save dialog opens in: saveDir when it is a usable, existing
// folder, else fallback (the user's Pictures folder; empty lets the dialog choose).
std::wstring SaveDialogFolder(const std::wstring& saveDir, const std::function<bool(const std::wstring&)>& isFolder,
                              const std::wstring& fallback);

// Writes the picture under fileName with the extension of filterIndex forced
// onto it; with checkExists, an existing file is handled by the file-exists
// policy of existsDialog. True when a file was written, false when the user
// cancelled. A failed write throws win::Error (the command shows it).
// dialogFileName ends up as the name actually written (see SaveImageFileTo).
bool SaveImageFile(const win::Bitmap& picture, const std::wstring& fileName, int filterIndex, bool checkExists,
                   TFileExistsForm& existsDialog, std::wstring& dialogFileName,
                   const win::AlphaMask& alpha = win::AlphaMask());

// SaveImageFile with its collaborators passed in. choose answers for an
// existing file (1 overwrite, 7 rename, else cancel); dialogFileName receives
// the name with the type's extension, then the name actually written.
bool SaveImageFileTo(const win::Bitmap& picture, const std::wstring& fileName, int filterIndex, bool checkExists,
                     const std::function<int(const std::wstring&)>& choose, std::wstring& dialogFileName,
                     FileSystem& fs = RealFileSystem(), const win::AlphaMask& alpha = win::AlphaMask());
