// The picture object of the GIF codec: a header, a list of images and the
// trailer. The program fills it from one true-colour picture and saves it; the
// file is GIF87a with one image and a local colour table.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "gif/ByteSink.h"
#include "gif/ColorReduction.h"
#include "gif/GIFHeader.h"
#include "gif/GIFSubImage.h"
#include "gif/GIFTrailer.h"
#include "gif/PixelRows.h"

namespace gif {

enum TCompressionKind : std::uint8_t { cmpLZW = 0, cmpRLE = 1 };

// A GIF holds 16-bit sizes.
constexpr int kMaxGIFDimension = 65535;
// Throws GIFException naming the limit when width or height is above it.
void CheckGIFDimensions(int width, int height);

// The settings every new TGIFImage starts with.
inline constexpr TReductionMethod GIFDefaultReductionMethod = redWebCube216;
inline constexpr int GIFDefaultReductionBits = 8;
inline constexpr TDitherKind GIFDefaultDitherKind = ditNearest;
inline constexpr TCompressionKind GIFDefaultCompressionKind = cmpLZW;

class TGIFImage {
public:
    TGIFImage();
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;
    ~TGIFImage();

    TReductionMethod ReductionMethod() const noexcept { return reductionMethod_; }
    void SetReductionMethod(TReductionMethod method) noexcept { reductionMethod_ = method; }
    int ReductionBits() const noexcept { return reductionBits_; }
    void SetReductionBits(int bits) noexcept { reductionBits_ = bits; }
    TDitherKind DitherKind() const noexcept { return ditherKind_; }
    void SetDitherKind(TDitherKind kind) noexcept { ditherKind_ = kind; }
    TCompressionKind CompressionKind() const noexcept { return compressionKind_; }
    void SetCompressionKind(TCompressionKind kind) noexcept { compressionKind_ = kind; }

    TGIFHeader& Header() noexcept { return header_; }
    const TGIFHeader& Header() const noexcept { return header_; }
    int ImageCount() const noexcept { return static_cast<int>(images_.size()); }
    TGIFSubImage& Image(int index) { return *images_.at(static_cast<std::size_t>(index)); }

    // Screen 0 x 0, no global table, no image.
    void Clear() noexcept;
    // Clears, then fills one image from the picture. A picture too large for
    // the format is refused before anything changes.
    void Assign(const PixelRows& source);

    // The highest version any image needs; gvUnknown without images.
    TGIFVersion Version() const noexcept;
    // The largest bit size over the global and local tables.
    int BitsPerPixel() const noexcept;

    // Header, images, trailer. Saving changes only the recomputed packed bytes,
    // so saving twice gives the same bytes. Throws GIFException on any codec
    // error or failed write.
    void SaveToStream(ByteSink& sink);
    // Creates (or replaces) the file. On failure the partly written file is
    // removed: a truncated GIF must not look like a saved picture.
    void SaveToFile(const std::filesystem::path& path);

    // Called by images whose size changed.
    void GrowScreen(int right, int bottom) noexcept;

private:
    // Refuses, before any byte is written, what cannot be saved: no image, or
    // a compression other than LZW (the only one built).
    void CheckSavable() const;
    void RecomputeScreenPacked() noexcept;

    TReductionMethod reductionMethod_;
    int reductionBits_;
    TDitherKind ditherKind_;
    TCompressionKind compressionKind_;
    TGIFHeader header_;
    std::vector<std::unique_ptr<TGIFSubImage>> images_;
    TGIFTrailer trailer_;
};

}  // namespace gif
