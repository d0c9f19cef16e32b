/* The native peer of the JPEG benchmark: libjpeg-turbo built for this host from
 * the same sources, compressing the same pixels (a PPM written by output_bench)
 * with the same settings into memory. Prints "jpeg_native W H median_ms" and
 * "jpeg_native_bytes W H size".  Usage: jpeg_native_bench FILE.ppm [REPEATS] */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "bench_timing.h"

#include <jpeglib.h>

static unsigned long compress(const unsigned char* rgb, int w, int h)
{
    struct jpeg_compress_struct cinfo;
    struct jpeg_error_mgr err;
    unsigned char* out = NULL;
    unsigned long size = 0;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = (JDIMENSION)w;
    cinfo.image_height = (JDIMENSION)h;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[16];
        JDIMENSION n = 0;
        for (; n < 16 && cinfo.next_scanline + n < cinfo.image_height; ++n)
            rows[n] = (JSAMPROW)(rgb + (size_t)(cinfo.next_scanline + n) * (size_t)w * 3);
        jpeg_write_scanlines(&cinfo, rows, n);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    free(out);
    return size;
}

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    int repeats = argc > 2 ? atoi(argv[2]) : 11;
    FILE* f = fopen(argv[1], "rb");
    int w, h, maxval;
    if (!f || fscanf(f, "P6 %d %d %d", &w, &h, &maxval) != 3 || fgetc(f) == EOF) return 1;
    size_t n = (size_t)w * h * 3;
    unsigned char* rgb = malloc(n);
    if (!rgb || fread(rgb, 1, n, f) != n) return 1;
    fclose(f);
    unsigned long size = compress(rgb, w, h); /* warm-up */
    double* times = malloc(sizeof(double) * (size_t)repeats);
    for (int i = 0; i < repeats; ++i) {
        double start = now_ms();
        compress(rgb, w, h);
        times[i] = now_ms() - start;
    }
    qsort(times, (size_t)repeats, sizeof(double), compare);
    printf("jpeg_native %d %d %.3f\n", w, h, times[repeats / 2]);
    printf("jpeg_native_bytes %d %d %lu\n", w, h, size);
    free(times);
    free(rgb);
    return 0;
}
