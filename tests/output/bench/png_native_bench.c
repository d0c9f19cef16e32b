/* The native peer of the PNG benchmark: the host's libpng (the same version
 * our build compiles for Windows) writing the same pixels (a PPM written by
 * output_bench) into memory with a given zlib level and row filters.
 * Prints "png_native W H median_ms" and "png_native_bytes W H size".
 * Usage: png_native_bench FILE.ppm REPEATS LEVEL FILTERS */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "bench_timing.h"

#include <png.h>

static size_t written;
static void count(png_structp png, png_bytep data, png_size_t n) { (void)png; (void)data; written += n; }
static void flush(png_structp png) { (void)png; }

static size_t compress(const unsigned char* rgb, int w, int h, int level, int filters)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) exit(1);
    written = 0;
    png_set_write_fn(png, NULL, count, flush);
    png_set_compression_level(png, level);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
    png_set_IHDR(png, info, (png_uint_32)w, (png_uint_32)h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) png_write_row(png, (png_bytep)(rgb + (size_t)y * (size_t)w * 3));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return written;
}

int main(int argc, char** argv)
{
    if (argc < 5) return 2;
    int repeats = atoi(argv[2]), level = atoi(argv[3]), filters = (int)strtol(argv[4], NULL, 0);
    FILE* f = fopen(argv[1], "rb");
    int w, h, maxval;
    if (!f || fscanf(f, "P6 %d %d %d", &w, &h, &maxval) != 3 || fgetc(f) == EOF) return 1;
    size_t n = (size_t)w * h * 3;
    unsigned char* rgb = malloc(n);
    if (!rgb || fread(rgb, 1, n, f) != n) return 1;
    fclose(f);
    size_t size = compress(rgb, w, h, level, filters); /* warm-up */
    double* times = malloc(sizeof(double) * (size_t)repeats);
    for (int i = 0; i < repeats; ++i) {
        double start = now_ms();
        compress(rgb, w, h, level, filters);
        times[i] = now_ms() - start;
    }
    qsort(times, (size_t)repeats, sizeof(double), compare);
    printf("png_native %d %d %.3f\n", w, h, times[repeats / 2]);
    printf("png_native_bytes %d %d %zu\n", w, h, size);
    free(times);
    free(rgb);
    return 0;
}
