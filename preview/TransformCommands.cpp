#include "preview/TransformCommands.h"

void ClockwiseActionExecute(TCapturedPicture& picture) { picture.Rotate(true); }

void CounterClockwiseActionExecute(TCapturedPicture& picture) { picture.Rotate(false); }

void MirrorActionExecute(TCapturedPicture& picture) { picture.Mirror(); }
