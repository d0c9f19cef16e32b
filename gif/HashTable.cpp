#include "gif/HashTable.h"

#include <cstring>

namespace gif {

THashTable::THashTable() : slots_(new std::uint32_t[kSlots]) { Clear(); }

void THashTable::Clear() noexcept { std::memset(slots_.get(), 0xFF, kSlots * sizeof(std::uint32_t)); }

}  // namespace gif
