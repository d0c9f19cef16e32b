#include "output/Print.h"

#include <commdlg.h>

#include <cstdint>
#include <cwchar>
#include <limits>
#include <vector>

#include "output/PicturePalette.h"
#include "output/PrintExtent.h"
#include "win/Error.h"
#include "win/Gdi.h"

namespace {

constexpr wchar_t kCannotStart[] = L"Cannot start the print job";
constexpr wchar_t kJobFailed[] = L"Printing failed; the print job was cancelled";

// Selects a palette into a DC as a background palette and realizes it; puts
// the previous palette back (and realizes it) on exit.
class PaletteGuard {
public:
    PaletteGuard(HDC dc, HPALETTE palette) noexcept : dc_(dc)
    {
        if (palette) {
            previous_ = ::SelectPalette(dc_, palette, TRUE);
            ::RealizePalette(dc_);
        }
    }
    ~PaletteGuard()
    {
        if (previous_) {
            ::SelectPalette(dc_, previous_, TRUE);
            ::RealizePalette(dc_);
        }
    }
    PaletteGuard(const PaletteGuard&) = delete;
    PaletteGuard& operator=(const PaletteGuard&) = delete;

private:
    HDC dc_;
    HPALETTE previous_ = nullptr;
};

// A started document: aborted on the way out unless it was ended.
class OpenDocument {
public:
    explicit OpenDocument(HDC printer) noexcept : printer_(printer) {}
    ~OpenDocument() { if (printer_) ::AbortDoc(printer_); }
    OpenDocument(const OpenDocument&) = delete;
    OpenDocument& operator=(const OpenDocument&) = delete;
    void End()
    {
        if (::EndDoc(printer_) <= 0) throw win::Error(kJobFailed);
        printer_ = nullptr;
    }

private:
    HDC printer_;
};

bool IsPaletteDisplay()
{
    win::WindowDC screen(nullptr);
    return (::GetDeviceCaps(screen.get(), RASTERCAPS) & RC_PALETTE) != 0;
}

// The picture's pixels as a bottom-up DIB for the printer: 24 bits per pixel,
// or 8 with the system palette's colours on a palette display. They are
// copied from the picture's own rows into a section of that format, so the
// picture's bitmap is never read through GetDIBits (which it must not be
// while its canvas holds it selected).
class DibCopy {
public:
    DibCopy(const win::Bitmap& picture, bool paletteDisplay)
        : header_(sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * (paletteDisplay ? 256 : 1))
    {
        const int w = picture.Width();
        const int h = picture.Height();
        BITMAPINFOHEADER& out = Info()->bmiHeader;
        out.biSize = sizeof(BITMAPINFOHEADER);
        out.biWidth = w;
        out.biHeight = h;  // bottom-up rows
        out.biPlanes = 1;
        out.biBitCount = static_cast<WORD>(paletteDisplay ? 8 : 24);
        out.biCompression = BI_RGB;
        if (paletteDisplay) {
            out.biClrUsed = out.biClrImportant = 256;
            // The colours as the screen shows them now.
            win::WindowDC screen(nullptr);
            PALETTEENTRY entries[256]{};
            const UINT count = ::GetSystemPaletteEntries(screen.get(), 0, 256, entries);
            for (UINT i = 0; i < count && i < 256; ++i)
                Info()->bmiColors[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
        }
        const std::int64_t rowBytes = ((static_cast<std::int64_t>(w) * out.biBitCount + 31) / 32) * 4;
        if (rowBytes * h > std::numeric_limits<std::int32_t>::max()) win::ThrowOutOfResources();
        out.biSizeImage = static_cast<DWORD>(rowBytes * h);

        section_.reset(::CreateDIBSection(nullptr, Info(), DIB_RGB_COLORS, &bits_, nullptr, 0));
        win::UniqueMemoryDC target = win::CreateMemoryDC();
        if (!section_ || !bits_ || !target) win::ThrowOutOfResources();
        win::SelectGuard selected(target.get(), section_.get());

        BITMAPINFO source{};
        source.bmiHeader = out;
        source.bmiHeader.biHeight = -h;  // the picture's rows run top-down
        source.bmiHeader.biBitCount = static_cast<WORD>(picture.BitsPerPixel());
        source.bmiHeader.biClrUsed = source.bmiHeader.biClrImportant = 0;
        source.bmiHeader.biSizeImage = 0;
        ::GdiFlush();  // drawing on the picture's canvas may still be queued
        if (::SetDIBitsToDevice(target.get(), 0, 0, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, 0, 0,
                                static_cast<UINT>(h), picture.Row(0), &source, DIB_RGB_COLORS) != h)
            win::ThrowOutOfResources();
        ::GdiFlush();
    }
    DibCopy(const DibCopy&) = delete;
    DibCopy& operator=(const DibCopy&) = delete;

    BITMAPINFO* Info() noexcept { return reinterpret_cast<BITMAPINFO*>(header_.data()); }
    const BITMAPINFO* Info() const noexcept { return reinterpret_cast<const BITMAPINFO*>(header_.data()); }
    const void* Bits() const noexcept { return bits_; }

private:
    std::vector<std::uint8_t> header_;
    void* bits_ = nullptr;
    win::UniqueBitmap section_;
};

}  // namespace

bool TPrintDialog::Execute(HWND owner, UniquePrinterDC& printer)
{
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    // PD_NOWARNING: without a printer the program's own message is the one shown.
    dialog.Flags = PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOPAGENUMS | PD_NOSELECTION |
                   PD_HIDEPRINTTOFILE | PD_NOWARNING;
    // The dialog may free these and hand back new ones: keep whatever it returns.
    dialog.hDevMode = devMode_.release();
    dialog.hDevNames = devNames_.release();
    const BOOL chosen = ::PrintDlgW(&dialog);
    devMode_.reset(dialog.hDevMode);
    devNames_.reset(dialog.hDevNames);
    UniquePrinterDC dc(dialog.hDC);
    if (!chosen) {
        const DWORD error = ::CommDlgExtendedError();
        if (error == 0) return false;
        // Settings of a printer that is gone would fail the next showing too.
        devMode_.reset();
        devNames_.reset();
        if (error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES) throw win::Error(L"No printer is installed");
        wchar_t text[80];
        std::swprintf(text, 80, L"The print dialog failed (error 0x%04lX)", static_cast<unsigned long>(error));
        throw win::Error(text);
    }
    if (!dc) throw win::Error(kCannotStart);
    printer = std::move(dc);
    return true;
}

void PrintActionExecute(const win::Bitmap& picture, TPrintDialog& dialog, HWND owner)
{
    if (picture.Empty()) throw win::Error(L"There is no picture to print");
    UniquePrinterDC printer;
    if (!dialog.Execute(owner, printer)) return;
    PrintPicture(picture, printer.get());
}

void PrintPicture(const win::Bitmap& picture, HDC printer)
{
    PrintOnePage(printer, [&](HDC dc) { DrawPrintedPicture(dc, picture); });
}

void PrintOnePage(HDC printer, const std::function<void(HDC)>& draw)
{
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = L"";
    if (::StartDocW(printer, &info) <= 0) throw win::Error(kCannotStart);
    OpenDocument document(printer);
    if (::StartPage(printer) <= 0) throw win::Error(kJobFailed);
    draw(printer);
    if (::EndPage(printer) <= 0) throw win::Error(kJobFailed);
    document.End();
}

void DrawPrintedPicture(HDC dc, const win::Bitmap& picture)
{
    DrawBitmapAsDib(dc, 0, 0, PrintExtent(picture.Width()), PrintExtent(picture.Height()), picture);
}

void DrawBitmapAsDib(HDC dc, int x, int y, int width, int height, const win::Bitmap& bitmap)
{
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    if (w <= 0 || h <= 0) throw win::Error(L"There is no picture to draw");
    const bool paletteDisplay = IsPaletteDisplay();
    const win::UniquePalette palette = paletteDisplay ? PaletteOf(bitmap) : win::UniquePalette();
    const DibCopy copy(bitmap, paletteDisplay);

    PaletteGuard destinationPalette(dc, palette.get());
    const int lines = ::StretchDIBits(dc, x, y, width, height, 0, 0, w, h, copy.Bits(), copy.Info(),
                                      DIB_RGB_COLORS, SRCCOPY);
    if (lines == 0 || lines == static_cast<int>(GDI_ERROR)) throw win::Error(L"The picture could not be drawn");
}
