// The file-system calls of a safe save, behind an interface: the tests put a
// double in its place to make each step fail, since some of these failures
// (a replace that breaks half-way, a file held open by another program) cannot
// be provoked reliably on every system we run on.
#pragma once

#include <windows.h>

#include <string>

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Each returns false (or INVALID_HANDLE_VALUE) with GetLastError set, as the
    // Win32 call it stands for.
    virtual HANDLE CreateNew(const std::wstring& path);
    virtual bool Write(HANDLE file, const void* data, DWORD size, DWORD& written);
    virtual bool Flush(HANDLE file);
    virtual bool Close(HANDLE file);
    virtual DWORD Attributes(const std::wstring& path);
    // Renames without replacing: fails with ERROR_ALREADY_EXISTS when to exists.
    virtual bool Move(const std::wstring& from, const std::wstring& to);
    // ReplaceFileW(target, replacement, backup).
    virtual bool Replace(const std::wstring& target, const std::wstring& replacement,
                         const std::wstring& backup);
    virtual bool Delete(const std::wstring& path);
    virtual void Pause(DWORD milliseconds);
};

// The real calls.
FileSystem& RealFileSystem();
