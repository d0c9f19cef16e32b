// The closing item of every file: one byte, ';'.
#pragma once

#include <cstdint>

#include "gif/ByteSink.h"

namespace gif {

class TGIFTrailer {
public:
    static constexpr std::uint8_t kTrailer = 0x3B;

    void WriteTo(ByteSink& sink) const { sink.Put(kTrailer); }
};

}  // namespace gif
