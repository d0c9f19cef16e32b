// The PowerPoint command: the picture on a new first slide of the kept
// presentation, with the user's name and the date in text boxes under it.
#pragma once

#include <windows.h>

#include "output/OfficeLinks.h"
#include "win/Bitmap.h"

// Silent when PowerPoint cannot be reached (the references are emptied then);
// throws win::Error with PowerPoint's text when a later call fails, keeping
// the references. The picture is copied before the
// calls start, so it may change while they run.
void MakePowerPointActionExecute(const win::Bitmap& picture, OfficeLinks& links, const OfficeCaptions& captions);
