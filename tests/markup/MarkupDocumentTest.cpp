// Marks in the document on real GDI bitmaps: drawn into every render, solid
// over a shaped capture's see-through corners only where they cover them,
// following a turn, gone again on undo; text from a real font.
#include <gtest/gtest.h>

#include <memory>

#include "markup/GdiGlyphSource.h"
#include "preview/Document.h"
#include "preview/DrawnMark.h"
#include "preview/MarkupSession.h"
#include "tests/support/TestPictures.h"

namespace {

std::shared_ptr<const Mark> Drawn(markup::MarkKind kind, std::vector<markup::Point> points,
                                  std::shared_ptr<markup::GlyphSource> glyphs)
{
    markup::Mark mark;
    mark.kind = kind;
    mark.points = std::move(points);
    mark.color = RGB(255, 0, 0);
    mark.width = 4;
    mark.text = L"Tavro";
    mark.fontSize = 30;
    return std::make_shared<DrawnMark>(mark, std::move(glyphs));
}

TEST(MarkupDocument, MarksRenderIntoThePictureAndItsAlphaAndFollowEdits)
{
    auto glyphs = std::make_shared<markup::GdiGlyphSource>();
    win::Bitmap composed;
    testpics::FillPattern(composed, 200, 100);
    const std::vector<COLORREF> clean = testpics::Colors(composed);
    win::AlphaMask mask(200, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) mask.Row(y)[x] = x < 50 ? 0 : 255;  // a see-through left quarter
    Document doc;
    doc.NewCapture(composed, mask, 2, RGB(255, 255, 255), false);

    doc.Apply(AddMarkEdit(Drawn(markup::MarkKind::Line, {{10, 50}, {190, 50}}, glyphs), L"Add Line"));
    doc.Apply(AddMarkEdit(Drawn(markup::MarkKind::Text, {{60, 5}}, glyphs), L"Add Text"));
    doc.Apply(AddMarkEdit(Drawn(markup::MarkKind::Redact, {{120, 60}, {180, 95}}, glyphs), L"Add Redaction"));
    EXPECT_EQ(doc.Picture().Pixel(20, 50), RGB(255, 0, 0));
    EXPECT_EQ(doc.Picture().Pixel(150, 50), RGB(255, 0, 0));
    win::AlphaMask alpha = doc.Alpha();
    EXPECT_EQ(alpha.At(20, 50), 255) << "under the line";
    EXPECT_EQ(alpha.At(20, 20), 0) << "clear where no mark is";
    int inked = 0;
    for (int y = 5; y < 45; ++y)
        for (int x = 60; x < 190; ++x) inked += doc.Picture().Pixel(x, y) == RGB(255, 0, 0);
    EXPECT_GT(inked, 100) << "the text's letters";
    EXPECT_NE(doc.Picture().Pixel(150, 80), clean[80 * 200 + 150]) << "the redaction";

    doc.Undo();
    EXPECT_EQ(doc.Picture().Pixel(150, 80), clean[80 * 200 + 150]);
    doc.Apply(TurnEdit(true));
    // The line at y = 50 of a 200 x 100 picture lies at x = 50 after a clockwise turn.
    EXPECT_EQ(doc.Picture().Pixel(49, 100), RGB(255, 0, 0));
    EXPECT_EQ(doc.Picture().Pixel(50, 100), RGB(255, 0, 0));
}

}  // namespace

namespace {

// The tools as the preview drives them: mouse messages in picture pixels,
// keys as messages, what is under way drawn over a copy of the picture.
TEST(MarkupTools, DragsClicksAndKeysBecomeEditsOfTheDocument)
{
    win::Bitmap composed;
    testpics::FillPattern(composed, 300, 200);
    Document doc;
    doc.NewCapture(composed, {}, 0, RGB(255, 255, 255), false);
    MarkupSession session(doc);
    session.Apply = [&doc](Edit edit) { return doc.Apply(std::move(edit)); };
    win::Bitmap screen;
    screen.Assign(doc.Picture());
    auto drag = [&](MarkupTool tool, POINT from, POINT to) {
        session.Choose(tool);
        session.Mouse(WM_LBUTTONDOWN, from);
        session.Mouse(WM_MOUSEMOVE, {(from.x + to.x) / 2, (from.y + to.y) / 2});
        session.Draw(screen.Canvas());
        session.Mouse(WM_MOUSEMOVE, to);
        session.Draw(screen.Canvas());
        session.Mouse(WM_LBUTTONUP, to);
    };
    auto key = [&](UINT message, WPARAM w) { return session.Key(MSG{nullptr, message, w, 0}); };
    for (MarkupTool tool : {MarkupTool::Arrow, MarkupTool::Redact, MarkupTool::Rectangle, MarkupTool::Ellipse,
                            MarkupTool::Line, MarkupTool::Pen, MarkupTool::Highlighter})
        drag(tool, {20, 20}, {150, 120});
    EXPECT_EQ(doc.State().marks.size(), 7u);
    session.Choose(MarkupTool::Step);
    session.Mouse(WM_LBUTTONDOWN, {250, 50});
    session.Choose(MarkupTool::Text);
    session.Mouse(WM_LBUTTONDOWN, {200, 150});
    for (wchar_t ch : std::wstring(L"Hi\r!")) key(WM_CHAR, ch);
    key(WM_CHAR, L'\b');
    session.Draw(screen.Canvas());
    EXPECT_TRUE(key(WM_KEYDOWN, VK_ESCAPE));
    ASSERT_EQ(doc.State().marks.size(), 9u);
    auto text = dynamic_cast<const DrawnMark*>(doc.State().marks.back().get());
    ASSERT_TRUE(text);
    EXPECT_EQ(text->Value().text, L"Hi\n");
    EXPECT_EQ(doc.UndoName(), L"Add Text");

    drag(MarkupTool::Select, {85, 70}, {95, 80});  // the line, moved
    EXPECT_EQ(doc.UndoName(), L"Move Mark");
    EXPECT_TRUE(key(WM_KEYDOWN, VK_DELETE));
    EXPECT_EQ(doc.State().marks.size(), 8u);
    EXPECT_TRUE(key(WM_KEYDOWN, VK_ESCAPE));   // the tool
    EXPECT_FALSE(key(WM_KEYDOWN, VK_ESCAPE));  // nothing left: Copy runs
}

}  // namespace
