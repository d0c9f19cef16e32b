#include "preview/DateStampCommands.h"

void DateStampBMPActionExecute(Document& document, bool& dateStampSetting)
{
    document.Apply(DateStampEdit(true));
    dateStampSetting = true;
}

void UnDateStampBMPActionExecute(Document& document, bool& dateStampSetting)
{
    document.Apply(DateStampEdit(false));
    dateStampSetting = false;
}
