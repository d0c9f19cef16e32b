// Quarter turns and mirror of the captured picture: edits of the document.
// dateStampSetting is the user's setting: a turn or a mirror puts the date
// stamp on when it asks, as the picture follows the setting.
#pragma once

#include "preview/Document.h"

void ClockwiseActionExecute(Document& document, bool dateStampSetting);
void CounterClockwiseActionExecute(Document& document, bool dateStampSetting);
void MirrorActionExecute(Document& document, bool dateStampSetting);
