// The printed page recorded on an enhanced metafile, where every StretchDIBits
// call can be read back: extents at the print scale (ties to even, past 16
// bits), the device-independent bitmap handed over, and a job that cannot start.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "output/Print.h"
#include "tests/support/TestPictures.h"
#include "win/Error.h"

namespace {

struct StretchCall {
    EMRSTRETCHDIBITS record;
    BITMAPINFOHEADER header;
    std::vector<std::uint8_t> bits;
};

// Draws into a fresh metafile and returns its StretchDIBits records.
std::vector<StretchCall> Recorded(const win::Bitmap& picture)
{
    HDC dc = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(dc, nullptr);
    DrawPrintedPicture(dc, picture);
    HENHMETAFILE emf = ::CloseEnhMetaFile(dc);
    std::vector<std::uint8_t> bytes(::GetEnhMetaFileBits(emf, 0, nullptr));
    ::GetEnhMetaFileBits(emf, static_cast<UINT>(bytes.size()), bytes.data());
    ::DeleteEnhMetaFile(emf);

    std::vector<StretchCall> calls;
    for (size_t at = 0; at + sizeof(EMR) <= bytes.size();) {
        EMR emr;
        std::memcpy(&emr, bytes.data() + at, sizeof emr);
        if (emr.nSize == 0) break;
        if (emr.iType == EMR_STRETCHDIBITS) {
            StretchCall call;
            std::memcpy(&call.record, bytes.data() + at, sizeof call.record);
            std::memcpy(&call.header, bytes.data() + at + call.record.offBmiSrc, sizeof call.header);
            const std::uint8_t* bits = bytes.data() + at + call.record.offBitsSrc;
            call.bits.assign(bits, bits + call.record.cbBitsSrc);
            calls.push_back(std::move(call));
        }
        at += emr.nSize;
    }
    return calls;
}

TEST(PrintedPicture, OneStretchAtTheTopLeftWithTheBottomUpDibOfThePicture)
{
    win::Bitmap picture;
    testpics::FillPattern(picture, 1024, 768);
    // Drawn on through its canvas, which keeps the bitmap selected.
    ::SetPixel(picture.Canvas(), 5, 5, RGB(1, 2, 3));
    const long before = win::gdiObjectCount.load();
    const std::vector<StretchCall> calls = Recorded(picture);
    EXPECT_EQ(win::gdiObjectCount.load(), before);
    ASSERT_EQ(calls.size(), 1u);
    const StretchCall& call = calls[0];
    EXPECT_EQ(call.record.xDest, 0);
    EXPECT_EQ(call.record.yDest, 0);
    EXPECT_EQ(call.record.cxDest, 4518);
    EXPECT_EQ(call.record.cyDest, 3388);
    EXPECT_EQ(call.record.xSrc, 0);
    EXPECT_EQ(call.record.ySrc, 0);
    EXPECT_EQ(call.record.cxSrc, 1024);
    EXPECT_EQ(call.record.cySrc, 768);
    EXPECT_EQ(call.record.iUsageSrc, static_cast<DWORD>(DIB_RGB_COLORS));
    EXPECT_EQ(call.record.dwRop, static_cast<DWORD>(SRCCOPY));

    EXPECT_EQ(call.header.biSize, 40u);
    EXPECT_EQ(call.header.biWidth, 1024);
    EXPECT_EQ(call.header.biHeight, 768);  // positive: bottom-up
    EXPECT_EQ(call.header.biPlanes, 1);
    EXPECT_EQ(call.header.biBitCount, 24);  // a true-colour display: no palette at all
    EXPECT_EQ(call.header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(call.header.biSizeImage, 1024u * 3 * 768);
    EXPECT_EQ(call.header.biClrUsed, 0u);
    EXPECT_EQ(call.header.biClrImportant, 0u);

    ASSERT_EQ(call.bits.size(), 1024u * 3 * 768);
    for (int y = 0; y < 768; ++y) {
        const std::uint8_t* row = call.bits.data() + static_cast<size_t>(767 - y) * 1024 * 3;
        for (int x = 0; x < 1024; ++x) {
            const COLORREF c = picture.Pixel(x, y);
            const COLORREF got = RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            ASSERT_EQ(got, c) << "pixel " << x << ", " << y;
        }
    }
}

TEST(PrintedPicture, ExtentsPastSixteenBitsAndExactTiesReachTheDevice)
{
    const struct {
        int width, height, printedWidth, printedHeight;
    } cases[] = {
        {14855, 2, 65537, 9},  // would wrap to 1 in 16 bits
        {2, 14856, 9, 65541},
        // The float scale is 9252141 / 2^21, so a product ends in exactly .5 at
        // odd multiples of 2^20: rounded to the even neighbour, down then up.
        {1048576, 1, 4626070, 4},
        {3145728, 1, 13878212, 4},
    };
    for (const auto& c : cases) {
        win::Bitmap picture;
        picture.SetPixelFormat(win::PixelFormat::Bits24);
        picture.SetSize(c.width, c.height);
        const std::vector<StretchCall> calls = Recorded(picture);
        ASSERT_EQ(calls.size(), 1u) << c.width;
        EXPECT_EQ(calls[0].record.cxDest, c.printedWidth) << c.width;
        EXPECT_EQ(calls[0].record.cyDest, c.printedHeight) << c.width;
        EXPECT_EQ(calls[0].record.cxSrc, c.width);
        EXPECT_EQ(calls[0].record.cySrc, c.height);
    }
}

TEST(PrintJob, ADeviceThatCannotStartADocumentIsReportedAndNothingIsDrawn)
{
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    bool drawn = false;
    try {
        PrintOnePage(memory, [&](HDC) { drawn = true; });
        ADD_FAILURE() << "a memory device started a print job";
    } catch (const win::Error& e) {
        EXPECT_EQ(e.Message(), L"Cannot start the print job");
    }
    EXPECT_FALSE(drawn);
    ::DeleteDC(memory);
}

}  // namespace
