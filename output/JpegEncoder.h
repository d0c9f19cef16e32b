// The JPEG compressor: one thin function around libjpeg, with the settings of
// the Save command (quality 90 with baseline tables, sequential, YCbCr with the
// library's default subsampling and DCT). This file does not see windows.h:
// the library's boolean type clashes with the one the Windows headers declare.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace output {

// The largest width and height a JPEG file can hold in this library.
constexpr int kMaxJpegDimension = 65500;

// Rows of pixels in a bitmap's own byte order: blue, green, red (and an
// unused fourth byte for 32 bits per pixel).
struct JpegSource {
    const std::uint8_t* top = nullptr;  // first (top) row
    std::ptrdiff_t stride = 0;          // bytes from one row to the next
    int width = 0;
    int height = 0;
    int bytesPerPixel = 3;              // 3 or 4
    // The largest compressed size accepted: beyond it the library stops with
    // its out-of-memory error. A 32-bit process cannot hold more anyway.
    std::size_t outputLimit = 0x7FFFFFFF;
};

// The compressed file in memory (allocated by the compressor with malloc).
class JpegBytes {
public:
    const std::uint8_t* data() const noexcept { return bytes_.get(); }
    std::size_t size() const noexcept { return size_; }
    void Reset(std::uint8_t* bytes, std::size_t size) noexcept
    {
        bytes_.reset(bytes);
        size_ = size;
    }

private:
    struct Free {
        void operator()(std::uint8_t* p) const noexcept { std::free(p); }
    };
    std::unique_ptr<std::uint8_t, Free> bytes_;
    std::size_t size_ = 0;
};

// Compresses source into out. On failure returns false with the library's
// message (or ours for a size it cannot hold) in error; out is then empty.
// Whatever the library reports comes back here: it never ends the program.
bool CompressJpeg(const JpegSource& source, JpegBytes& out, std::string& error);

}  // namespace output
