// The file a recording is written to, through the system's own file calls so
// that a failed write (a full disk, a lost network drive) is reported in the
// system's words ("There is not enough space on the disk."). Bytes are
// gathered into large writes; Close() writes the rest and says whether all of
// it reached the file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gif/ByteSink.h"
#include "win/UniqueHandle.h"

class RecordingSink : public gif::ByteSink {
public:
    // Creates (or empties) the file at path.
    explicit RecordingSink(const std::wstring& path);
    ~RecordingSink() override = default;

    bool IsOpen() const noexcept { return file_.get() != INVALID_HANDLE_VALUE && file_.get() != nullptr; }
    // Writes what is gathered and closes the file; false (and the sink
    // failed) when a byte did not reach it.
    bool Close();
    // The first failure as the user reads it.
    std::wstring FailureMessage() const;

protected:
    bool DoWrite(const std::uint8_t* data, std::size_t size, std::string& failure) override;
    // Writes size bytes to the file: 0, or the system's error code.
    virtual DWORD WriteToFile(const std::uint8_t* data, DWORD size);

private:
    bool Flush(std::string& failure);

    win::UniqueFile file_;
    std::vector<std::uint8_t> gathered_;
};
