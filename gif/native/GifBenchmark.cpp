// Our GIF writer against giflib in the same run. Both encode the same cube
// indices with the same 256-entry table into memory; the "Save" pair adds the
// colour reduction from 24-bit rows (the same reduction for both). At the end
// the medians and the ratio ours / giflib are printed.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "BenchPictures.h"
#include "GiflibEncode.h"
#include "gif/ByteSink.h"
#include "gif/GIFImage.h"

namespace {

using gifnative::BenchPicture;

struct Case {
    const char* name;
    BenchPicture picture;
};

std::vector<Case>& Cases()
{
    static std::vector<Case> cases = {
        {"screen1920x1080", gifnative::ScreenshotPicture(1920, 1080)},
        {"screen3840x2160", gifnative::ScreenshotPicture(3840, 2160)},
        {"noise1024x1024", gifnative::NoisePicture(1024, 1024)},
    };
    return cases;
}

std::vector<gif::TGIFColor> TableOf(gif::TGIFImage& image)
{
    std::vector<gif::TGIFColor> table;
    for (int i = 0; i < 256; ++i) table.push_back(image.Image(0).ColorMap()[i]);
    return table;
}

void OursEncode(benchmark::State& state, const Case* c)
{
    gif::TGIFImage image;
    image.Assign(c->picture.Rows());
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        out.clear();
        gif::MemorySink sink(out);
        image.SaveToStream(sink);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = static_cast<double>(out.size());
}

void GiflibEncode(benchmark::State& state, const Case* c)
{
    gif::TGIFImage image;
    image.Assign(c->picture.Rows());
    std::vector<std::uint8_t> indices = image.Image(0).Data();
    const auto table = TableOf(image);
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        out.clear();
        gifnative::EncodeWithGiflib(indices, c->picture.width, c->picture.height, table, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = static_cast<double>(out.size());
}

void OursSave(benchmark::State& state, const Case* c)
{
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        gif::TGIFImage image;
        image.Assign(c->picture.Rows());
        out.clear();
        gif::MemorySink sink(out);
        image.SaveToStream(sink);
        benchmark::DoNotOptimize(out.data());
    }
}

void GiflibSave(benchmark::State& state, const Case* c)
{
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        const gif::IndexedBitmap reduced = gif::ReduceColorDepth(
            c->picture.Rows(), gif::redWebCube216, gif::ditNearest, 8, nullptr);
        std::vector<std::uint8_t> indices(static_cast<std::size_t>(reduced.width) * reduced.height);
        for (int y = 0; y < reduced.height; ++y)
            std::copy_n(reduced.Row(y), reduced.width, indices.begin() + static_cast<std::ptrdiff_t>(y) * reduced.width);
        std::vector<gif::TGIFColor> table;
        for (const auto& q : reduced.colorTable) table.push_back({q.red, q.green, q.blue});
        out.clear();
        gifnative::EncodeWithGiflib(indices, reduced.width, reduced.height, table, out);
        benchmark::DoNotOptimize(out.data());
    }
}

// Keeps the median of every benchmark for the closing ratio table.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                       run.GetAdjustedCPUTime()};
    }
    struct Median {
        double real, cpu;  // milliseconds
    };
    std::map<std::string, Median> medians;
};

}  // namespace

int main(int argc, char** argv)
{
    for (Case& c : Cases()) {
        const std::string name = c.name;
        const std::pair<std::string, void (*)(benchmark::State&, const Case*)> runs[] = {
            {"Encode/ours/", OursEncode}, {"Encode/giflib/", GiflibEncode},
            {"Save/ours/", OursSave},     {"Save/giflib/", GiflibSave}};
        for (const auto& [prefix, function] : runs)
            benchmark::RegisterBenchmark((prefix + name).c_str(), function, &c)
                ->Unit(benchmark::kMillisecond)
                ->Repetitions(7)
                ->ReportAggregatesOnly(true);
    }
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // The machine may be shared: the CPU-time ratio is the steadier figure.
    std::printf("\nmedians in ms, ratio = ours / giflib\n%-7s %-16s %9s %9s %7s %9s %9s %7s\n", "what",
                "picture", "ours", "giflib", "ratio", "ours cpu", "gif cpu", "ratio");
    for (const char* what : {"Encode", "Save"})
        for (const Case& c : Cases()) {
            const auto ours = reporter.medians.find(std::string(what) + "/ours/" + c.name);
            const auto peer = reporter.medians.find(std::string(what) + "/giflib/" + c.name);
            if (ours == reporter.medians.end() || peer == reporter.medians.end()) continue;
            const auto& [o, g] = std::pair{ours->second, peer->second};
            std::printf("%-7s %-16s %9.2f %9.2f %7.3f %9.2f %9.2f %7.3f\n", what, c.name, o.real,
                        g.real, o.real / g.real, o.cpu, g.cpu, o.cpu / g.cpu);
        }
    return 0;
}
