#include "preview/BitmapTransforms.h"

#include "preview/TransformKernels.h"

namespace {

gif::MutablePixelRows RowsOf(win::Bitmap& b)
{
    return {b.Width(), b.Height(), b.BitsPerPixel(), b.Row(0), b.Stride()};
}

std::unique_ptr<win::Bitmap> NewBitmap24(int width, int height)
{
    auto b = std::make_unique<win::Bitmap>();
    b->SetPixelFormat(win::PixelFormat::Bits24);
    b->SetSize(width, height);
    return b;
}

}  // namespace

std::unique_ptr<win::Bitmap> FlipBitmap(bool vertical, bool horizontal, win::Bitmap& source)
{
    auto result = NewBitmap24(source.Width(), source.Height());
    if (source.Empty()) return result;
    // Pending GDI drawing on the source must land before its rows are read.
    ::GdiFlush();
    FlipRows(RowsOf(source), RowsOf(*result), vertical, horizontal);
    return result;
}

std::unique_ptr<win::Bitmap> RotateBitmap(int angle, win::Bitmap& source)
{
    if (source.BitsPerPixel() != 24 || (angle != 90 && angle != -90)) return nullptr;
    auto result = NewBitmap24(source.Height(), source.Width());
    if (source.Empty()) return result;
    ::GdiFlush();
    RotateRows24(RowsOf(source), RowsOf(*result), angle == 90);
    return result;
}
