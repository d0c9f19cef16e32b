// The document: turns, mirror, the date stamp, the background colour and
// crop on real GDI bitmaps, and undo and redo of any mix of them.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string_view>

#include "capture/Composition.h"
#include "capture/ShapeMask.h"
#include "markup/GdiGlyphSource.h"
#include "preview/BitmapTransforms.h"
#include "preview/DateStampCommands.h"
#include "preview/DateText.h"
#include "preview/Document.h"
#include "preview/DrawnMark.h"
#include "preview/EditCommands.h"
#include "preview/TransformCommands.h"
#include "tests/support/TestPictures.h"
#include "win/Gdi.h"

namespace {

using testpics::Colors;
using testpics::PixelBytes;

class DocumentEdits : public ::testing::Test {
protected:
    // A fresh 300 x 200 rectangle capture, as the composition hands it over.
    void Capture(bool stamp)
    {
        stampSetting_ = stamp;
        win::Bitmap composed;
        testpics::FillPattern(composed, 300, 200);
        testpics::FillPattern(clean_, 300, 200, win::PixelFormat::Bits24);
        doc_.NewCapture(composed, {}, scRectangle, RGB(255, 255, 255), stamp);
    }

    bool stampSetting_ = true;
    Document doc_;
    win::Bitmap clean_;  // the capture's pixels, 24 bits per pixel
};

}  // namespace

TEST_F(DocumentEdits, TurnsAndMirrorsMoveThePixelsAndCancelOut)
{
    Capture(true);
    const auto stamped = Colors(doc_.Picture());
    ClockwiseActionExecute(doc_, stampSetting_);
    EXPECT_EQ(doc_.Width(), 200);
    EXPECT_EQ(doc_.Height(), 300);
    EXPECT_EQ(doc_.Picture().BitsPerPixel(), 24);
    for (int i = 0; i < 3; ++i) ClockwiseActionExecute(doc_, stampSetting_);
    EXPECT_EQ(doc_.State().view.turns, 0);
    // One stamp, redrawn at the top-left: the stamped capture again.
    EXPECT_EQ(Colors(doc_.Picture()), stamped);

    Capture(false);
    CounterClockwiseActionExecute(doc_, false);
    EXPECT_EQ(doc_.State().view.turns, 3);
    EXPECT_EQ(PixelBytes(doc_.Picture()), PixelBytes(*RotateBitmap(-90, clean_)));
    MirrorActionExecute(doc_, false);
    EXPECT_EQ(PixelBytes(doc_.Picture()), PixelBytes(*FlipBitmap(false, true, *RotateBitmap(-90, clean_))));
    MirrorActionExecute(doc_, false);
    ClockwiseActionExecute(doc_, false);
    EXPECT_EQ(Colors(doc_.Picture()), Colors(clean_));
}

TEST_F(DocumentEdits, RemovingTheStampRestoresExactlyThePixelsUnderIt)
{
    Capture(true);
    EXPECT_TRUE(doc_.DateStampShown());
    EXPECT_EQ(doc_.Picture().Pixel(5, 5), RGB(255, 255, 255));

    UnDateStampBMPActionExecute(doc_, stampSetting_);
    EXPECT_FALSE(doc_.DateStampShown());
    EXPECT_FALSE(stampSetting_);  // later captures come out unstamped
    EXPECT_EQ(Colors(doc_.Picture()), Colors(clean_));
    EXPECT_EQ(UndoCaption(doc_), L"Undo Remove Date Stamp");

    DateStampBMPActionExecute(doc_, stampSetting_);
    EXPECT_TRUE(stampSetting_);
    EXPECT_TRUE(doc_.DateStampShown());
    EXPECT_EQ(doc_.Picture().Pixel(5, 5), RGB(255, 255, 255));
    // Stamping a stamped picture is no edit.
    DateStampBMPActionExecute(doc_, stampSetting_);
    EXPECT_EQ(doc_.Edits().size(), 2u);
}

