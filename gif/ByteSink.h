// Where encoded bytes go: a file or a byte vector. A sink remembers its first
// failed write and refuses every later one, so no write error can be lost
// between the check points of the writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace gif {

class ByteSink {
public:
    ByteSink() = default;
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;
    virtual ~ByteSink() = default;

    // False once any write has failed; the bytes of a refused write are dropped.
    bool Write(const void* data, std::size_t size);
    bool Put(std::uint8_t byte) { return Write(&byte, 1); }

    bool Failed() const noexcept { return failed_; }
    const std::string& FailureText() const noexcept { return failure_; }
    // Throws GIFException with the first failure's text, if there was one.
    void ThrowIfFailed() const;

protected:
    // Writes all of data or returns false with a reason in failure.
    virtual bool DoWrite(const std::uint8_t* data, std::size_t size, std::string& failure) = 0;
    void Fail(std::string failure);

private:
    bool failed_ = false;
    std::string failure_;
};

// Appends to a caller's vector.
class MemorySink final : public ByteSink {
public:
    explicit MemorySink(std::vector<std::uint8_t>& out) : out_(out) {}

protected:
    bool DoWrite(const std::uint8_t* data, std::size_t size, std::string& failure) override;

private:
    std::vector<std::uint8_t>& out_;
};

// Creates (or truncates) a file. Close() must be called to learn whether the
// last buffered bytes reached the disk; the destructor only releases the file.
class FileSink final : public ByteSink {
public:
    explicit FileSink(const std::filesystem::path& path);
    ~FileSink() override;

    bool IsOpen() const noexcept { return file_ != nullptr; }
    // Flushes and closes; false (and the sink failed) when that went wrong.
    bool Close();

protected:
    bool DoWrite(const std::uint8_t* data, std::size_t size, std::string& failure) override;

private:
    std::string Describe(const char* what) const;

    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
};

}  // namespace gif
