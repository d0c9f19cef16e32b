// Benchmark (not a test): dragging one of 200 marks over a 3840 x 2160
// picture in the real preview window, maximised. The select tool gets the
// mouse messages a drag posts to the picture control; each move is timed from
// the post to the end of its repaint (the message handled, WM_PAINT done),
// over 150 moves in 10 drags, against one BitBlt of the whole visible picture
// to the window measured in the same run. The release of each drag commits
// the move (an edit of the document and the window's update); its undo is
// timed too. Run with `make bench-preview`.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "capture/SelectionOverlay.h"
#include "markup/GdiGlyphSource.h"
#include "preview/DrawnMark.h"
#include "preview/PreviewWindow.h"
#include "tests/support/TestPictures.h"
#include "win/ActionList.h"

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;
constexpr int kMarks = 200;
constexpr int kDrags = 10;
constexpr int kMovesPerDrag = 15;
constexpr double kGoalMs = 33;

double NowMs()
{
    static const double perMs = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perMs;
}

// Handles every message waiting (WM_PAINT comes last, when nothing else
// waits), then paints what is still invalid.
void Settle(HWND window)
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::UpdateWindow(window);
    ::GdiFlush();
}

struct Figures {
    double median = 0, p95 = 0;
};

Figures Of(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const std::size_t at95 = static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(times.size()))) - 1;
    return {times[times.size() / 2], times[std::min(at95, times.size() - 1)]};
}

// Marks of every kind spread over the picture: the first, a rectangle near the
// top-left, is the one dragged.
markup::Mark SomeMark(int i)
{
    using enum markup::MarkKind;
    constexpr markup::MarkKind kinds[] = {Arrow, Line, Rectangle, Ellipse, Pen, Highlighter, Text, Step, Redact};
    markup::Mark m;
    m.kind = i == 0 ? Rectangle : kinds[i % 9];
    const double x = i == 0 ? 200 : 40 + (i * 997) % (kWidth - 400);
    const double y = i == 0 ? 200 : 40 + (i * 577) % (kHeight - 300);
    m.points = {{x, y}, {x + 60 + i % 7 * 30, y + 40 + i % 5 * 25}};
    if (m.kind == Pen || m.kind == Highlighter)
        for (int k = 0; k < 20; ++k) m.points.push_back({x + k * 9, y + 30 * std::sin(k * 0.6)});
    m.color = RGB(40 * (i % 6), 200 - 30 * (i % 5), 60 * (i % 4));
    m.width = 2 + i % 4 * 2;
    m.text = L"Mark " + std::to_wstring(i);
    m.fontSize = 18 + i % 3 * 6;
    m.stepNumber = i;
    return m;
}

void PostMouse(HWND image, UINT message, POINT at)
{
    ::PostMessageW(image, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(at.x, at.y));
}

}  // namespace

int main()
{
    Document doc;
    win::Bitmap composed;
    testpics::FillPattern(composed, kWidth, kHeight, win::PixelFormat::Bits32);
    doc.NewCapture(composed, {}, scRectangle, RGB(255, 255, 255), false);
    auto glyphs = std::make_shared<markup::GdiGlyphSource>();
    const double marksStart = NowMs();
    for (int i = 0; i < kMarks; ++i)
        doc.Apply(AddMarkEdit(std::make_shared<DrawnMark>(SomeMark(i), glyphs), L"Add Mark"));
    std::printf("%d x %d picture, %d marks added in %.0f ms\n", kWidth, kHeight, kMarks, NowMs() - marksStart);

    win::TActionList actions{std::vector<win::TAction>{}};
    TPreviewForm preview(actions, {}, doc, RGB(255, 255, 255));
    if (!preview.Hwnd()) {
        std::puts("no display");
        return 1;
    }
    doc.OnChange = [&](const RECT& changed) {
        if (preview.Showing()) preview.ShowChange(changed);
    };
    preview.ApplyMarkEdit() = [&doc](Edit edit) { return doc.Apply(std::move(edit)); };
    preview.Show();
    ::ShowWindow(preview.Hwnd(), SW_MAXIMIZE);
    HWND image = preview.Control(TPreviewForm::Image1);
    Settle(preview.Hwnd());
    preview.Markup().Choose(MarkupTool::Select);
    Settle(preview.Hwnd());
    RECT box{};
    ::GetClientRect(preview.Control(TPreviewForm::ScrollBox1), &box);
    std::printf("preview window: picture area %ld x %ld\n", box.right, box.bottom);

    // The drags: 15 moves of (4, 2) pixels, away and back again.
    std::vector<double> moves, commits, undos;
    POINT at{215, 200};  // on the dragged rectangle's top edge, off its handles
    for (int drag = 0; drag < kDrags; ++drag) {
        const int sign = drag % 2 ? -1 : 1;
        PostMouse(image, WM_LBUTTONDOWN, at);
        Settle(image);
        for (int k = 1; k <= kMovesPerDrag; ++k) {
            const POINT to{at.x + sign * 4 * k, at.y + sign * 2 * k};
            const double start = NowMs();
            PostMouse(image, WM_MOUSEMOVE, to);
            Settle(image);
            moves.push_back(NowMs() - start);
        }
        at = {at.x + sign * 4 * kMovesPerDrag, at.y + sign * 2 * kMovesPerDrag};
        const std::size_t edits = doc.Edits().size();
        double start = NowMs();
        PostMouse(image, WM_LBUTTONUP, at);
        Settle(image);
        commits.push_back(NowMs() - start);
        if (doc.Edits().size() != edits + 1) std::printf("drag %d made no edit (%zu %zu %ls)\n", drag, edits, doc.Edits().size(), doc.UndoName().c_str());
        start = NowMs();
        doc.Undo();
        Settle(image);
        undos.push_back(NowMs() - start);
        doc.Redo();
        Settle(image);
    }

    // The peer: the whole visible picture put on the window once.
    win::Bitmap shown;
    shown.Assign(doc.Picture());
    HDC canvas = shown.Canvas();
    std::vector<double> blits;
    for (int i = 0; i < kDrags * kMovesPerDrag; ++i) {
        const double start = NowMs();
        HDC dc = ::GetDC(image);
        ::BitBlt(dc, 0, 0, box.right, box.bottom, canvas, i % 2, 0, SRCCOPY);
        ::ReleaseDC(image, dc);
        ::GdiFlush();
        blits.push_back(NowMs() - start);
    }
    ::InvalidateRect(image, nullptr, FALSE);
    Settle(image);

    const Figures move = Of(moves), blit = Of(blits), commit = Of(commits), undo = Of(undos);
    std::printf("drag, mouse move to repaint done: median %6.2f ms, p95 %6.2f ms over %zu moves"
                "  (goal p95 <= %.0f ms) %s\n",
                move.median, move.p95, moves.size(), kGoalMs, move.p95 <= kGoalMs ? "ok" : "over");
    std::printf("peer, BitBlt of the visible picture:  median %6.2f ms, p95 %6.2f ms  (move median = %.2f x peer)\n",
                blit.median, blit.p95, move.median / blit.median);
    std::printf("release, the move committed:          median %6.2f ms, p95 %6.2f ms over %zu drags\n",
                commit.median, commit.p95, commits.size());
    std::printf("undo of the move, repainted:          median %6.2f ms, p95 %6.2f ms\n", undo.median, undo.p95);
    preview.Close();
    return 0;
}
