#include "output/JpegEncoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

namespace output {

namespace {

constexpr int kQuality = 90;
constexpr std::size_t kFirstBufferSize = 1 << 16;
constexpr std::size_t kLargestFirstBuffer = 1 << 26;

// The library's default error_exit ends the process: ours jumps back to
// CompressRows with the message kept.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings would go to stderr, which a GUI program does not have.
void OutputMessage(j_common_ptr) {}

// A growing malloc buffer; growth failure is the library's out-of-memory error.
struct Destination {
    jpeg_destination_mgr pub;
    std::uint8_t* buffer;
    std::size_t capacity;
    std::size_t size;
    std::size_t limit;
};

void InitDestination(j_compress_ptr cinfo)
{
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    dest->buffer = static_cast<std::uint8_t*>(std::malloc(dest->capacity));
    if (!dest->buffer) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = dest->capacity;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo)
{
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    std::size_t grown = dest->capacity * 2;
    if (grown > dest->limit) grown = dest->limit;
    auto* bigger = grown > dest->capacity ? static_cast<std::uint8_t*>(std::realloc(dest->buffer, grown)) : nullptr;
    if (!bigger) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    dest->buffer = bigger;
    // The library calls this only with the whole buffer used.
    dest->pub.next_output_byte = bigger + dest->capacity;
    dest->pub.free_in_buffer = grown - dest->capacity;
    dest->capacity = grown;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    dest->size = dest->capacity - dest->pub.free_in_buffer;
}

// Everything between setjmp and the library's calls lives in the caller's
// frame (or is a plain pointer), so a jump back finds nothing to destroy and
// no local whose value the jump may have lost.
bool CompressRows(jpeg_compress_struct* cinfo, ErrorManager* err, Destination* dest,
                  const JpegSource* source)
{
    cinfo->err = jpeg_std_error(&err->pub);
    err->pub.error_exit = ErrorExit;
    err->pub.output_message = OutputMessage;
    if (setjmp(err->jump)) {
        jpeg_destroy_compress(cinfo);
        return false;
    }
    jpeg_create_compress(cinfo);
    dest->pub.init_destination = InitDestination;
    dest->pub.empty_output_buffer = EmptyOutputBuffer;
    dest->pub.term_destination = TermDestination;
    cinfo->dest = &dest->pub;

    cinfo->image_width = static_cast<JDIMENSION>(source->width);
    cinfo->image_height = static_cast<JDIMENSION>(source->height);
    // The library reads the bitmap's byte order directly; its colour
    // conversion gives the same samples as from RGB rows.
    cinfo->input_components = source->bytesPerPixel;
    cinfo->in_color_space = source->bytesPerPixel == 4 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, kQuality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    JSAMPROW rows[16];
    while (cinfo->next_scanline < cinfo->image_height) {
        const JDIMENSION first = cinfo->next_scanline;
        JDIMENSION count = 0;
        for (; count < 16 && first + count < cinfo->image_height; ++count)
            rows[count] = const_cast<JSAMPROW>(source->top + source->stride * static_cast<std::ptrdiff_t>(first + count));
        jpeg_write_scanlines(cinfo, rows, count);
    }
    jpeg_finish_compress(cinfo);
    jpeg_destroy_compress(cinfo);
    return true;
}

}  // namespace

bool CompressJpeg(const JpegSource& source, JpegBytes& out, std::string& error)
{
    out.Reset(nullptr, 0);
    if (source.width > kMaxJpegDimension || source.height > kMaxJpegDimension) {
        error = "The picture is too large for a JPEG file: its width and height can be at most " +
                std::to_string(kMaxJpegDimension) + " pixels";
        return false;
    }
    if (source.width <= 0 || source.height <= 0 || !source.top ||
        (source.bytesPerPixel != 3 && source.bytesPerPixel != 4)) {
        error = "There is no picture to save";
        return false;
    }
    jpeg_compress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    ErrorManager err;
    std::memset(&err, 0, sizeof err);
    Destination dest;
    std::memset(&dest, 0, sizeof dest);
    // About a byte a pixel is plenty for most pictures; the buffer grows when not.
    const std::size_t estimate = static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height) / 2;
    dest.capacity = estimate < kFirstBufferSize ? kFirstBufferSize : estimate > kLargestFirstBuffer ? kLargestFirstBuffer : estimate;
    dest.limit = source.outputLimit;
    if (dest.capacity > dest.limit) dest.capacity = dest.limit;

    const bool ok = CompressRows(&cinfo, &err, &dest, &source);
    if (!ok) {
        std::free(dest.buffer);
        error = err.message[0] ? err.message : "JPEG compression failed";
        return false;
    }
    out.Reset(dest.buffer, dest.size);
    return true;
}

}  // namespace output
