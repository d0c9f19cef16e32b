// Finding the programs a picture can be opened in, and starting one on the
// temporary BMP file.
#pragma once

#include <string>
#include <string_view>

#include "win/Bitmap.h"

// The full path of the program the system associates with the file's type, in
// its long form; empty when there is none (or the file does not exist).
std::wstring FindDefaultProgram(const std::wstring& path);

// The shell's full long form of a path (short 8.3 names expanded); the path
// unchanged when the shell cannot parse it.
std::wstring ShellLongPath(const std::wstring& path);

// The program associated with BMP files, looked up by a temporary picture
// file written for the look-up and deleted after it; empty when there is none.
std::wstring GetDefaultProgram(const win::Bitmap& picture);

// True for a text of blanks (or none).
bool IsBlank(std::wstring_view text) noexcept;

// True when a file (not a folder) of that name exists.
bool ProgramFileExists(const std::wstring& name);

// Starts program through the shell with file as its one argument, quoted so a
// path with blanks arrives whole. Whether the program starts is not reported,
// as with a program started from the desktop.
void StartImageProgram(const std::wstring& program, const std::wstring& file);
