#include "output/PngEncoder.h"

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include <png.h>

namespace output {

static_assert(kPngFilters == PNG_FILTER_SUB, "the Save command writes every row with the Sub filter");

namespace {

// libpng's own handlers print and longjmp (or abort without a jump buffer):
// ours keeps the message and jumps back to WriteRows.
struct ErrorState {
    char message[200];
};

void ErrorExit(png_structp png, png_const_charp message)
{
    auto* state = static_cast<ErrorState*>(png_get_error_ptr(png));
    std::strncpy(state->message, message ? message : "", sizeof state->message - 1);
    png_longjmp(png, 1);
}

// Warnings would go to stderr, which a GUI program does not have.
void Warning(png_structp, png_const_charp) {}

void WriteData(png_structp png, png_bytep data, png_size_t size)
{
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    if (!sink->Write(data, size)) png_error(png, "The file could not be written");
}

void FlushData(png_structp) {}

// One row of the bitmap's BGR(X) pixels as RGB or RGBA.
void PackRow(const PngSource* source, int y, png_bytep row)
{
    const std::uint8_t* in = source->top + source->stride * y;
    const int step = source->bytesPerPixel;
    if (!source->alpha) {
        for (int x = 0; x < source->width; ++x, in += step, row += 3) {
            row[0] = in[2];
            row[1] = in[1];
            row[2] = in[0];
        }
        return;
    }
    const std::uint8_t* alpha = source->alpha + source->alphaStride * y;
    for (int x = 0; x < source->width; ++x, in += step, row += 4) {
        row[0] = in[2];
        row[1] = in[1];
        row[2] = in[0];
        row[3] = alpha[x];
    }
}

// The library's objects live in the caller's frame and everything between
// setjmp and the calls is a pointer or an int, so a jump back destroys
// nothing and needs no value the jump may have lost.
struct Session {
    png_structp png;
    png_infop info;
    ErrorState error;
};

bool WriteRows(Session* session, const PngSource* source, PngSink* sink, png_bytep row)
{
    session->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &session->error, ErrorExit, Warning);
    if (!session->png) return false;
    if (setjmp(png_jmpbuf(session->png))) return false;
    session->info = png_create_info_struct(session->png);
    if (!session->info) png_error(session->png, "Not enough memory to write the PNG file");
    png_set_write_fn(session->png, sink, WriteData, FlushData);
    png_set_compression_level(session->png, source->level);
    png_set_filter(session->png, PNG_FILTER_TYPE_BASE, source->filters);
    png_set_IHDR(session->png, session->info, static_cast<png_uint_32>(source->width),
                 static_cast<png_uint_32>(source->height), 8,
                 source->alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(session->png, session->info);
    for (int y = 0; y < source->height; ++y) {
        PackRow(source, y, row);
        png_write_row(session->png, row);
    }
    png_write_end(session->png, session->info);
    return true;
}

}  // namespace

bool EncodePng(const PngSource& source, PngSink& sink, std::string& error)
{
    if (source.width > kMaxPngDimension || source.height > kMaxPngDimension) {
        error = "The picture is too large for a PNG file: its width and height can be at most " +
                std::to_string(kMaxPngDimension) + " pixels";
        return false;
    }
    if (source.width <= 0 || source.height <= 0 || !source.top ||
        (source.bytesPerPixel != 3 && source.bytesPerPixel != 4)) {
        error = "There is no picture to save";
        return false;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(source.width) * (source.alpha ? 4 : 3);
    auto* row = static_cast<png_bytep>(std::malloc(rowBytes));
    if (!row) {
        error = "Not enough memory to write the PNG file";
        return false;
    }
    Session session;
    std::memset(&session, 0, sizeof session);
    const bool ok = WriteRows(&session, &source, &sink, row);
    png_destroy_write_struct(session.png ? &session.png : nullptr, session.info ? &session.info : nullptr);
    std::free(row);
    if (!ok) error = session.error.message[0] ? session.error.message : "PNG compression failed";
    return ok;
}

}  // namespace output
