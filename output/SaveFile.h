// The Save command and the writers other commands share: the save dialog, the
// file-exists policy with numbered renaming, and the temporary BMP file handed
// to image programs.
#pragma once

#include <functional>
#include <string>

#include "output/FileSystem.h"
#include "win/Bitmap.h"

// Shows PicDialog and saves OutputImage; true when a file was written. The
// Mail command reads PicDialog.FileName afterwards to learn which.
bool DoSaveDialog();

// Writes OutputImage under fileName with the extension of filterIndex forced
// onto it; with checkExists, an existing file is handled by the file-exists
// policy. True when a file was written, false when the user cancelled. A
// failed write throws win::Error (the command shows it). PicDialog.FileName
// ends up as the name actually written.
bool SaveImageFile(const std::wstring& fileName, int filterIndex, bool checkExists);

// Writes OutputImage to TempImageFile() as a BMP file, replacing the previous
// one; false on any failure, which is not reported.
bool SaveBMP();

// The folder of the executable followed by "capture-temp.bmp".
std::wstring TempImageFile();

// SaveImageFile with its collaborators passed in. choose answers for an
// existing file (1 overwrite, 7 rename, else cancel); dialogFileName receives
// the names as PicDialog.FileName does.
bool SaveImageFileTo(win::Bitmap& picture, const std::wstring& fileName, int filterIndex, bool checkExists,
                     const std::function<int(const std::wstring&)>& choose, std::wstring& dialogFileName,
                     FileSystem& fs = RealFileSystem());
