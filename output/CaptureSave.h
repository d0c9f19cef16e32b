// Saving a capture straight into a folder, with no dialog, and showing the
// file it wrote.
#pragma once

#include <string>

#include "output/FileSystem.h"
#include "win/AlphaMask.h"
#include "win/Bitmap.h"

// Writes picture into folder (the Pictures folder when empty) under a new
// name made from pattern (see CaptureFileName.h) with the type's extension,
// never over an existing file. Returns the file's full name. Throws win::Error
// with a message for the user when the pattern cannot name a file, the folder
// is gone or the file cannot be written; nothing is replaced then.
std::wstring SaveCaptureInFolder(const win::Bitmap& picture, const win::AlphaMask& alpha, const std::wstring& folder,
                                 const std::wstring& pattern, int fileType, FileSystem& fs = RealFileSystem());

// Opens the folder of file in the shell with the file selected.
void ShowFileInFolder(const std::wstring& file);
