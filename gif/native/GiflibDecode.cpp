#include "GiflibDecode.h"

#include <gif_lib.h>

#include <cstring>

namespace gifnative {

namespace {

struct Reader {
    const std::vector<std::uint8_t>* bytes;
    std::size_t at;
};

int Read(GifFileType* gif, GifByteType* out, int size)
{
    auto* reader = static_cast<Reader*>(gif->UserData);
    const std::size_t left = reader->bytes->size() - reader->at;
    const std::size_t n = static_cast<std::size_t>(size) < left ? static_cast<std::size_t>(size) : left;
    std::memcpy(out, reader->bytes->data() + reader->at, n);
    reader->at += n;
    return static_cast<int>(n);
}

}  // namespace

DecodedGif DecodeWithGiflib(const std::vector<std::uint8_t>& file)
{
    DecodedGif result;
    Reader reader{&file, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, Read, &error);
    if (!gif) {
        result.error = GifErrorString(error);
        return result;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        result.error = GifErrorString(gif->Error);
        DGifCloseFile(gif, &error);
        return result;
    }
    result.screenWidth = gif->SWidth;
    result.screenHeight = gif->SHeight;
    result.imageCount = gif->ImageCount;
    if (gif->ImageCount > 0) {
        const SavedImage& image = gif->SavedImages[0];
        result.width = image.ImageDesc.Width;
        result.height = image.ImageDesc.Height;
        if (const ColorMapObject* map = image.ImageDesc.ColorMap) {
            result.colorCount = map->ColorCount;
            for (int i = 0; i < map->ColorCount; ++i) {
                result.colors.push_back(map->Colors[i].Red);
                result.colors.push_back(map->Colors[i].Green);
                result.colors.push_back(map->Colors[i].Blue);
            }
        }
        const std::size_t size = static_cast<std::size_t>(result.width) * result.height;
        result.raster.assign(image.RasterBits, image.RasterBits + size);
    }
    result.ok = true;
    DGifCloseFile(gif, &error);
    return result;
}

}  // namespace gifnative

namespace gifnative {

namespace {

bool HasLoop(const GifFileType* gif)
{
    for (int i = 0; i < gif->ImageCount; ++i)
        for (int e = 0; e < gif->SavedImages[i].ExtensionBlockCount; ++e) {
            const ExtensionBlock& block = gif->SavedImages[i].ExtensionBlocks[e];
            if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0)
                return true;
        }
    return false;
}

// Draws image i over canvas; false when it reaches outside the screen.
bool DrawImage(const GifFileType* gif, int i, std::vector<std::uint32_t>& canvas, int& delay)
{
    const SavedImage& image = gif->SavedImages[i];
    const GifImageDesc& d = image.ImageDesc;
    if (d.Left + d.Width > gif->SWidth || d.Top + d.Height > gif->SHeight) return false;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
    if (!map) return false;
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(const_cast<GifFileType*>(gif), i, &gcb);
    delay = gcb.DelayTime;
    for (int y = 0; y < d.Height; ++y)
        for (int x = 0; x < d.Width; ++x) {
            const int index = image.RasterBits[y * d.Width + x];
            if (index == gcb.TransparentColor) continue;
            if (index >= map->ColorCount) return false;
            const GifColorType c = map->Colors[index];
            canvas[static_cast<std::size_t>(d.Top + y) * gif->SWidth + d.Left + x] =
                static_cast<std::uint32_t>(c.Red) << 16 | c.Green << 8 | c.Blue;
        }
    return true;
}

}  // namespace

std::string PlayWithGiflib(const std::vector<std::uint8_t>& file, int& width, int& height, bool& loops,
                           const std::function<void(const std::vector<std::uint32_t>&, int)>& frame)
{
    Reader reader{&file, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, Read, &error);
    if (!gif) return GifErrorString(error);
    if (DGifSlurp(gif) != GIF_OK) {
        std::string text = GifErrorString(gif->Error);
        DGifCloseFile(gif, &error);
        return text;
    }
    width = gif->SWidth;
    height = gif->SHeight;
    loops = HasLoop(gif);
    std::vector<std::uint32_t> canvas(static_cast<std::size_t>(gif->SWidth) * gif->SHeight, 0xFF000000u);
    std::string problem;
    for (int i = 0; i < gif->ImageCount; ++i) {
        int delay = 0;
        if (!DrawImage(gif, i, canvas, delay)) {
            problem = "frame " + std::to_string(i) + " outside the screen or its table";
            break;
        }
        frame(canvas, delay);
    }
    DGifCloseFile(gif, &error);
    return problem;
}

DecodedAnimation DecodeAnimationWithGiflib(const std::vector<std::uint8_t>& file)
{
    DecodedAnimation result;
    result.error = PlayWithGiflib(file, result.width, result.height, result.loops,
                                  [&](const std::vector<std::uint32_t>& canvas, int delay) {
                                      result.frames.push_back(canvas);
                                      result.delays.push_back(delay);
                                  });
    result.ok = result.error.empty();
    return result;
}

}  // namespace gifnative
