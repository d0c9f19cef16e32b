#include "RecordScene.h"

#include <algorithm>
#include <cmath>

namespace gifnative {

namespace {

struct Canvas {
    int width, height;
    std::vector<std::uint32_t>& pixels;

    void Fill(int left, int top, int w, int h, std::uint32_t color)
    {
        for (int y = std::max(top, 0); y < std::min(top + h, height); ++y)
            for (int x = std::max(left, 0); x < std::min(left + w, width); ++x)
                pixels[static_cast<std::size_t>(y) * width + x] = color;
    }
    void Frame(int left, int top, int w, int h, std::uint32_t color)
    {
        Fill(left, top, w, 1, color), Fill(left, top + h - 1, w, 1, color);
        Fill(left, top, 1, h, color), Fill(left + w - 1, top, 1, h, color);
    }
    // A 5 x 7 glyph made up from the character's code, in a 7 x 11 cell.
    void Glyph(int left, int top, unsigned code, std::uint32_t color)
    {
        std::uint32_t bits = code * 2654435761u ^ 0x5bd1e995u;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 5; ++x, bits = bits >> 1 | bits << 31)
                if (bits & 1) Fill(left + 1 + x, top + 2 + y, 1, 1, color);
    }
    void Text(int left, int top, const char* text, int count, std::uint32_t color)
    {
        for (int i = 0; i < count && text[i]; ++i) Glyph(left + 7 * i, top, static_cast<unsigned char>(text[i]), color);
    }
};

constexpr char kTyped[] =
    "The quick brown fox jumps over the lazy dog. Recording a step shows motion "
    "where a still picture cannot; the rest of the screen stays as it was.";

void DrawEditor(Canvas& c, int f, int left, int top, int w, int h)
{
    c.Fill(left, top, w, 22, 0x0A246A);
    c.Text(left + 8, top + 5, "Notes - Editor", 14, 0xFFFFFF);
    c.Fill(left, top + 22, w, 20, 0xECE9D8);
    c.Text(left + 8, top + 26, "File  Edit  View  Help", 22, 0x000000);
    c.Fill(left, top + 42, w, h - 42, 0xFFFFFF);
    c.Frame(left, top, w, h, 0x404040);
    const int perLine = (w - 20) / 7, typed = std::min<int>(f * 2 / 3, sizeof kTyped - 1);
    int x = 0, y = 0;
    for (int i = 0; i < typed; ++i) {
        c.Glyph(left + 10 + 7 * x, top + 50 + 14 * y, static_cast<unsigned char>(kTyped[i]), 0x202020);
        if (++x == perLine) x = 0, ++y;
    }
    if ((f / 8) % 2 == 0) c.Fill(left + 10 + 7 * x, top + 50 + 14 * y, 1, 12, 0x000000);
    // The Edit menu opens at 4 s and its items are walked until 6 s.
    if (f >= 60 && f < 90) {
        const int mx = left + 50, my = top + 42;
        c.Fill(mx, my, 150, 6 * 20 + 4, 0xF0F0F0);
        c.Frame(mx, my, 150, 6 * 20 + 4, 0x808080);
        const int hot = (f - 60) / 5;
        for (int i = 0; i < 6; ++i) {
            const bool lit = i == hot;
            if (lit) c.Fill(mx + 2, my + 2 + 20 * i, 146, 20, 0x316AC5);
            c.Text(mx + 10, my + 6 + 20 * i, &"Undo Cut Copy Paste"[(i * 3) % 12], 8, lit ? 0xFFFFFF : 0x000000);
        }
    }
}

void DrawList(Canvas& c, int f, int left, int top, int w, int h)
{
    c.Frame(left - 1, top - 1, w + 2, h + 2, 0x404040);
    const int offset = f < 20 ? 0 : (f - 20) * 3;
    for (int y = 0; y < h; ++y) {
        const int row = (y + offset) / 18;
        const std::uint32_t color = row % 2 ? 0xF3F3F3 : 0xFFFFFF;
        std::fill_n(&c.pixels[static_cast<std::size_t>(top + y) * c.width + left], w, color);
    }
    for (int row = offset / 18; row * 18 - offset < h; ++row) {
        const int y = top + row * 18 - offset;
        if (y < top || y + 14 > top + h) continue;
        char label[24];
        for (int i = 0; i < 20; ++i) label[i] = static_cast<char>('a' + (row * 7 + i * 3) % 26);
        c.Text(left + 6, y + 2, label, std::min(20, (w - 12) / 7), 0x101010);
    }
}

void DrawPhoto(Canvas& c, int left, int top, int w, int h)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double u = x / double(w), v = y / double(h);
            const int r = static_cast<int>(90 + 120 * v + 30 * std::sin(9 * u + 3 * v));
            const int g = static_cast<int>(140 + 60 * std::sin(5 * u) * std::cos(4 * v));
            const int b = static_cast<int>(200 - 150 * v + 20 * std::cos(13 * u * v));
            const int grain = ((x * 73856093) ^ (y * 19349663)) % 9 - 4;
            auto clip = [](int value) { return static_cast<std::uint32_t>(std::clamp(value, 0, 255)); };
            c.pixels[static_cast<std::size_t>(top + y) * c.width + left + x] =
                clip(r + grain) << 16 | clip(g + grain) << 8 | clip(b + grain);
        }
}

void DrawPointer(Canvas& c, int x, int y)
{
    for (int row = 0; row < 16; ++row) {
        const int span = row < 12 ? row + 1 : 12 - (row - 12) * 3;
        if (span <= 0) break;
        c.Fill(x, y + row, span, 1, 0xFFFFFF);
        c.Fill(x, y + row, 1, 1, 0x000000);
        c.Fill(x + span - 1, y + row, 1, 1, 0x000000);
    }
}

}  // namespace

void DrawRecordScene(int f, int width, int height, std::vector<std::uint32_t>& out)
{
    out.resize(static_cast<std::size_t>(width) * height);
    Canvas c{width, height, out};
    c.Fill(0, 0, width, height, 0x3A6EA5);
    const int editorW = width * 55 / 100, editorH = height * 60 / 100;
    DrawEditor(c, f, 30, 30, editorW, editorH);
    const int listLeft = 30 + editorW + 20, listW = width - listLeft - 30;
    DrawList(c, f, listLeft, 40, listW, editorH - 10);
    // The progress bar fills over the ten seconds.
    const int barTop = 30 + editorH + 20, barW = editorW;
    c.Fill(30, barTop, barW, 18, 0xFFFFFF);
    c.Frame(30, barTop, barW, 18, 0x808080);
    c.Fill(32, barTop + 2, (barW - 4) * std::min(f, 150) / 150, 14, 0x06B025);
    DrawPhoto(c, listLeft, barTop, std::min(160, listW), std::min(120, height - barTop - 10));
    // The pointer goes round the screen.
    const double a = f * 0.05;
    DrawPointer(c, static_cast<int>(width / 2 + width / 3 * std::cos(a)),
                static_cast<int>(height / 2 + height / 3 * std::sin(1.3 * a)));
}

}  // namespace gifnative
