// Prints on the default printer through the program's own print path, for the
// spooler test (print_spooler.py):
//   print_tool print WIDTH HEIGHT   a picture of four coloured quarters
//   print_tool abort                a page whose drawing fails half-way
//   print_tool info                 the printer's resolution and paper in pixels
#include <windows.h>

#include <cstdio>
#include <string>

#include "output/Print.h"
#include "win/Error.h"
#include "win/Gdi.h"

namespace {

// Red, green, blue and yellow quarters, clockwise from the top-left.
void FillQuarters(win::Bitmap& picture, int width, int height)
{
    picture.SetPixelFormat(win::PixelFormat::Bits24);
    picture.SetSize(width, height);
    HDC dc = picture.Canvas();
    const int midX = width / 2, midY = height / 2;
    win::FillSolidRect(dc, {0, 0, midX, midY}, RGB(255, 0, 0));
    win::FillSolidRect(dc, {midX, 0, width, midY}, RGB(0, 255, 0));
    win::FillSolidRect(dc, {midX, midY, width, height}, RGB(0, 0, 255));
    win::FillSolidRect(dc, {0, midY, midX, height}, RGB(255, 255, 0));
    ::GdiFlush();
}

UniquePrinterDC DefaultPrinter()
{
    wchar_t name[256];
    DWORD size = 256;
    if (!::GetDefaultPrinterW(name, &size)) throw win::Error(L"no default printer");
    UniquePrinterDC dc(::CreateDCW(L"WINSPOOL", name, nullptr, nullptr));
    if (!dc) throw win::Error(L"no printer DC");
    return dc;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    try {
        UniquePrinterDC printer = DefaultPrinter();
        if (verb == L"info") {
            std::printf("%d %d %d %d\n", ::GetDeviceCaps(printer.get(), LOGPIXELSX),
                        ::GetDeviceCaps(printer.get(), LOGPIXELSY), ::GetDeviceCaps(printer.get(), HORZRES),
                        ::GetDeviceCaps(printer.get(), VERTRES));
            return 0;
        }
        if (verb == L"print" && argc == 4) {
            win::Bitmap picture;
            FillQuarters(picture, _wtoi(argv[2]), _wtoi(argv[3]));
            PrintPicture(picture, printer.get());
            return 0;
        }
        if (verb == L"abort") {
            win::Bitmap picture;
            FillQuarters(picture, 40, 20);
            try {
                PrintOnePage(printer.get(), [&](HDC dc) {
                    DrawPrintedPicture(dc, picture);
                    throw win::Error(L"drawing failed");
                });
            } catch (const win::Error& e) {
                if (e.Message() == L"drawing failed") return 0;
                std::fprintf(stderr, "unexpected error: %ls\n", e.Message().c_str());
                return 1;
            }
            std::fprintf(stderr, "the failed page did not reach the caller\n");
            return 1;
        }
    } catch (const win::Error& e) {
        std::fprintf(stderr, "print_tool: %ls\n", e.Message().c_str());
        return 1;
    }
    std::fprintf(stderr, "usage: print_tool print WIDTH HEIGHT | abort | info\n");
    return 2;
}
