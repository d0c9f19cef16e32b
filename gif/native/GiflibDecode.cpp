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
