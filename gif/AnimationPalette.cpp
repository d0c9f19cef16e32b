#include "gif/AnimationPalette.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

namespace gif {

namespace {

constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
constexpr std::uint16_t kExact = 0x100;

std::uint32_t Slot(std::uint32_t color, int bits) noexcept
{
    return (color * 0x9E3779B1u) >> (32 - bits);
}

}  // namespace

int AnimationPalette::Bits() const noexcept
{
    int bits = 1;
    while ((1 << bits) < static_cast<int>(colors.size()) + 1) ++bits;
    return bits;
}

TPalette AnimationPalette::Table() const
{
    TPalette table(static_cast<std::size_t>(TableSize()));
    for (std::size_t i = 0; i < colors.size(); ++i)
        table[i] = {static_cast<std::uint8_t>(colors[i] >> 16),
                    static_cast<std::uint8_t>(colors[i] >> 8), static_cast<std::uint8_t>(colors[i])};
    return table;
}

ColorSet::ColorSet(int limit) : limit_(limit), slots_(2048, kEmpty) {}

bool ColorSet::Add(std::uint32_t color)
{
    if (overflowed_) return false;
    for (std::uint32_t at = Slot(color, 11);; at = (at + 1) & 2047) {
        if (slots_[at] == color) return true;
        if (slots_[at] != kEmpty) continue;
        if (static_cast<int>(colors_.size()) == limit_) {
            overflowed_ = true;
            return false;
        }
        slots_[at] = color;
        colors_.push_back(color);
        return true;
    }
}

namespace {

struct Bin {
    std::uint32_t count = 0;
    std::uint64_t red = 0, green = 0, blue = 0;
};

int BinChannel(int bin, int channel) noexcept { return (bin >> (10 - 5 * channel)) & 31; }

// A box of occupied histogram bins.
struct Box {
    std::vector<int> bins;
    std::uint64_t count = 0;
    int widest = 0;  // channel with the largest range
    int range = 0;
};

Box MakeBox(std::vector<int> bins, const std::vector<Bin>& histogram)
{
    Box box{std::move(bins), 0, 0, 0};
    std::array<int, 3> low{31, 31, 31}, high{0, 0, 0};
    for (int bin : box.bins) {
        box.count += histogram[static_cast<std::size_t>(bin)].count;
        for (int c = 0; c < 3; ++c) {
            low[c] = std::min(low[c], BinChannel(bin, c));
            high[c] = std::max(high[c], BinChannel(bin, c));
        }
    }
    for (int c = 0; c < 3; ++c)
        if (high[c] - low[c] > box.range) box.range = high[c] - low[c], box.widest = c;
    return box;
}

// Splits at the pixel median along the widest channel.
std::pair<Box, Box> Split(Box box, const std::vector<Bin>& histogram)
{
    const int c = box.widest;
    std::sort(box.bins.begin(), box.bins.end(),
              [c](int a, int b) { return BinChannel(a, c) < BinChannel(b, c); });
    std::uint64_t seen = 0;
    std::size_t cut = 1;
    for (; cut < box.bins.size(); ++cut) {
        seen += histogram[static_cast<std::size_t>(box.bins[cut - 1])].count;
        if (seen * 2 >= box.count) break;
    }
    cut = std::min(cut, box.bins.size() - 1);
    std::vector<int> first(box.bins.begin(), box.bins.begin() + static_cast<std::ptrdiff_t>(cut));
    std::vector<int> second(box.bins.begin() + static_cast<std::ptrdiff_t>(cut), box.bins.end());
    return {MakeBox(std::move(first), histogram), MakeBox(std::move(second), histogram)};
}

}  // namespace

namespace {

// Two rounds of moving each colour to the mean of the colours nearest to it
// (weighted by their pixels), which lowers the error the cut leaves.
void Refine(AnimationPalette& palette, const std::unordered_map<std::uint32_t, std::uint32_t>& counts,
            const std::unordered_set<std::uint32_t>& skip)
{
    if (palette.colors.empty()) return;
    for (int round = 0; round < 2; ++round) {
        std::vector<std::array<std::uint64_t, 4>> sums(palette.colors.size(), {0, 0, 0, 0});
        ColorIndex index(palette);
        for (const auto& [color, count] : counts) {
            if (skip.count(color)) continue;
            auto& sum = sums[index.Index(color)];
            sum[0] += std::uint64_t{(color >> 16) & 255} * count;
            sum[1] += std::uint64_t{(color >> 8) & 255} * count;
            sum[2] += std::uint64_t{color & 255} * count;
            sum[3] += count;
        }
        for (std::size_t i = 0; i < sums.size(); ++i) {
            const auto& sum = sums[i];
            if (!sum[3]) continue;
            const std::uint64_t half = sum[3] / 2;
            palette.colors[i] = static_cast<std::uint32_t>((sum[0] + half) / sum[3] << 16 |
                                                           (sum[1] + half) / sum[3] << 8 | (sum[2] + half) / sum[3]);
        }
    }
}

}  // namespace

AnimationPalette ReducedPalette(const std::vector<std::uint32_t>& pixels, int maxColors)
{
    // The colours that cover large areas (a screen's faces, text, lines)
    // keep their exact value; the rest share what is left.
    std::unordered_map<std::uint32_t, std::uint32_t> counts;
    for (std::uint32_t p : pixels) ++counts[p];
    std::vector<std::pair<std::uint32_t, std::uint32_t>> byCount(counts.begin(), counts.end());
    std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    const std::size_t large = std::max<std::size_t>(16, pixels.size() / 1000);
    AnimationPalette palette;
    for (const auto& [color, count] : byCount) {
        if (count < large || static_cast<int>(palette.colors.size()) * 2 >= maxColors) break;
        palette.colors.push_back(color);
    }
    std::vector<std::uint32_t> rest;
    const std::unordered_set<std::uint32_t> kept(palette.colors.begin(), palette.colors.end());
    for (std::uint32_t p : pixels)
        if (!kept.count(p)) rest.push_back(p);
    AnimationPalette shared = MedianCutPalette(rest, maxColors - static_cast<int>(palette.colors.size()));
    Refine(shared, counts, kept);
    palette.colors.insert(palette.colors.end(), shared.colors.begin(), shared.colors.end());
    return palette;
}

AnimationPalette MedianCutPalette(const std::vector<std::uint32_t>& pixels, int maxColors)
{
    std::vector<Bin> histogram(32768);
    for (std::uint32_t p : pixels) {
        Bin& bin = histogram[((p >> 9) & 0x7C00) | ((p >> 6) & 0x3E0) | ((p >> 3) & 0x1F)];
        ++bin.count;
        bin.red += (p >> 16) & 255;
        bin.green += (p >> 8) & 255;
        bin.blue += p & 255;
    }
    std::vector<int> occupied;
    for (int i = 0; i < 32768; ++i)
        if (histogram[static_cast<std::size_t>(i)].count) occupied.push_back(i);
    std::vector<Box> boxes;
    if (!occupied.empty()) boxes.push_back(MakeBox(std::move(occupied), histogram));
    while (static_cast<int>(boxes.size()) < maxColors) {
        // The box to split: the most pixels among those that can still split.
        auto best = boxes.end();
        for (auto it = boxes.begin(); it != boxes.end(); ++it)
            if (it->bins.size() > 1 && (best == boxes.end() || it->count * (it->range + 1) >
                                                                   best->count * (best->range + 1)))
                best = it;
        if (best == boxes.end()) break;
        auto [first, second] = Split(std::move(*best), histogram);
        *best = std::move(first);
        boxes.push_back(std::move(second));
    }
    AnimationPalette palette;
    for (const Box& box : boxes) {
        std::uint64_t sum[3] = {0, 0, 0};
        for (int bin : box.bins) {
            const Bin& b = histogram[static_cast<std::size_t>(bin)];
            sum[0] += b.red, sum[1] += b.green, sum[2] += b.blue;
        }
        const std::uint64_t half = box.count / 2;
        palette.colors.push_back(static_cast<std::uint32_t>(
            (sum[0] + half) / box.count << 16 | (sum[1] + half) / box.count << 8 |
            (sum[2] + half) / box.count));
    }
    return palette;
}

ColorIndex::ColorIndex(const AnimationPalette& palette) : palette_(palette) { Rebuild(); }

void ColorIndex::Rebuild()
{
    keys_.assign(std::size_t{1} << bits_, kEmpty);
    values_.assign(keys_.size(), 0);
    used_ = 0;
    for (std::size_t i = 0; i < palette_.colors.size(); ++i)
        if (Find(palette_.colors[i]) < 0)
            Insert(palette_.colors[i], static_cast<std::uint8_t>(i), true);
}

int ColorIndex::Find(std::uint32_t color) const noexcept
{
    const std::uint32_t mask = (1u << bits_) - 1;
    for (std::uint32_t at = Slot(color, bits_);; at = (at + 1) & mask) {
        if (keys_[at] == color) return static_cast<int>(at);
        if (keys_[at] == kEmpty) return -1;
    }
}

void ColorIndex::Insert(std::uint32_t color, std::uint8_t index, bool exact)
{
    // Nearest-colour answers are a cache: past a size it starts again.
    if ((used_ + 1) * 2 > static_cast<int>(keys_.size())) {
        if (bits_ < 18) ++bits_;
        Rebuild();
    }
    const std::uint32_t mask = (1u << bits_) - 1;
    std::uint32_t at = Slot(color, bits_);
    while (keys_[at] != kEmpty) at = (at + 1) & mask;
    keys_[at] = color;
    values_[at] = static_cast<std::uint16_t>(index | (exact ? kExact : 0));
    ++used_;
}

bool ColorIndex::Contains(std::uint32_t color) const noexcept
{
    const int at = Find(color);
    return at >= 0 && (values_[static_cast<std::size_t>(at)] & kExact);
}

std::uint8_t ColorIndex::Index(std::uint32_t color)
{
    const int at = Find(color);
    if (at >= 0) return static_cast<std::uint8_t>(values_[static_cast<std::size_t>(at)]);
    const std::uint8_t index = Nearest(color);
    Insert(color, index, false);
    return index;
}

std::uint8_t ColorIndex::Nearest(std::uint32_t color) const noexcept
{
    const int r = (color >> 16) & 255, g = (color >> 8) & 255, b = color & 255;
    int best = 0, bestDistance = 1 << 30;
    for (std::size_t i = 0; i < palette_.colors.size(); ++i) {
        const std::uint32_t c = palette_.colors[i];
        const int dr = r - static_cast<int>((c >> 16) & 255), dg = g - static_cast<int>((c >> 8) & 255),
                  db = b - static_cast<int>(c & 255);
        const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) bestDistance = distance, best = static_cast<int>(i);
    }
    return static_cast<std::uint8_t>(best);
}

}  // namespace gif
