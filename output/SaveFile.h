// The Save command and the writers other commands share: the save dialog, the
// file-exists policy with numbered renaming, and the temporary BMP file handed
// to image programs.
#pragma once

#include <functional>
#include <string>

#include "output/FileExistsDialog.h"
#include "output/FileSystem.h"
#include "output/TempImageFile.h"
#include "win/AlphaMask.h"
#include "win/Bitmap.h"

// The Save command: DoSaveDialog.
void SaveFileActionExecute(win::Bitmap& picture, std::wstring& saveDir, TFileExistsForm& existsDialog,
                           const win::AlphaMask& alpha = win::AlphaMask());

// Shows PicDialog, opening in saveDir (see SaveDialogFolder), and saves the
// picture; true when a file was written. Only then saveDir becomes the folder
// of that file. The Mail command reads PicDialog.FileName afterwards to learn
// which file. alpha is the picture's see-through part, kept by the PNG type.
bool DoSaveDialog(win::Bitmap& picture, std::wstring& saveDir, TFileExistsForm& existsDialog,
                  const win::AlphaMask& alpha = win::AlphaMask());

// The folder the save dialog opens in: saveDir when it is a usable, existing
// folder, else fallback (the user's Pictures folder; empty lets the dialog choose).
std::wstring SaveDialogFolder(const std::wstring& saveDir, const std::function<bool(const std::wstring&)>& isFolder,
                              const std::wstring& fallback);

// Writes the picture under fileName with the extension of filterIndex forced
// onto it; with checkExists, an existing file is handled by the file-exists
// policy of existsDialog. True when a file was written, false when the user
// cancelled. A failed write throws win::Error (the command shows it).
// PicDialog.FileName ends up as the name actually written.
bool SaveImageFile(win::Bitmap& picture, const std::wstring& fileName, int filterIndex, bool checkExists,
                   TFileExistsForm& existsDialog, const win::AlphaMask& alpha = win::AlphaMask());

// SaveImageFile with its collaborators passed in. choose answers for an
// existing file (1 overwrite, 7 rename, else cancel); dialogFileName receives
// the names as PicDialog.FileName does.
bool SaveImageFileTo(win::Bitmap& picture, const std::wstring& fileName, int filterIndex, bool checkExists,
                     const std::function<int(const std::wstring&)>& choose, std::wstring& dialogFileName,
                     FileSystem& fs = RealFileSystem(), const win::AlphaMask& alpha = win::AlphaMask());
