// Writes a picture to a file in the format of a save-dialog file type, safely
// (see SafeFileWriter.h): the file is complete or the old one is untouched.
#pragma once

#include <string>

#include "output/FileSystem.h"
#include "output/JpegEncoder.h"
#include "output/SafeFileWriter.h"
#include "win/AlphaMask.h"
#include "win/Bitmap.h"

namespace output {

// Index 1 JPEG, 3 GIF, 4 PNG (with alpha as its alpha channel when not empty),
// anything else BMP at the picture's depth; the picture itself never changes.
// Throws
// win::Error with a message for the user; an empty picture, or one too large
// for the format, is refused before any file is touched.
void WritePictureFile(const win::Bitmap& picture, const std::wstring& name, int filterIndex,
                      ExistingFile existing = ExistingFile::Replace, FileSystem& fs = RealFileSystem(),
                      const win::AlphaMask& alpha = win::AlphaMask());

// The complete JPEG file of a picture (throws win::Error).
void EncodeJpeg(const win::Bitmap& picture, JpegBytes& out);

}  // namespace output
