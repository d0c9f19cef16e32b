// A sink that refuses every byte from a given one on, as a full disk would:
// the fuzz target and the recording tests check that such a failure is
// reported, never lost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "gif/ByteSink.h"

namespace gifnative {

class FailingSink final : public gif::ByteSink {
public:
    explicit FailingSink(std::size_t limit) : limit_(limit) {}

protected:
    bool DoWrite(const std::uint8_t*, std::size_t size, std::string& failure) override
    {
        written_ += size;
        if (written_ <= limit_) return true;
        failure = "The disk is full";
        return false;
    }

private:
    std::size_t limit_;
    std::size_t written_ = 0;
};

}  // namespace gifnative
