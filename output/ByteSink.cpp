#include "output/ByteSink.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace output {

namespace {
constexpr std::size_t kBufferSize = 1 << 20;
// One WriteFile at most this large, well inside a DWORD.
constexpr std::size_t kLargestWrite = 1 << 24;
}  // namespace

bool ByteSink::Write(const void* data, std::size_t size)
{
    if (Failed()) return false;
    if (size == 0) return true;
    DWORD error = ERROR_SUCCESS;
    if (Put(static_cast<const std::uint8_t*>(data), size, error)) return true;
    Fail(error);
    return false;
}

void ByteSink::Fail(DWORD error) noexcept
{
    if (error_ == ERROR_SUCCESS) error_ = error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
}

bool MemorySink::Put(const std::uint8_t* data, std::size_t size, DWORD& error)
{
    try {
        out_.insert(out_.end(), data, data + size);
        return true;
    } catch (const std::bad_alloc&) {
        error = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
}

FileSink::FileSink(FileSystem& fs, HANDLE file) : fs_(fs), file_(file), buffer_(kBufferSize) {}

bool FileSink::WriteThrough(const std::uint8_t* data, std::size_t size, DWORD& error)
{
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min(size, kLargestWrite));
        DWORD written = 0;
        if (!fs_.Write(file_, data, chunk, written)) {
            error = ::GetLastError();
            return false;
        }
        // A short count without an error is a full disk on some systems.
        if (written != chunk) {
            error = ERROR_DISK_FULL;
            return false;
        }
        data += chunk;
        size -= chunk;
    }
    return true;
}

bool FileSink::Put(const std::uint8_t* data, std::size_t size, DWORD& error)
{
    if (used_ + size <= buffer_.size()) {
        std::memcpy(buffer_.data() + used_, data, size);
        used_ += size;
        return true;
    }
    if (used_ > 0) {
        if (!WriteThrough(buffer_.data(), used_, error)) return false;
        used_ = 0;
    }
    if (size >= buffer_.size()) return WriteThrough(data, size, error);
    std::memcpy(buffer_.data(), data, size);
    used_ = size;
    return true;
}

bool FileSink::Finish()
{
    if (Failed()) return false;
    if (used_ > 0) {
        DWORD error = ERROR_SUCCESS;
        if (!WriteThrough(buffer_.data(), used_, error)) {
            Fail(error);
            return false;
        }
        used_ = 0;
    }
    return true;
}

}  // namespace output
