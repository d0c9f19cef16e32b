// The one temporary file of the program: the picture as a BMP file, written
// before an image program is started and handed to it on its command line.
// It is rewritten each time and never deleted.
#pragma once

#include <string>

#include "win/Bitmap.h"

// "capture-temp.bmp" in the executable's folder, or in the user's temporary
// folder when the executable's folder does not take new files (the usual case
// for an installed program).
std::wstring TempImageFile();

// The same choice for a given preferred folder (with its trailing separator).
std::wstring TempImageFileIn(const std::wstring& preferredFolder);

// Writes picture to TempImageFile() as a BMP file at its depth, replacing the
// previous one, and returns the path written. Throws win::Error saying why
// when it cannot, leaving the previous file as it was.
std::wstring WriteTempImageFile(const win::Bitmap& picture);

// WriteTempImageFile for callers that carry on without the file: false on any
// failure, which is not reported.
bool SaveBMP(const win::Bitmap& picture);
