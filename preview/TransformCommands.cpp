#include "preview/TransformCommands.h"

void ClockwiseActionExecute(Document& document, bool dateStampSetting)
{
    document.Apply(TurnEdit(true, dateStampSetting));
}

void CounterClockwiseActionExecute(Document& document, bool dateStampSetting)
{
    document.Apply(TurnEdit(false, dateStampSetting));
}

void MirrorActionExecute(Document& document, bool dateStampSetting) { document.Apply(MirrorEdit(dateStampSetting)); }
