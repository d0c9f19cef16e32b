#include "GiflibEncode.h"

#include <gif_lib.h>

#include <stdexcept>

namespace gifnative {

namespace {

int Append(GifFileType* gif, const GifByteType* data, int size)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + size);
    return size;
}

}  // namespace

void EncodeWithGiflib(std::vector<std::uint8_t>& indices, int width, int height,
                      const std::vector<gif::TGIFColor>& table, std::vector<std::uint8_t>& out)
{
    int error = 0;
    GifFileType* gif = EGifOpen(&out, Append, &error);
    if (!gif) throw std::runtime_error(GifErrorString(error));
    GifColorType colors[256];
    for (int i = 0; i < 256; ++i) colors[i] = {table[i].red, table[i].green, table[i].blue};
    ColorMapObject* map = GifMakeMapObject(256, colors);
    bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, nullptr) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, width, height, false, map) == GIF_OK;
    for (int y = 0; ok && y < height; ++y)
        ok = EGifPutLine(gif, indices.data() + static_cast<std::size_t>(y) * width, width) == GIF_OK;
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) != GIF_OK || !ok) throw std::runtime_error("giflib failed");
}

}  // namespace gifnative
