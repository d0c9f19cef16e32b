// Quarter turns and mirror of the captured picture (see TCapturedPicture).
#pragma once

#include "preview/CapturedPicture.h"

void ClockwiseActionExecute(TCapturedPicture& picture);
void CounterClockwiseActionExecute(TCapturedPicture& picture);
void MirrorActionExecute(TCapturedPicture& picture);
