// The recording benchmark's native half (driven by scripts/bench-record.sh):
//   record_bench scene W H DIR      draws the scene's 150 frames (10 s at 15
//                                   fps) as DIR/frames/NNNN.ppm, encodes them
//                                   with our encoder into DIR/ours.gif and
//                                   prints its speed on one core (median of 3)
//   record_bench compare W H FILE.. plays each GIF with giflib against the
//                                   scene: size, PSNR, still pixels changed
//   record_bench memory             60 s at 1920 x 1080 through the streaming
//                                   encoder into a file: peak memory above idle
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "GiflibDecode.h"
#include "RecordScene.h"
#include "gif/AnimationStream.h"

namespace {

constexpr int kFrames = 150, kFps = 15;
using Pixels = std::vector<std::uint32_t>;

std::int64_t TimeOf(int f) { return std::int64_t{f} * 1000000 / kFps; }

void WritePpm(const std::string& path, const Pixels& p, int w, int h)
{
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << w << ' ' << h << "\n255\n";
    std::vector<char> row(static_cast<std::size_t>(w) * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = p[static_cast<std::size_t>(y) * w + x];
            row[3 * x] = static_cast<char>(c >> 16), row[3 * x + 1] = static_cast<char>(c >> 8);
            row[3 * x + 2] = static_cast<char>(c);
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
}

int Scene(int w, int h, const std::string& dir)
{
    std::filesystem::create_directories(dir + "/frames");
    std::vector<double> seconds;
    std::vector<std::uint8_t> file;
    Pixels frame;
    for (int run = 0; run < 3; ++run) {
        file.clear();
        gif::MemorySink sink(file);
        gif::AnimationEncoder encoder(sink, w, h);
        double spent = 0;
        for (int f = 0; f < kFrames; ++f) {
            gifnative::DrawRecordScene(f, w, h, frame);
            if (run == 0) {
                char name[32];
                std::snprintf(name, sizeof name, "/frames/%04d.ppm", f);
                WritePpm(dir + name, frame, w, h);
            }
            const auto start = std::chrono::steady_clock::now();
            encoder.AddFrame({frame.data(), w}, TimeOf(f));
            spent += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
        const auto start = std::chrono::steady_clock::now();
        encoder.Finish(TimeOf(kFrames));
        spent += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        seconds.push_back(spent);
    }
    std::sort(seconds.begin(), seconds.end());
    std::ofstream(dir + "/ours.gif", std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                           static_cast<std::streamsize>(file.size()));
    std::printf("%dx%d encoder: %.1f frames/s on one core (median of 3: %.3f s for %d frames)\n", w, h,
                kFrames / seconds[1], seconds[1], kFrames);
    return 0;
}

int Compare(int w, int h, const std::vector<std::string>& files)
{
    std::printf("%dx%d %-28s %10s %8s %8s %12s\n", w, h, "file", "bytes", "frames", "PSNR dB", "still moved");
    for (const std::string& path : files) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // Each source frame against the decoded frame showing at its time.
        std::vector<int> starts;
        int total = 0, dw = 0, dh = 0;
        bool loops = false;
        double squared = 0;
        long long still = 0;
        Pixels source, previousSource, previousShown;
        int next = 0;  // the next source frame to compare
        int images = 0;
        auto compareUpTo = [&](int endCs, const Pixels& shown) {
            for (; next < kFrames && (images == kFrames ? next : (TimeOf(next) + 5000) / 10000) < endCs; ++next) {
                gifnative::DrawRecordScene(next, w, h, source);
                for (std::size_t p = 0; p < source.size(); ++p) {
                    for (int s = 0; s < 24; s += 8) {
                        const double d = double((source[p] >> s) & 255) - double((shown[p] >> s) & 255);
                        squared += d * d;
                    }
                    if (next > 0 && source[p] == previousSource[p] && shown[p] != previousShown[p]) ++still;
                }
                previousSource = source;
                previousShown = shown;
            }
        };
        // A file with a frame for each source frame is compared frame by
        // frame (its delays may round differently), any other by time.
        gifnative::PlayWithGiflib(bytes, dw, dh, loops, [&](const Pixels&, int) { ++images; });
        Pixels last;
        const std::string problem = gifnative::PlayWithGiflib(bytes, dw, dh, loops, [&](const Pixels& canvas, int delay) {
            if (!last.empty()) compareUpTo(images == kFrames ? static_cast<int>(starts.size()) : total, last);
            last = canvas;
            total += delay;
            starts.push_back(total);
        });
        if (!problem.empty() || dw != w || dh != h) {
            std::printf("%s: %s\n", path.c_str(), problem.empty() ? "wrong size" : problem.c_str());
            continue;
        }
        compareUpTo(1 << 30, last);
        const double mse = squared / (double(kFrames) * w * h * 3);
        std::printf("%dx%d %-28s %10zu %8zu %8.2f %12lld\n", w, h,
                    std::filesystem::path(path).filename().c_str(), bytes.size(), starts.size(),
                    10 * std::log10(255.0 * 255.0 / std::max(mse, 1e-9)), still);
    }
    return 0;
}

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int Memory()
{
    const int w = 1920, h = 1080, frames = 60 * kFps;
    Pixels frame;
    gifnative::DrawRecordScene(0, w, h, frame);
    const long idle = PeakKilobytes();
    const std::string path = (std::filesystem::temp_directory_path() / "tavro-record-bench.gif").string();
    {
        gif::FileSink sink(path);
        gif::AnimationStream stream(sink, w, h, 4);
        for (int f = 0; f < frames; ++f) {
            gif::AnimationFrame* slot;
            while (!(slot = stream.Acquire())) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            gifnative::DrawRecordScene(f % kFrames, w, h, slot->pixels);
            slot->timeUs = TimeOf(f);
            stream.Submit(slot);
        }
        if (!stream.Finish(TimeOf(frames)) || !sink.Close()) return std::printf("memory run failed\n"), 1;
    }
    std::printf("1920x1080, 60 s at 15 fps (%d frames, %ju bytes): peak %.1f MB above idle\n", frames,
                static_cast<std::uintmax_t>(std::filesystem::file_size(path)), (PeakKilobytes() - idle) / 1024.0);
    std::filesystem::remove(path);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "scene" && argc == 5) return Scene(std::stoi(argv[2]), std::stoi(argv[3]), argv[4]);
    if (mode == "compare" && argc > 4)
        return Compare(std::stoi(argv[2]), std::stoi(argv[3]), std::vector<std::string>(argv + 4, argv + argc));
    if (mode == "memory") return Memory();
    std::fprintf(stderr, "usage: record_bench scene W H DIR | compare W H FILE... | memory\n");
    return 2;
}
