#include "BenchPictures.h"

#include <algorithm>
#include <random>

namespace gifnative {

namespace {

struct Canvas {
    BenchPicture& picture;
    int stride;

    void Put(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b)
    {
        if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return;
        std::uint8_t* p = &picture.bgr[static_cast<std::size_t>(y) * stride + x * 3];
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
    void Fill(int x0, int y0, int x1, int y1, std::uint8_t r, std::uint8_t g, std::uint8_t b)
    {
        for (int y = std::max(y0, 0); y < std::min(y1, picture.height); ++y)
            for (int x = std::max(x0, 0); x < std::min(x1, picture.width); ++x) Put(x, y, r, g, b);
    }
};

BenchPicture Blank(int width, int height)
{
    BenchPicture p;
    p.width = width;
    p.height = height;
    p.bgr.assign(static_cast<std::size_t>((width * 3 + 3) / 4 * 4) * height, 0);
    return p;
}

}  // namespace

BenchPicture ScreenshotPicture(int width, int height)
{
    BenchPicture picture = Blank(width, height);
    Canvas c{picture, (width * 3 + 3) / 4 * 4};
    // Wallpaper: a smooth diagonal gradient.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            c.Put(x, y, static_cast<std::uint8_t>(20 + 60 * y / height),
                  static_cast<std::uint8_t>(60 + 80 * x / width),
                  static_cast<std::uint8_t>(120 + 100 * (x + y) / (width + height)));
    std::mt19937 random(1234);
    const int scale = width / 960;
    // Windows: frame, title bar, body with lines of "glyphs".
    for (int w = 0; w < 6; ++w) {
        const int x0 = static_cast<int>(random() % (width * 2 / 3));
        const int y0 = static_cast<int>(random() % (height * 2 / 3));
        const int x1 = x0 + width / 4 + static_cast<int>(random() % (width / 3));
        const int y1 = y0 + height / 4 + static_cast<int>(random() % (height / 3));
        c.Fill(x0 - 1, y0 - 1, x1 + 1, y1 + 1, 100, 100, 100);
        c.Fill(x0, y0, x1, y0 + 15 * scale, 0, 84, 227);
        c.Fill(x0, y0 + 15 * scale, x1, y1, 255, 255, 255);
        for (int line = y0 + 22 * scale; line + 8 * scale < y1; line += 14 * scale) {
            int x = x0 + 6 * scale;
            while (x + 8 * scale < x1 - 40) {
                const std::uint32_t glyph = random();
                if (glyph % 9 == 0) {  // a space between words
                    x += 5 * scale;
                    continue;
                }
                for (int gy = 0; gy < 8 * scale; ++gy)
                    for (int gx = 0; gx < 5 * scale; ++gx)
                        if (glyph >> ((gy / scale * 5 + gx / scale) % 32) & 1)
                            c.Put(x + gx, line + gy, 20, 20, 20);
                x += 6 * scale;
            }
        }
    }
    // Task bar with icons.
    c.Fill(0, height - 30 * scale, width, height, 32, 32, 40);
    for (int i = 0; i < 12; ++i) {
        const std::uint8_t r = static_cast<std::uint8_t>(random()), g = static_cast<std::uint8_t>(random()),
                           b = static_cast<std::uint8_t>(random());
        c.Fill(8 * scale + i * 32 * scale, height - 26 * scale, 8 * scale + i * 32 * scale + 22 * scale,
               height - 4 * scale, r, g, b);
    }
    return picture;
}

BenchPicture NoisePicture(int width, int height)
{
    BenchPicture picture = Blank(width, height);
    std::mt19937 random(99);
    for (auto& byte : picture.bgr) byte = static_cast<std::uint8_t>(random());
    return picture;
}

}  // namespace gifnative