TEST_F(DocumentEdits, TheStampFollowsTheSettingAtATurnAndIsNeverTurned)
{
    Capture(true);
    MirrorActionExecute(doc_, false);  // the setting was turned off meanwhile
    EXPECT_TRUE(doc_.DateStampShown());
    EXPECT_EQ(doc_.Picture().Pixel(5, 5), RGB(255, 255, 255));
    const auto mirrored = FlipBitmap(false, true, clean_);
    EXPECT_EQ(doc_.Picture().Pixel(150, 150), mirrored->Pixel(150, 150));

    Capture(false);
    ClockwiseActionExecute(doc_, false);
    EXPECT_FALSE(doc_.DateStampShown());
    ClockwiseActionExecute(doc_, true);
    EXPECT_TRUE(doc_.DateStampShown());
    EXPECT_EQ(doc_.Picture().Pixel(5, 5), RGB(255, 255, 255));
    // Undoing the turn takes its stamp back too.
    doc_.Undo();
    EXPECT_FALSE(doc_.DateStampShown());
}

TEST_F(DocumentEdits, SmallAndEmptyPicturesSurviveEveryEdit)
{
    Capture(true);  // 300 x 200: stamped
    win::Bitmap composed;
    testpics::FillPattern(composed, 99, 99);
    doc_.NewCapture(composed, {}, scRectangle, 0, false);
    EXPECT_TRUE(doc_.DateStampShown());  // too small to say: the state stays
    EXPECT_EQ(Colors(doc_.Picture()), Colors(*[] {
                  auto small = std::make_unique<win::Bitmap>();
                  testpics::FillPattern(*small, 99, 99);
                  return small;
              }()));
    EXPECT_FALSE(doc_.CanUndo());  // a new capture has no history

    // A purely horizontal rectangle drag gives a 200 x 0 picture.
    composed.SetSize(200, 0);
    doc_.NewCapture(composed, {}, scRectangle, 0, true);
    ClockwiseActionExecute(doc_, true);
    EXPECT_EQ(doc_.Width(), 0);
    EXPECT_EQ(doc_.Height(), 200);
    MirrorActionExecute(doc_, true);
    UnDateStampBMPActionExecute(doc_, stampSetting_);
    CounterClockwiseActionExecute(doc_, false);
    EXPECT_EQ(doc_.Width(), 200);
    EXPECT_EQ(doc_.Height(), 0);
    EXPECT_FALSE(CropToArea(doc_, {0, 0, 10, 10}));
}

TEST_F(DocumentEdits, CropCutsThePictureAndRefusesAnAreaOfNoSize)
{
    Capture(false);
    ClockwiseActionExecute(doc_, false);
    EXPECT_FALSE(CropToArea(doc_, {50, 60, 50, 90}));  // no width
    EXPECT_FALSE(CropToArea(doc_, {500, 0, 600, 90}));  // outside
    EXPECT_EQ(doc_.Edits().size(), 1u);
    // Clipped to the picture (200 x 300 after the turn).
    ASSERT_TRUE(CropToArea(doc_, {150, -20, 260, 40}));
    EXPECT_EQ(UndoCaption(doc_), L"Undo Crop");
    const auto turned = RotateBitmap(90, clean_);
    ASSERT_EQ(doc_.Width(), 50);
    ASSERT_EQ(doc_.Height(), 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x) ASSERT_EQ(doc_.Picture().Pixel(x, y), turned->Pixel(150 + x, y));
    doc_.Undo();
    EXPECT_EQ(doc_.Width(), 200);
    EXPECT_EQ(RedoCaption(doc_), L"Redo Crop");
}

TEST_F(DocumentEdits, EditsWaitWhileAnOutputReadsThePicture)
{
    Capture(false);
    ClockwiseActionExecute(doc_, false);
    {
        Document::Reading reading(doc_);
        EXPECT_FALSE(doc_.CanUndo());
        doc_.Undo();
        MirrorActionExecute(doc_, false);
        EXPECT_EQ(doc_.Edits().size(), 1u);
        EXPECT_EQ(doc_.Width(), 200);
    }
    EXPECT_TRUE(doc_.CanUndo());
}

