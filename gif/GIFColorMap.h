// A colour table: up to 256 (red, green, blue) entries. In the file it takes
// 2^BitSize() entries; the missing ones are written as black padding.
#pragma once

#include <array>
#include <cstdint>

#include "gif/ByteSink.h"
#include "gif/GIFColor.h"

namespace gif {

class TGIFColorMap {
public:
    static constexpr int kMaxColors = 256;

    int Count() const noexcept { return count_; }
    bool Empty() const noexcept { return count_ == 0; }
    const TGIFColor& operator[](int index) const noexcept { return entries_[index]; }

    // Set only by a reordering by use, which the save path never does.
    bool Sorted() const noexcept { return sorted_; }
    void SetSorted(bool sorted) noexcept { sorted_ = sorted; }

    // Appends an entry; a 257th is "Color table overflow".
    void Add(const TGIFColor& color);
    void Clear() noexcept;

    // 0 when empty, else the smallest b >= 1 with 2^b >= Count().
    int BitSize() const noexcept;

    // Count() entries then the padding up to 2^BitSize(); nothing when empty.
    void WriteTo(ByteSink& sink) const;

private:
    std::array<TGIFColor, kMaxColors> entries_{};
    int count_ = 0;
    bool sorted_ = false;
};

class TGIFGlobalColorMap final : public TGIFColorMap {};
class TGIFLocalColorMap final : public TGIFColorMap {};

}  // namespace gif
