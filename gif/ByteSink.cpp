#include "gif/ByteSink.h"

#include <cerrno>
#include <cstring>
#include <new>

#include "gif/GIFException.h"

namespace gif {

bool ByteSink::Write(const void* data, std::size_t size)
{
    if (failed_) return false;
    if (size == 0) return true;
    std::string failure;
    if (!DoWrite(static_cast<const std::uint8_t*>(data), size, failure)) {
        Fail(failure.empty() ? std::string("Write error") : std::move(failure));
        return false;
    }
    return true;
}

void ByteSink::Fail(std::string failure)
{
    if (failed_) return;
    failed_ = true;
    failure_ = std::move(failure);
}

void ByteSink::ThrowIfFailed() const
{
    if (failed_) throw GIFException(failure_);
}

bool MemorySink::DoWrite(const std::uint8_t* data, std::size_t size, std::string& failure)
{
    try {
        out_.insert(out_.end(), data, data + size);
    } catch (const std::bad_alloc&) {
        failure = "Not enough memory for the GIF data";
        return false;
    }
    return true;
}

FileSink::FileSink(const std::filesystem::path& path) : path_(path)
{
#ifdef _WIN32
    file_ = ::_wfopen(path.c_str(), L"wb");
#else
    file_ = std::fopen(path.c_str(), "wb");
#endif
    if (!file_) Fail(Describe("Cannot create"));
}

FileSink::~FileSink()
{
    if (file_) std::fclose(file_);
}

std::string FileSink::Describe(const char* what) const
{
    const int error = errno;
    const std::u8string name = path_.u8string();
    std::string text(what);
    text += " file \"";
    text.append(name.begin(), name.end());
    text += "\".";
    if (error != 0) {
        text += ' ';
        text += std::strerror(error);
    }
    return text;
}

bool FileSink::DoWrite(const std::uint8_t* data, std::size_t size, std::string& failure)
{
    if (!file_) return false;
    errno = 0;
    if (std::fwrite(data, 1, size, file_) != size) {
        failure = Describe("Cannot write");
        return false;
    }
    return true;
}

bool FileSink::Close()
{
    if (!file_) return !Failed();
    errno = 0;
    const bool flushed = std::fflush(file_) == 0;
    if (!flushed) Fail(Describe("Cannot write"));
    errno = 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!closed) Fail(Describe("Cannot close"));
    return !Failed();
}

}  // namespace gif
