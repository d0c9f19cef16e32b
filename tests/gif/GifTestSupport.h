// Helpers shared by the GIF codec tests: pictures in memory, the parts of a
// written file, and a small reader of the LZW code stream that records the
// width of every code (the standard decoder's rules, written independently of
// the encoder).
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <stdexcept>
#include <vector>

#include "gif/ByteSink.h"
#include "gif/GIFImage.h"
#include "gif/PixelRows.h"

namespace giftest {

struct Rgb {
    std::uint8_t r, g, b;
};

// A 24- or 32-bit picture with padded rows, top-down.
struct Picture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    int stride = 0;
    std::vector<std::uint8_t> bytes;

    Picture(int w, int h, int bpp = 24) : width(w), height(h), bitsPerPixel(bpp)
    {
        stride = (w * (bpp / 8) + 3) / 4 * 4;
        bytes.assign(static_cast<std::size_t>(stride) * (h > 0 ? h : 0), 0xEE);
    }
    void Set(int x, int y, Rgb c)
    {
        std::uint8_t* p = &bytes[static_cast<std::size_t>(y) * stride + x * (bitsPerPixel / 8)];
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
    }
    Rgb Get(int x, int y) const
    {
        const std::uint8_t* p = &bytes[static_cast<std::size_t>(y) * stride + x * (bitsPerPixel / 8)];
        return {p[2], p[1], p[0]};
    }
    void Fill(const std::function<Rgb(int, int)>& colour)
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) Set(x, y, colour(x, y));
    }
    gif::PixelRows Rows() const
    {
        return {width, height, bitsPerPixel, bytes.empty() ? nullptr : bytes.data(), stride};
    }
};

// The cube index and colour of a pixel, computed from the format's rules.
inline int CubeLevel(int c)
{
    // Thresholds 48, 99, 150, 201, 252.
    int level = 0;
    for (int edge : {48, 99, 150, 201, 252})
        if (c >= edge) ++level;
    return level;
}
inline int CubeIndex(Rgb c) { return 36 * CubeLevel(c.r) + 6 * CubeLevel(c.g) + CubeLevel(c.b); }

inline Picture RandomPicture(int w, int h, std::uint32_t seed)
{
    Picture p(w, h);
    std::mt19937 random(seed);
    for (auto& byte : p.bytes) byte = static_cast<std::uint8_t>(random());
    return p;
}

inline std::vector<std::uint8_t> Save(gif::TGIFImage& image)
{
    std::vector<std::uint8_t> bytes;
    gif::MemorySink sink(bytes);
    image.SaveToStream(sink);
    return bytes;
}

inline std::vector<std::uint8_t> SavePicture(const Picture& picture)
{
    gif::TGIFImage image;
    image.Assign(picture.Rows());
    return Save(image);
}

// The image data of a one-image file with a 256-entry local table: from the
// code-size byte to the block terminator, both included.
inline std::vector<std::uint8_t> ImageData(const std::vector<std::uint8_t>& file)
{
    if (file.size() < 794) throw std::runtime_error("file too short for an image");
    return {file.begin() + 791, file.end() - 1};
}

// Joins the payloads of the sub-blocks that follow the code-size byte;
// throws when the block structure is broken.
inline std::vector<std::uint8_t> Unblock(const std::vector<std::uint8_t>& data,
                                         std::vector<int>* blockSizes = nullptr)
{
    std::vector<std::uint8_t> out;
    std::size_t at = 1;
    for (;;) {
        if (at >= data.size()) throw std::runtime_error("missing block terminator");
        const int size = data[at++];
        if (size == 0) break;
        if (blockSizes) blockSizes->push_back(size);
        if (at + size > data.size()) throw std::runtime_error("block overruns the data");
        out.insert(out.end(), data.begin() + at, data.begin() + at + size);
        at += size;
    }
    if (at != data.size()) throw std::runtime_error("bytes after the block terminator");
    return out;
}

struct Code {
    int value;
    int width;
};

struct DecodedStream {
    std::vector<Code> codes;          // every code read, the end code included
    std::vector<std::uint8_t> pixels; // the decoded indices
    bool ended = false;               // the end code was met
    std::size_t trailingBytes = 0;    // whole bytes left after the end code
};

// Reads codes LSB first and decodes them with the decoder's table rules.
inline DecodedStream DecodeCodes(const std::vector<std::uint8_t>& stream, int minCodeSize)
{
    DecodedStream result;
    const int clear = 1 << minCodeSize, end = clear + 1;
    int width = minCodeSize + 1, next = clear + 2, previous = -1;
    std::vector<std::vector<std::uint8_t>> table(4096);
    for (int i = 0; i < clear; ++i) table[i] = {static_cast<std::uint8_t>(i)};
    std::size_t bit = 0;
    const std::size_t totalBits = stream.size() * 8;
    while (bit + width <= totalBits) {
        int code = 0;
        for (int i = 0; i < width; ++i, ++bit)
            if (stream[bit / 8] & (1 << (bit % 8))) code |= 1 << i;
        result.codes.push_back({code, width});
        if (code == clear) {
            width = minCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end) {
            result.ended = true;
            result.trailingBytes = stream.size() - (bit + 7) / 8;
            break;
        }
        std::vector<std::uint8_t> entry;
        if (code < next && !table[code].empty()) {
            entry = table[code];
        } else if (code == next && previous >= 0) {
            entry = table[previous];
            entry.push_back(table[previous][0]);
        } else {
            throw std::runtime_error("code " + std::to_string(code) + " not in the table");
        }
        if (previous >= 0 && next < 4096) {
            table[next] = table[previous];
            table[next].push_back(entry[0]);
            ++next;
        }
        result.pixels.insert(result.pixels.end(), entry.begin(), entry.end());
        previous = code;
        if (next == (1 << width) && width < 12) ++width;
    }
    return result;
}

}  // namespace giftest
