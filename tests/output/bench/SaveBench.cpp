// Benchmarks of the save writers on screenshot-like pictures (not a test):
// JPEG and PNG compression through our encoders, and the BMP save against a plain write
// of the same bytes. Also dumps each picture as a PPM for the native peer
// (jpeg_native_bench). Prints "name width height median_ms" lines.
// Usage: output_bench FOLDER [REPEATS [png]]   (png: the PNG encoder only)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "output/BmpWriter.h"
#include "output/FileNaming.h"
#include "output/JpegEncoder.h"
#include "output/PictureFile.h"
#include "output/PngFile.h"
#include "tests/output/ScreenPicture.h"

namespace {

double Now()
{
    LARGE_INTEGER f, t;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

template <typename Fn>
double MedianMs(int repeats, Fn&& fn)
{
    fn();  // warm-up: page faults, caches, first file creation
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        const double start = Now();
        fn();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

bool PlainWrite(const std::wstring& path, const std::vector<std::uint8_t>& bytes, bool flush)
{
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    if (flush) ok = ::FlushFileBuffers(f) && ok;
    return ::CloseHandle(f) && ok;
}

// The real calls, timed: where a safe save spends its time.
class TimedFileSystem : public FileSystem {
    template <typename Fn>
    auto Timed(double& total, Fn&& fn) -> decltype(fn())
    {
        const double start = Now();
        auto result = fn();
        total += Now() - start;
        return result;
    }

public:
    double create = 0, write = 0, flush = 0, close = 0, commit = 0, remove = 0;
    HANDLE CreateNew(const std::wstring& path) override { return Timed(create, [&] { return FileSystem::CreateNew(path); }); }
    bool Write(HANDLE f, const void* d, DWORD n, DWORD& w) override { return Timed(write, [&] { return FileSystem::Write(f, d, n, w); }); }
    bool Flush(HANDLE f) override { return Timed(flush, [&] { return FileSystem::Flush(f); }); }
    bool Close(HANDLE f) override { return Timed(close, [&] { return FileSystem::Close(f); }); }
    bool Move(const std::wstring& a, const std::wstring& b) override { return Timed(commit, [&] { return FileSystem::Move(a, b); }); }
    bool Replace(const std::wstring& t, const std::wstring& r, const std::wstring& b) override
    {
        return Timed(commit, [&] { return FileSystem::Replace(t, r, b); });
    }
    bool Delete(const std::wstring& p) override { return Timed(remove, [&] { return FileSystem::Delete(p); }); }

};

void Report(const char* name, const win::Bitmap& picture, double ms)
{
    std::printf("%s %d %d %.3f\n", name, picture.Width(), picture.Height(), ms);
    std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: output_bench FOLDER [REPEATS [png]]\n");
        return 2;
    }
    const std::wstring dir = std::wstring(argv[1]) + L"\\";
    const int repeats = argc > 2 ? std::max(1, _wtoi(argv[2])) : 11;
    const bool pngOnly = argc > 3 && std::wstring(argv[3]) == L"png";
    ::CreateDirectoryW(dir.c_str(), nullptr);

    for (const auto& [width, height] : {std::pair{1920, 1080}, std::pair{3840, 2160}}) {
        win::Bitmap picture;
        // A fresh capture on a 32-bit display.
        screenpic::Fill(picture, width, height, win::PixelFormat::Bits32);
        const std::wstring stem = dir + L"screen-" + std::to_wstring(width) + L"x" + std::to_wstring(height);
        if (!pngOnly && !screenpic::WriteDumps(picture, stem)) return 1;

        std::vector<std::uint8_t> png;
        Report("png_encode", picture, MedianMs(repeats, [&] { png = output::EncodePngBytes(picture, {}); }));
        std::printf("png_bytes %d %d %u\n", width, height, static_cast<unsigned>(png.size()));
        Report("png_save", picture,
               MedianMs(repeats, [&] { output::WritePictureFile(picture, stem + L".png", ftPNG); }));

        if (pngOnly) continue;

        output::JpegBytes jpeg;
        Report("jpeg_encode", picture, MedianMs(repeats, [&] { output::EncodeJpeg(picture, jpeg); }));
        std::printf("jpeg_bytes %d %d %u\n", width, height, static_cast<unsigned>(jpeg.size()));
        Report("jpeg_save", picture,
               MedianMs(repeats, [&] { output::WritePictureFile(picture, stem + L".jpg", ftJPEG); }));

        std::vector<std::uint8_t> bmp;
        output::MemorySink sink(bmp);
        output::WriteBmp(picture, sink);
        Report("bmp_save", picture,
               MedianMs(repeats, [&] { output::WritePictureFile(picture, stem + L".bmp", ftBMP); }));
        TimedFileSystem timed;
        const int parts = 5;
        for (int i = 0; i < parts; ++i)
            output::WritePictureFile(picture, stem + L".bmp", ftBMP, output::ExistingFile::Replace, timed);
        std::printf("bmp_save_parts %d %d create %.2f write %.2f flush %.2f close %.2f replace %.2f delete %.2f\n", width, height,
                    timed.create / parts, timed.write / parts, timed.flush / parts, timed.close / parts,
                    timed.commit / parts, timed.remove / parts);
        Report("bmp_plain_write", picture, MedianMs(repeats, [&] { PlainWrite(stem + L".plain.bmp", bmp, false); }));
        Report("bmp_plain_write_flush", picture,
               MedianMs(repeats, [&] { PlainWrite(stem + L".plain.bmp", bmp, true); }));
    }
    return 0;
}
