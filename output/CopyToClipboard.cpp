#include "output/CopyToClipboard.h"

#include "output/AlphaClipboard.h"
#include "output/PicturePalette.h"
#include "win/Error.h"
#include "win/Gdi.h"

namespace {

// OpenClipboard/CloseClipboard: the clipboard is closed on every exit.
class ClipboardGuard {
public:
    explicit ClipboardGuard(HWND owner) noexcept : open_(::OpenClipboard(owner) != FALSE) {}
    ~ClipboardGuard() { if (open_) ::CloseClipboard(); }
    ClipboardGuard(const ClipboardGuard&) = delete;
    ClipboardGuard& operator=(const ClipboardGuard&) = delete;
    bool Open() const noexcept { return open_; }

private:
    bool open_;
};

// A device-dependent copy of the picture. The clipboard gets a plain bitmap,
// not the picture's DIB section: other processes cannot always read a DIB
// section back as a bitmap.
win::UniqueBitmap DeviceCopy(const win::Bitmap& picture)
{
    const int width = picture.Width();
    const int height = picture.Height();
    win::WindowDC screen(nullptr);
    if (!screen.get()) win::ThrowOutOfResources();
    win::UniqueBitmap copy(::CreateCompatibleBitmap(screen.get(), width, height));
    if (!copy) win::ThrowOutOfResources();

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // the picture's rows are top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(picture.BitsPerPixel());
    info.bmiHeader.biCompression = BI_RGB;
    ::GdiFlush();  // drawing on the picture's canvas may still be queued
    if (::SetDIBits(screen.get(), copy.get(), 0, static_cast<UINT>(height), picture.Row(0), &info,
                    DIB_RGB_COLORS) != height)
        win::ThrowOutOfResources();
    return copy;
}

}  // namespace

void CopyToClipboardActionExecute(const win::Bitmap& picture, HWND owner, const win::AlphaMask* alpha)
{
    if (picture.Empty()) throw win::Error(L"There is no picture to copy");
    // Copies first, so the clipboard is held only for the hand-over.
    win::UniqueBitmap bitmap = DeviceCopy(picture);
    win::UniquePalette palette = PaletteOf(picture);
    win::UniqueGlobal png = alpha ? PngClipboardData(picture, *alpha) : win::UniqueGlobal();
    win::UniqueGlobal dibV5 = alpha ? DibV5ClipboardData(picture, *alpha) : win::UniqueGlobal();
    const UINT pngFormat = alpha ? PngClipboardFormat() : 0;

    ClipboardGuard clipboard(owner);
    if (!clipboard.Open()) throw win::Error(L"Cannot open clipboard");
    ::EmptyClipboard();
    // Once SetClipboardData succeeds the clipboard owns the object; until then
    // it stays ours and is freed on the way out.
    if (!::SetClipboardData(CF_BITMAP, bitmap.get()))
        throw win::Error(L"Cannot put the picture on the clipboard");
    bitmap.release();
    if (palette) {
        if (!::SetClipboardData(CF_PALETTE, palette.get()))
            throw win::Error(L"Cannot put the picture's palette on the clipboard");
        palette.release();
    }
    if (png) {
        if (!::SetClipboardData(pngFormat, png.get()))
            throw win::Error(L"Cannot put the picture on the clipboard as PNG");
        png.release();
    }
    if (dibV5) {
        if (!::SetClipboardData(CF_DIBV5, dibV5.get()))
            throw win::Error(L"Cannot put the picture on the clipboard with its transparency");
        dibV5.release();
    }
}
