// Putting today's date on the captured picture and taking it off again. The
// choice is also the user's setting for the next captures.
#pragma once

#include "preview/Document.h"

void DateStampBMPActionExecute(Document& document, bool& dateStampSetting);
void UnDateStampBMPActionExecute(Document& document, bool& dateStampSetting);
