// The preview window (not shown): the picture control and the size panel
// follow ShowBMP, the swatch follows SetBackgroundColor, and neither leaks GDI
// objects however often they run.
#include <gtest/gtest.h>

#include "preview/EditCommands.h"
#include "preview/PreviewWindow.h"
#include "tests/support/TestPictures.h"
#include "win/Gdi.h"

namespace {

class PreviewWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!preview_) preview_ = new TPreviewForm(actions_, {}, picture_, RGB(255, 255, 255));
        if (!preview_->Hwnd()) GTEST_SKIP() << "no display";
    }
    static void TearDownTestSuite()
    {
        delete preview_;
        preview_ = nullptr;
    }

    static SIZE ControlSize(int id)
    {
        RECT r;
        ::GetWindowRect(preview_->Control(id), &r);
        return {r.right - r.left, r.bottom - r.top};
    }

    static COLORREF SwatchPixel(int x, int y)
    {
        win::UniqueMemoryDC dc = win::CreateMemoryDC();
        win::SelectGuard select(dc.get(), preview_->BackgroundSwatch());
        return ::GetPixel(dc.get(), x, y);
    }

    static inline Document picture_;
    static inline win::TActionList actions_{std::vector<win::TAction>{}};
    static inline TPreviewForm* preview_ = nullptr;
};

}  // namespace

TEST_F(PreviewWindowTest, ShowBmpSizesThePictureUnscaledAndWritesTheSizePanel)
{
    win::Bitmap picture;
    testpics::FillPattern(picture, 300, 200, win::PixelFormat::Bits24);
    preview_->ShowBMP(picture);
    EXPECT_EQ(preview_->PanelText(1), L" 300 x 200   (width x height in pixels)");
    const SIZE size = ControlSize(TPreviewForm::Image1);
    EXPECT_EQ(size.cx, 300);
    EXPECT_EQ(size.cy, 200);
    RECT image, box;
    ::GetWindowRect(preview_->Control(TPreviewForm::Image1), &image);
    ::GetClientRect(preview_->Control(TPreviewForm::ScrollBox1), &box);
    ::MapWindowPoints(preview_->Control(TPreviewForm::ScrollBox1), nullptr, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(image.left - box.left, 10);
    EXPECT_EQ(image.top - box.top, 10);

    // A copy: later changes of the source do not show until the next ShowBMP.
    win::FillSolidRect(picture.Canvas(), {0, 0, 300, 200}, RGB(1, 2, 3));
    EXPECT_EQ(preview_->Picture().Pixel(5, 5), testpics::PatternColor(5, 5));
    EXPECT_EQ(preview_->PanelText(2), L"\t\tTAVRO      ");
}

TEST_F(PreviewWindowTest, SwatchFillsItsInnerSquareAndKeepsItsBorder)
{
    preview_->SetBackgroundColor(RGB(10, 200, 30));
    const COLORREF border = SwatchPixel(0, 0);
    EXPECT_NE(border, RGB(10, 200, 30));
    for (int i = 1; i < 15; ++i) {
        EXPECT_EQ(SwatchPixel(i, i), RGB(10, 200, 30)) << i;
        EXPECT_EQ(SwatchPixel(i, 0), border) << i;
        EXPECT_EQ(SwatchPixel(15, i), border) << i;
    }
}

TEST_F(PreviewWindowTest, RepeatedShowingAndRecolouringLeakNoGdiObjects)
{
    win::Bitmap picture;
    testpics::FillPattern(picture, 120, 90, win::PixelFormat::Bits32);
    preview_->ShowBMP(picture);
    preview_->SetBackgroundColor(RGB(0, 0, 255));
    const long before = win::gdiObjectCount;
    for (int i = 0; i < 20; ++i) {
        picture.SetSize(120 + i, 90 + i);
        preview_->ShowBMP(picture);
        preview_->SetBackgroundColor(RGB(i, 0, 255));
    }
    EXPECT_EQ(win::gdiObjectCount, before);
}

// The crop interaction through the picture control's own mouse messages: a
// drag past the edge stops there, a handle adjusts the area, Escape leaves
// the picture alone and a double-click crops.
TEST_F(PreviewWindowTest, CropDragsAnAreaAdjustsItByAHandleAndCropsOnADoubleClick)
{
    win::Bitmap composed;
    testpics::FillPattern(composed, 300, 200);
    picture_.NewCapture(composed, {}, 0, 0, false);
    preview_->ShowChange({0, 0, 300, 200});
    int applied = 0;
    preview_->ApplyCrop = [&](const RECT& area) {
        ++applied;
        return CropToArea(picture_, area);
    };
    picture_.OnChange = [](const RECT& changed) { preview_->ShowChange(changed); };
    auto area = [](const RECT& r) { return std::vector<LONG>{r.left, r.top, r.right, r.bottom}; };
    HWND image = preview_->Control(TPreviewForm::Image1);
    auto mouse = [image](UINT message, int x, int y) { ::SendMessageW(image, message, 0, MAKELPARAM(x, y)); };
    auto key = [](WPARAM k) { return MSG{nullptr, WM_KEYDOWN, k, 0, 0, {}}; };

    preview_->BeginCrop();
    mouse(WM_LBUTTONDOWN, 250, 20);
    mouse(WM_MOUSEMOVE, 120, 80);
    mouse(WM_LBUTTONUP, 400, 90);  // past the right edge
    EXPECT_EQ(area(preview_->Crop().Area()), (std::vector<LONG>{250, 20, 300, 90}));
    mouse(WM_LBUTTONDOWN, 250, 50);  // the left edge's handle
    mouse(WM_LBUTTONUP, 100, 50);
    EXPECT_EQ(area(preview_->Crop().Area()), (std::vector<LONG>{100, 20, 300, 90}));

    preview_->OnKey(key(VK_ESCAPE));
    EXPECT_FALSE(preview_->Crop().Active());
    EXPECT_EQ(applied, 0);

    preview_->BeginCrop();
    mouse(WM_LBUTTONDOWN, 10, 10);
    mouse(WM_LBUTTONUP, 10, 100);  // no width: refused, the tool stays
    preview_->OnKey(key(VK_RETURN));
    EXPECT_TRUE(preview_->Crop().Active());
    mouse(WM_LBUTTONDOWN, 10, 10);
    mouse(WM_LBUTTONUP, 60, 100);
    mouse(WM_LBUTTONDBLCLK, 30, 30);
    EXPECT_FALSE(preview_->Crop().Active());
    EXPECT_EQ(picture_.Width(), 50);
    EXPECT_EQ(picture_.Height(), 90);
    EXPECT_EQ(preview_->Picture().Width(), 50);
    EXPECT_EQ(applied, 1);
    preview_->ApplyCrop = nullptr;
    picture_.OnChange = nullptr;
}