// 200 random edits on an ellipse capture (see-through corners), among them
// marks of every kind added, moved, reshaped and removed (often crowded
// together and over the stamp, so redactions read each other's borders):
// every state matches a picture built step by step with the plain transforms
// and a drawing of all the marks, picture and mask; undoing and redoing all
// of them gives back every state byte for byte.
TEST(DocumentHistory, UndoAndRedoOfRandomEditsGiveBackEveryPictureAndMask)
{
    win::Bitmap desktop;
    testpics::FillPattern(desktop, 640, 480);
    const RECT primary{0, 0, 640, 480};
    const TSelection cut{{40, 30}, {340, 230}, scEllipse, true};
    win::Bitmap composed;
    DrawPreview(desktop, primary, cut, RGB(255, 255, 255), composed);
    Document doc;
    doc.NewCapture(composed, SelectionMask(desktop, primary, cut), scEllipse, RGB(255, 255, 255), false);
    // Whoever hears of a change finds the history whole, and no pixel changed
    // outside the area it is told of (the preview copies only that).
    std::vector<COLORREF> shown = Colors(doc.Picture());
    doc.OnChange = [&doc, &shown](const RECT& changed) {
        ASSERT_LE(doc.Cursor(), doc.Edits().size());
        if (doc.CanUndo()) {
            ASSERT_FALSE(doc.UndoName().empty());
        }
        std::vector<COLORREF> now = Colors(doc.Picture());
        for (std::size_t i = 0; i < now.size() && now.size() == shown.size(); ++i) {
            const POINT p{static_cast<LONG>(i % doc.Width()), static_cast<LONG>(i / doc.Width())};
            if (!::PtInRect(&changed, p)) {
                ASSERT_EQ(now[i], shown[i]) << "outside the changed area";
            }
        }
        shown = std::move(now);
    };
    const auto firstPixels = PixelBytes(doc.Picture());
    const auto firstMask = doc.Alpha();

    // The model: the clean picture in 24 bits and its mask, edited one step at a time.
    std::unique_ptr<win::Bitmap> model = std::make_unique<win::Bitmap>();
    model->Assign(doc.Picture());
    model->SetPixelFormat(win::PixelFormat::Bits24);
    win::AlphaMask mask = doc.Alpha();
    bool stamp = false;
    COLORREF color = RGB(255, 255, 255);
    std::mt19937 random(20261207);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(std::max(n, 1))); };
    auto glyphs = std::make_shared<markup::GdiGlyphSource>();
    auto randomMark = [&] {
        markup::Mark m;
        m.kind = static_cast<markup::MarkKind>(std::min(below(12), 8));  // a third redactions
        const bool corner = below(4) == 0;  // over the stamp
        const double x = corner ? below(60) : below(model->Width() + 40) - 20;
        const double y = corner ? below(30) : below(model->Height() + 40) - 20;
        for (int n = m.kind == markup::MarkKind::Pen || m.kind == markup::MarkKind::Highlighter ? 5 : 2; n > 0; --n)
            m.points.push_back({x + below(90) - 20 + 0.25 * below(4), y + below(70) - 20});
        m.color = RGB(below(256), below(256), below(256));
        m.width = 1 + below(12);
        m.text = L"Ab\nc";
        m.fontSize = 10 + below(20);
        m.redact = below(2) ? markup::RedactMode::Pixelate : markup::RedactMode::Fill;
        return std::make_shared<DrawnMark>(m, glyphs);
    };
    std::map<std::size_t, std::size_t> seen;  // a hash of the picture and mask at each cursor
    auto snapshot = [&doc] {
        const auto colors = Colors(doc.Picture());
        const auto alpha = doc.Alpha();
        std::string bytes(reinterpret_cast<const char*>(colors.data()), colors.size() * sizeof(COLORREF));
        for (int y = 0; y < alpha.Height(); ++y) bytes.append(reinterpret_cast<const char*>(alpha.Row(y)), alpha.Width());
        return std::hash<std::string_view>{}(bytes);
    };
    seen[0] = snapshot();
    for (int i = 0; i < 200; ++i) {
        const int marks = static_cast<int>(doc.State().marks.size());
        switch (below(10)) {
        case 6:
        case 7:
        case 8:
            doc.Apply(marks == 0 || below(3) == 0 ? AddMarkEdit(randomMark(), L"Add")
                      : below(2) ? ChangeMarkEdit(below(marks), randomMark(), L"Change")
                                 : RemoveMarkEdit(below(marks), L"Remove"));
            if (below(3) == 0) {
                doc.Undo();
                ASSERT_EQ(snapshot(), seen[doc.Cursor()]) << "undo of mark edit " << i;
                doc.Redo();
            }
            break;
        case 9: {  // a small move, as the select tool makes it
            const int at = below(marks);
            if (const auto drawn = marks ? dynamic_cast<const DrawnMark*>(doc.State().marks[at].get()) : nullptr)
                doc.Apply(ChangeMarkEdit(at, std::make_shared<DrawnMark>(
                    markup::Moved(drawn->Value(), below(41) - 20, below(41) - 20), glyphs), L"Move"));
            break;
        }
        case 0:
        case 1: {
            const bool cw = below(2);
            ClockwiseActionExecute(doc, false);
            if (!cw) {  // taken back and replaced: the history forgets it
                doc.Undo();
                CounterClockwiseActionExecute(doc, false);
            }
            model = RotateBitmap(cw ? 90 : -90, *model);
            mask = mask.Rotated(cw);
            break;
        }
        case 2:
            MirrorActionExecute(doc, false);
            model = FlipBitmap(false, true, *model);
            mask = mask.Mirrored();
            break;
        case 3:
            stamp = !stamp;
            doc.Apply(DateStampEdit(stamp));
            break;
        case 4:
            color = RGB(below(256), below(256), below(256));
            doc.Apply(BackgroundColorEdit(color));
            break;
        default: {
            // Mostly large areas, some reaching past the edges, a few of no size;
            // none once a side under 200 pixels is the longer (the marks want room).
            const int w = model->Width(), h = model->Height();
            if (std::max(w, h) < 200) break;
            const RECT area{below(w / 4) - 5, below(h / 4) - 5, w - below(w / 4) + 5, h - below(h / 4) + 5};
            const RECT asked = below(10) ? area : RECT{area.left, area.top, area.left, area.bottom};
            const RECT kept{std::max(asked.left, 0L), std::max(asked.top, 0L), std::min<LONG>(asked.right, w),
                            std::min<LONG>(asked.bottom, h)};
            const bool cuts = kept.right > kept.left && kept.bottom > kept.top &&
                              (kept.right - kept.left < w || kept.bottom - kept.top < h);
            EXPECT_EQ(CropToArea(doc, asked), cuts);
            if (!cuts) break;
            auto part = std::make_unique<win::Bitmap>();
            part->SetPixelFormat(win::PixelFormat::Bits24);
            part->SetSize(kept.right - kept.left, kept.bottom - kept.top);
            win::AlphaMask partMask(part->Width(), part->Height());
            for (int y = 0; y < part->Height(); ++y)
                for (int x = 0; x < part->Width(); ++x) {
                    std::copy_n(model->Row(kept.top + y) + (kept.left + x) * 3, 3, part->Row(y) + x * 3);
                    partMask.Row(y)[x] = mask.At(kept.left + x, kept.top + y);
                }
            model = std::move(part);
            mask = std::move(partMask);
        }
        }
        // The model in the colour, with the marks and the stamp the document has now.
        win::Bitmap expected;
        expected.Assign(*model);
        ::GdiFlush();
        for (int y = 0; y < expected.Height(); ++y)
            for (int x = 0; x < expected.Width(); ++x)
                if (mask.At(x, y) == win::AlphaMask::kTransparent)
                    std::copy_n(std::array<std::uint8_t, 3>{GetBValue(color), GetGValue(color), GetRValue(color)}
                                    .data(),
                                3, expected.Row(y) + x * 3);
        win::AlphaMask expectedMask = mask;
        DrawMarks(doc.State().marks, expected, expectedMask);
        RECT cell{};
        ApplyDateStamp(expected, stamp, &cell);
        expectedMask.MakeOpaque(cell.left, cell.top, cell.right, cell.bottom);
        ASSERT_EQ(Colors(doc.Picture()), Colors(expected)) << "after edit " << i;
        const win::AlphaMask alpha = doc.Alpha();
        for (int y = 0; y < expectedMask.Height(); ++y)
            ASSERT_TRUE(std::equal(expectedMask.Row(y), expectedMask.Row(y) + expectedMask.Width(), alpha.Row(y)))
                << "mask after edit " << i;
        seen[doc.Cursor()] = snapshot();
    }
    const auto lastPixels = PixelBytes(doc.Picture());
    const auto lastMask = doc.Alpha();
    const std::size_t edits = doc.Cursor();
    while (doc.CanUndo()) {
        doc.Undo();
        ASSERT_EQ(snapshot(), seen[doc.Cursor()]) << "undone to " << doc.Cursor();
    }
    EXPECT_EQ(PixelBytes(doc.Picture()), firstPixels);
    EXPECT_EQ(doc.Alpha().Width(), firstMask.Width());
    for (int y = 0; y < firstMask.Height(); ++y)
        ASSERT_TRUE(std::equal(firstMask.Row(y), firstMask.Row(y) + firstMask.Width(), doc.Alpha().Row(y)));
    while (doc.CanRedo()) {
        doc.Redo();
        ASSERT_EQ(snapshot(), seen[doc.Cursor()]) << "redone to " << doc.Cursor();
    }
    EXPECT_EQ(doc.Cursor(), edits);
    EXPECT_EQ(PixelBytes(doc.Picture()), lastPixels);
    ASSERT_EQ(doc.Alpha().Height(), lastMask.Height());
    for (int y = 0; y < lastMask.Height(); ++y)
        ASSERT_TRUE(std::equal(lastMask.Row(y), lastMask.Row(y) + lastMask.Width(), doc.Alpha().Row(y)));
}

