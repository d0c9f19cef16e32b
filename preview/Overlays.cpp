// The overlay pass on a finished picture and the date-stamp commands. The pass
// starts from the clean picture every time, so removing the stamp is just
// another pass without it.
#include "app/AppSettings.h"
#include "app/Unit1.h"
#include "preview/DateText.h"
#include "preview/PreviewUnit.h"

void TForm1::WriteLogoOnImage(win::Bitmap& image)
{
    // The clean picture is kept; every later pass and transform starts from it.
    MasterImage->Assign(image);
    switch (ApplyDateStamp(image, AppSettings.DateStampImage)) {
    case StampOutcome::TooSmall:
        // Nothing drawn: the stamp state and the two actions stay as they were.
        break;
    case StampOutcome::Stamped:
        DateStampShown = true;
        ActionList1.SetEnabled(DateStampBMPAction, false);
        ActionList1.SetEnabled(UnDateStampBMPAction, true);
        break;
    case StampOutcome::Unstamped:
        DateStampShown = false;
        ActionList1.SetEnabled(DateStampBMPAction, true);
        ActionList1.SetEnabled(UnDateStampBMPAction, false);
        break;
    }
}

void TForm1::DateStamp(bool on)
{
    OutputImage->Assign(*MasterImage);
    AppSettings.DateStampImage = on;
    // Settings dialog hook: check or clear its "Put Date on Image" box (DateStampImageBox) here.
    WriteLogoOnImage(*OutputImage);
    if (PreviewForm && PreviewForm->Showing()) PreviewForm->ShowBMP(*OutputImage);
}

void TForm1::DateStampBMPActionExecute() { DateStamp(true); }

void TForm1::UnDateStampBMPActionExecute() { DateStamp(false); }
