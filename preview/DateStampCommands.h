// Putting today's date on the captured picture and taking it off again. The
// choice is also the user's setting for the next captures.
#pragma once

#include "preview/CapturedPicture.h"

void DateStampBMPActionExecute(TCapturedPicture& picture);
void UnDateStampBMPActionExecute(TCapturedPicture& picture);
