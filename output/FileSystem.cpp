#include "output/FileSystem.h"

HANDLE FileSystem::CreateNew(const std::wstring& path)
{
    return ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
}

bool FileSystem::Write(HANDLE file, const void* data, DWORD size, DWORD& written)
{
    written = 0;
    return ::WriteFile(file, data, size, &written, nullptr) != FALSE;
}

bool FileSystem::Flush(HANDLE file) { return ::FlushFileBuffers(file) != FALSE; }

bool FileSystem::Close(HANDLE file) { return ::CloseHandle(file) != FALSE; }

DWORD FileSystem::Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

bool FileSystem::Move(const std::wstring& from, const std::wstring& to)
{
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool FileSystem::Replace(const std::wstring& target, const std::wstring& replacement,
                         const std::wstring& backup)
{
    return ::ReplaceFileW(target.c_str(), replacement.c_str(), backup.empty() ? nullptr : backup.c_str(),
                          REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != FALSE;
}

bool FileSystem::Delete(const std::wstring& path) { return ::DeleteFileW(path.c_str()) != FALSE; }

void FileSystem::Pause(DWORD milliseconds) { ::Sleep(milliseconds); }

FileSystem& RealFileSystem()
{
    static FileSystem real;
    return real;
}
