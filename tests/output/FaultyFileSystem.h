// A file system that does the real work but fails chosen steps the way Windows
// reports them, and counts the calls. Test-only.
#pragma once

#include <windows.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "output/FileSystem.h"

class FaultyFileSystem : public FileSystem {
public:
    DWORD createError = 0;
    // Fails the write that would pass this many bytes in total.
    long long failWriteAfter = -1;
    DWORD writeError = ERROR_DISK_FULL;
    bool shortWrite = false;  // succeeds but reports fewer bytes
    DWORD flushError = 0;
    DWORD closeError = 0;
    std::deque<DWORD> moveErrors;     // one per Move call, then real moves
    std::deque<DWORD> replaceErrors;  // one per Replace call, then real replaces
    // Replace fails with 1177 after moving the target to the backup name, as
    // Windows does when the replacement cannot take the target's place.
    bool replaceLosesTarget = false;
    // Called just before the Move that puts the new file in place.
    std::function<void()> beforeMove;

    int creates = 0, moves = 0, replaces = 0, pauses = 0;
    long long bytesWritten = 0;

    HANDLE CreateNew(const std::wstring& path) override
    {
        ++creates;
        if (createError) {
            ::SetLastError(createError);
            return INVALID_HANDLE_VALUE;
        }
        return FileSystem::CreateNew(path);
    }
    bool Write(HANDLE file, const void* data, DWORD size, DWORD& written) override
    {
        if (failWriteAfter >= 0 && bytesWritten + size > failWriteAfter) {
            if (shortWrite) {
                const DWORD part = static_cast<DWORD>(failWriteAfter - bytesWritten);
                FileSystem::Write(file, data, part, written);
                bytesWritten += written;
                return true;
            }
            written = 0;
            ::SetLastError(writeError);
            return false;
        }
        const bool ok = FileSystem::Write(file, data, size, written);
        bytesWritten += written;
        return ok;
    }
    bool Flush(HANDLE file) override
    {
        if (flushError) {
            ::SetLastError(flushError);
            return false;
        }
        return FileSystem::Flush(file);
    }
    bool Close(HANDLE file) override
    {
        const bool ok = FileSystem::Close(file);
        if (closeError) {
            ::SetLastError(closeError);
            return false;
        }
        return ok;
    }
    bool Move(const std::wstring& from, const std::wstring& to) override
    {
        ++moves;
        if (beforeMove) std::exchange(beforeMove, nullptr)();
        if (!moveErrors.empty()) {
            const DWORD e = moveErrors.front();
            moveErrors.pop_front();
            ::SetLastError(e);
            return false;
        }
        return FileSystem::Move(from, to);
    }
    bool Replace(const std::wstring& target, const std::wstring& replacement,
                 const std::wstring& backup) override
    {
        ++replaces;
        if (replaceLosesTarget) {
            replaceLosesTarget = false;
            ::MoveFileExW(target.c_str(), backup.c_str(), 0);
            ::SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
            return false;
        }
        if (!replaceErrors.empty()) {
            const DWORD e = replaceErrors.front();
            replaceErrors.pop_front();
            ::SetLastError(e);
            return false;
        }
        return FileSystem::Replace(target, replacement, backup);
    }
    void Pause(DWORD) override { ++pauses; }
};

// A private folder under the temporary folder, removed with its files.
class TempFolder {
public:
    TempFolder()
    {
        wchar_t base[MAX_PATH];
        ::GetTempPathW(MAX_PATH, base);
        static int serial = 0;
        path_ = std::wstring(base) + L"tavro-save-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(++serial) + L"\\";
        std::filesystem::create_directories(path_);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(path_, ignored))
            ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const noexcept { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + name; }

    // File names in the folder, sorted.
    std::vector<std::wstring> Names() const
    {
        std::vector<std::wstring> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().wstring());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::wstring path_;
};

inline void WriteText(const std::wstring& path, const std::string& text)
{
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out << text;
}

inline std::string ReadBytes(const std::wstring& path)
{
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