TEST(DocumentHistory, EditingUndoingAndRedoingLeakNoGdiObjects)
{
    win::Bitmap desktop;
    testpics::FillPattern(desktop, 640, 480);
    Document doc;
    auto everyCommand = [&] {
        for (std::uint8_t shape : {scRectangle, scCircle, scEllipse, scSquare, scRoundedRectangle, scEntireScreen}) {
            const TSelection selection{{300, 200}, {40, 30}, shape, true};
            win::Bitmap composed;
            DrawPreview(desktop, {0, 0, 640, 480}, selection, RGB(255, 255, 255), composed);
            doc.NewCapture(composed, SelectionMask(desktop, {0, 0, 640, 480}, selection), shape, 0, true);
            doc.Apply(TurnEdit(true));
            doc.Apply(MirrorEdit());
            doc.Apply(DateStampEdit(false));
            doc.Apply(CropEdit({5, 5, 100, 100}));
            doc.Apply(BackgroundColorEdit(RGB(0, 128, 255)));
            doc.Undo();
            doc.Undo();
            doc.Redo();
        }
    };
    // A first round may leave the surfaces each picture keeps (its canvas);
    // a second round must not add anything.
    everyCommand();
    const long before = win::gdiObjectCount;
    everyCommand();
    EXPECT_EQ(win::gdiObjectCount, before);
}
