// The picture handed to image programs: written as a BMP file in the user's
// own temporary folder, under a new name each time. The files of this run are
// deleted when a new one is written and at Exit; one that another program
// still holds open stays and is tried again the next time.
#pragma once

#include <string>

#include "win/Bitmap.h"

// The user's own temporary folder, with its trailing separator.
std::wstring TempImageFolder();

// Writes picture at its depth as a BMP file in TempImageFolder(), under a name
// "capture-temp-<unique part>.bmp" that this write takes exclusively (a file
// that another process put under a name first is never replaced or reused),
// and returns the path written. Throws win::Error saying why when it cannot.
std::wstring WriteTempImageFile(const win::Bitmap& picture);

// Deletes the files this run wrote that are not open elsewhere; the others
// are tried again at the next call.
void DeleteTempImageFiles() noexcept;

// WriteTempImageFile for callers that carry on without the file: the path, or
// empty on any failure, which is not reported.
std::wstring SaveBMP(const win::Bitmap& picture);
