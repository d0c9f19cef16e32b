// The recording's file on a disk that fills up: the first bytes reach the
// file, the write that would pass the limit writes what fits and fails as
// the system does on a full disk.
#pragma once

#include <algorithm>

#include "capture/RecordingSink.h"

class FullDiskSink final : public RecordingSink {
public:
    FullDiskSink(const std::wstring& path, DWORD freeBytes) : RecordingSink(path), free_(freeBytes) {}

protected:
    DWORD WriteToFile(const std::uint8_t* data, DWORD size) override
    {
        const DWORD fits = std::min(size, free_);
        free_ -= fits;
        if (fits > 0 && RecordingSink::WriteToFile(data, fits) != 0) return ::GetLastError();
        return fits == size ? 0 : ERROR_DISK_FULL;
    }

private:
    DWORD free_;
};
