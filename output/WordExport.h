// The Word command: the picture pasted at Word's selection in the kept
// document, a new document starting with the user's name and the date.
#pragma once

#include <windows.h>

#include "output/OfficeLinks.h"
#include "win/Bitmap.h"

// Silent when Word cannot be reached (the references are emptied then);
// throws win::Error with Word's text when a later call fails, keeping the
// references. The picture is copied before the
// calls start, so it may change while they run.
void MakeWordActionExecute(const win::Bitmap& picture, OfficeLinks& links, const OfficeCaptions& captions);
