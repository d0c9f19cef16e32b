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

// GlobalLock/GlobalUnlock.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL memory) noexcept : memory_(memory), data_(::GlobalLock(memory)) {}
    ~GlobalLockGuard() { if (data_) ::GlobalUnlock(memory_); }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    void* get() const noexcept { return data_; }

private:
    HGLOBAL memory_;
    void* data_;
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

}  // namespace

bool TPrintDialog::Execute(HWND owner, UniquePrinterDC& printer)
{
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOPAGENUMS | PD_NOSELECTION |
                   PD_HIDEPRINTTOFILE;
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
    const int bits = paletteDisplay ? 8 : 24;

    // The header with room for the colour table: 256 entries on a palette
    // display, one otherwise. Fields not set stay 0.
    std::vector<std::uint8_t> header(sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * (paletteDisplay ? 256 : 1));
    auto* info = reinterpret_cast<BITMAPINFO*>(header.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = w;
    info->bmiHeader.biHeight = h;  // bottom-up rows
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = static_cast<WORD>(bits);
    info->bmiHeader.biCompression = BI_RGB;
    if (paletteDisplay) info->bmiHeader.biClrUsed = info->bmiHeader.biClrImportant = 256;

    const win::UniquePalette palette = paletteDisplay ? PaletteOf(bitmap) : win::UniquePalette();
    win::UniqueGlobal pixels;
    {
        win::WindowDC screen(nullptr);
        if (!screen.get()) win::ThrowOutOfResources();
        PaletteGuard screenPalette(screen.get(), palette.get());
        ::GdiFlush();  // drawing on the picture's canvas may still be queued
        // Without a pixel buffer GetDIBits completes the header (the image size).
        if (!::GetDIBits(screen.get(), bitmap.Handle(), 0, static_cast<UINT>(h), nullptr, info, DIB_RGB_COLORS))
            win::ThrowOutOfResources();
        const std::int64_t rowBytes = ((static_cast<std::int64_t>(w) * bits + 31) / 32) * 4;
        const std::int64_t size = rowBytes * h;
        if (size > std::numeric_limits<std::int32_t>::max()) win::ThrowOutOfResources();
        info->bmiHeader.biSizeImage = static_cast<DWORD>(size);
        pixels.reset(::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size)));
        if (!pixels) win::ThrowOutOfResources();
        GlobalLockGuard lock(pixels.get());
        if (!lock.get()) win::ThrowOutOfResources();
        if (::GetDIBits(screen.get(), bitmap.Handle(), 0, static_cast<UINT>(h), lock.get(), info,
                        DIB_RGB_COLORS) != h)
            win::ThrowOutOfResources();
        if (paletteDisplay) {
            // The colours as the screen shows them now.
            PALETTEENTRY entries[256]{};
            const UINT count = ::GetSystemPaletteEntries(screen.get(), 0, 256, entries);
            for (UINT i = 0; i < count && i < 256; ++i)
                info->bmiColors[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
        }
    }

    PaletteGuard destinationPalette(dc, palette.get());
    GlobalLockGuard lock(pixels.get());
    if (!lock.get()) win::ThrowOutOfResources();
    const int lines = ::StretchDIBits(dc, x, y, width, height, 0, 0, w, h, lock.get(), info, DIB_RGB_COLORS,
                                      SRCCOPY);
    if (lines == 0 || lines == static_cast<int>(GDI_ERROR)) throw win::Error(L"The picture could not be drawn");
}
