#include "preview/DateStampCommands.h"

void DateStampBMPActionExecute(TCapturedPicture& picture) { picture.DateStamp(true); }

void UnDateStampBMPActionExecute(TCapturedPicture& picture) { picture.DateStamp(false); }
