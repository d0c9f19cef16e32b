// Where the writers put their bytes: a file or memory. A sink remembers its
// first failed write (with the system's error code) and refuses every later
// one, so a write error between two checks cannot be lost.
// The GIF codec has a sink of its own (gif/ByteSink.h) on purpose: it must
// build without windows.h for the native fuzzer and benchmarks and reports
// failures as text, while this one writes through FileSystem (so tests can
// make each call fail) and keeps the system's error code for the message.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "output/FileSystem.h"

namespace output {

class ByteSink {
public:
    ByteSink() = default;
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;
    virtual ~ByteSink() = default;

    // False once any write has failed.
    bool Write(const void* data, std::size_t size);
    bool Failed() const noexcept { return error_ != ERROR_SUCCESS; }
    // The first failure's system error code; ERROR_SUCCESS while none.
    DWORD ErrorCode() const noexcept { return error_; }

protected:
    // Takes all of data or returns false with a reason in error.
    virtual bool Put(const std::uint8_t* data, std::size_t size, DWORD& error) = 0;
    void Fail(DWORD error) noexcept;

private:
    DWORD error_ = ERROR_SUCCESS;
};

// Appends to a vector (tests and benchmarks).
class MemorySink final : public ByteSink {
public:
    explicit MemorySink(std::vector<std::uint8_t>& out) : out_(out) {}

protected:
    bool Put(const std::uint8_t* data, std::size_t size, DWORD& error) override;

private:
    std::vector<std::uint8_t>& out_;
};

// Buffers writes to an open file; every WriteFile is checked, byte count
// included. Finish() writes what is still buffered.
class FileSink final : public ByteSink {
public:
    FileSink(FileSystem& fs, HANDLE file);
    bool Finish();

protected:
    bool Put(const std::uint8_t* data, std::size_t size, DWORD& error) override;

private:
    bool WriteThrough(const std::uint8_t* data, std::size_t size, DWORD& error);

    FileSystem& fs_;
    HANDLE file_;
    std::vector<std::uint8_t> buffer_;
    std::size_t used_ = 0;
};

}  // namespace output
