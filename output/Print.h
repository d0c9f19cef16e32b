// The Print command: the print dialog, then one page with the picture at its
// top-left corner, enlarged by the fixed print scale (see PrintExtent.h).
#pragma once

#include <windows.h>

#include <functional>

#include "win/Bitmap.h"
#include "win/UniqueHandle.h"

namespace output {
struct PrinterDCTraits : win::NullInvalid<HDC> {
    static void Close(HDC h) noexcept { ::DeleteDC(h); }
};
}  // namespace output
using UniquePrinterDC = win::UniqueHandle<output::PrinterDCTraits>;

// The standard print dialog with no options: no page range, no selection, no
// print to file. It keeps the printer and settings confirmed in it (printer,
// paper, orientation, copies as the driver handles them) for the next showing.
class TPrintDialog {
public:
    // Shows the dialog over owner. True with a device context for the chosen
    // printer and settings in printer; false when the user cancelled. Throws
    // win::Error when the dialog cannot be shown (no printer installed...).
    bool Execute(HWND owner, UniquePrinterDC& printer);

private:
    win::UniqueGlobal devMode_;
    win::UniqueGlobal devNames_;
};

// Shows dialog (the program's PrintDialog1) over owner; when the user
// confirms, prints picture with PrintPicture. Cancelling prints and shows
// nothing. Throws win::Error when the job cannot be printed.
void PrintActionExecute(const win::Bitmap& picture, TPrintDialog& dialog, HWND owner);

// One page on the printer: the picture at the top-left of the printable area,
// PrintExtent(width) x PrintExtent(height) printer pixels, cut at the paper's
// edges when larger. The document name is empty.
void PrintPicture(const win::Bitmap& picture, HDC printer);

// One document of one page on printer; draw paints the page. A document that
// cannot start throws win::Error. A failure once it started (a spooler call,
// or draw throwing) aborts the document, so no half job stays queued, and
// throws.
void PrintOnePage(HDC printer, const std::function<void(HDC)>& draw);

// The printed page's drawing: picture at (0, 0) at the print scale.
void DrawPrintedPicture(HDC dc, const win::Bitmap& picture);

// Draws the whole bitmap stretched into (x, y, width, height) of any device
// context, handing the pixels over as a bottom-up device-independent bitmap:
// 24 bits per pixel, or 8 with the system palette's colours on a palette
// display. Extents are not limited to 16 bits. Throws win::Error when the
// device context refuses the pixels.
void DrawBitmapAsDib(HDC dc, int x, int y, int width, int height, const win::Bitmap& bitmap);
