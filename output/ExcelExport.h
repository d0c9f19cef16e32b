// The Excel command: a new sheet in the kept workbook with the user's name in
// A2, the date in A3 and the picture pasted at B5.
#pragma once

#include <windows.h>

#include "output/OfficeLinks.h"
#include "win/Bitmap.h"

// Silent when Excel cannot be reached or gives no new sheet (the references
// are emptied then); throws win::Error with Excel's text when a later call
// fails, keeping the references. The picture is copied before the
// calls start, so it may change while they run.
void MakeExcelActionExecute(const win::Bitmap& picture, OfficeLinks& links, const OfficeCaptions& captions);
