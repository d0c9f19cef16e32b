// The commands that open the picture in an image program: the way chosen in
// the image-program dialog ("Program"), the dialog itself ("Set"), and each
// way directly ("User Program", "Default Program", "Microsoft Paint").
//
// imageProgram and imageProgIndex are the settings of the same names: the
// path of the user's program, and the way (0 the user's program, 1 the one
// associated with BMP files, anything else Paint). The picture is written to
// the temporary BMP file first; when that fails, no program is started and the
// command throws win::Error saying why.
#pragma once

#include <string>

#include "output/ImageProgramDialog.h"
#include "win/Bitmap.h"

// Shows the dialog unless its "Don't Show This Screen" is checked, then opens
// the picture the chosen way.
void RunSelectedEditorActionExecute(const win::Bitmap& picture, std::wstring& imageProgram, int& imageProgIndex,
                                    TImageEdForm& dialog);

// Shows the dialog; OK stores the way and the edit box's text (even a blank one).
void SetImageEditorActionExecute(const win::Bitmap& picture, std::wstring& imageProgram, int& imageProgIndex,
                                 TImageEdForm& dialog);

// Opens the picture in the user's program; with no such program file, shows
// the dialog once and gives up quietly when there is still none.
void RunUserProgramOnlyActionExecute(const win::Bitmap& picture, std::wstring& imageProgram, int& imageProgIndex,
                                     TImageEdForm& dialog);

// Opens the picture in the program associated with BMP files; does nothing
// when there is none.
void RunDefaultProgramOnlyActionExecute(const win::Bitmap& picture);

// Opens the picture in Paint, found by its registered name "mspaint"; throws
// "Microsoft Paint was not found" (and writes no file) when there is none.
void RunMSPaintOnlyActionExecute(const win::Bitmap& picture);
