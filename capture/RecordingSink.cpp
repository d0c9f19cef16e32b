#include "capture/RecordingSink.h"

#include <cstring>

#include "win/Error.h"
#include "win/Strings.h"

namespace {

// One write to the file per this many bytes: the encoder hands over a few
// bytes at a time.
constexpr std::size_t kGatherBytes = 256 * 1024;

}  // namespace

RecordingSink::RecordingSink(const std::wstring& path)
    : file_(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
{
    if (!IsOpen()) Fail(win::Narrow(win::SystemErrorText(::GetLastError())));
    gathered_.reserve(kGatherBytes);
}

bool RecordingSink::DoWrite(const std::uint8_t* data, std::size_t size, std::string& failure)
{
    if (!IsOpen()) return false;
    if (gathered_.size() + size > kGatherBytes && !Flush(failure)) return false;
    if (size >= kGatherBytes) {
        // Too large to gather: straight to the file.
        const DWORD error = WriteToFile(data, static_cast<DWORD>(size));
        if (error != 0) failure = win::Narrow(win::SystemErrorText(error));
        return error == 0;
    }
    gathered_.insert(gathered_.end(), data, data + size);
    return true;
}

bool RecordingSink::Flush(std::string& failure)
{
    if (gathered_.empty()) return true;
    const DWORD error = WriteToFile(gathered_.data(), static_cast<DWORD>(gathered_.size()));
    gathered_.clear();
    if (error != 0) failure = win::Narrow(win::SystemErrorText(error));
    return error == 0;
}

DWORD RecordingSink::WriteToFile(const std::uint8_t* data, DWORD size)
{
    DWORD written = 0;
    if (!::WriteFile(file_.get(), data, size, &written, nullptr)) return ::GetLastError();
    return written == size ? 0 : ERROR_DISK_FULL;
}

bool RecordingSink::Close()
{
    if (!IsOpen()) return !Failed();
    std::string failure;
    if (!Failed() && !Flush(failure)) Fail(failure);
    if (!::CloseHandle(file_.release()) && !Failed()) Fail(win::Narrow(win::SystemErrorText(::GetLastError())));
    return !Failed();
}

std::wstring RecordingSink::FailureMessage() const { return win::Widen(FailureText()); }
