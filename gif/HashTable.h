// The LZW dictionary: (prefix code, pixel) -> code, in 8009 slots of 32 bits.
// A used slot holds key << 12 | code; a slot whose upper 20 bits are all set is
// empty. Collisions step to slot 2h mod 8009, which from any slot but 0 visits
// 4004 slots before repeating: more than the 3837 codes a table ever holds, so
// every probe ends.
#pragma once

#include <cstdint>
#include <memory>

namespace gif {

class THashTable {
public:
    static constexpr int kSlots = 8009;  // a prime
    static constexpr int kNotFound = -1;

    THashTable();

    // Every slot empty (all bits set), in one byte fill.
    void Clear() noexcept;

    // The code stored for key (prefix * 256 + pixel, at most 20 bits), or -1.
    int Lookup(std::uint32_t key) const noexcept
    {
        int emptySlot;
        return Find(key, emptySlot);
    }

    // Lookup that also gives, on a miss, the empty slot ending the probe: the
    // slot Insert would use, so the encoder stores there without probing again.
    int Find(std::uint32_t key, int& emptySlot) const noexcept
    {
        const std::uint32_t tagged = key << 12;
        for (int slot = HomeSlot(key);; slot = NextSlot(slot)) {
            const std::uint32_t entry = slots_[slot];
            if ((entry & kKeyMask) == kKeyMask) {
                emptySlot = slot;
                return kNotFound;
            }
            if ((entry & kKeyMask) == tagged) return static_cast<int>(entry & kCodeMask);
        }
    }

    void Insert(std::uint32_t key, int code) noexcept
    {
        int slot = HomeSlot(key);
        while ((slots_[slot] & kKeyMask) != kKeyMask) slot = NextSlot(slot);
        StoreAt(slot, key, code);
    }

    // Stores into the empty slot that Find reported for this key.
    void StoreAt(int slot, std::uint32_t key, int code) noexcept
    {
        slots_[slot] = (key << 12) | (static_cast<std::uint32_t>(code) & kCodeMask);
    }

    static int HomeSlot(std::uint32_t key) noexcept
    {
        return static_cast<int>(((key >> 4) ^ key) % kSlots);
    }

    // 2h mod 8009; slot 0 (only ever a home slot) goes on to 8008.
    static int NextSlot(int slot) noexcept
    {
        if (slot == 0) return kSlots - 1;
        const int next = slot - (kSlots - slot);
        return next < 0 ? next + kSlots : next;
    }

private:
    static constexpr std::uint32_t kKeyMask = 0xFFFFF000u;
    static constexpr std::uint32_t kCodeMask = 0x00000FFFu;

    std::unique_ptr<std::uint32_t[]> slots_;
};

}  // namespace gif
