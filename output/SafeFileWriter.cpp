#include "output/SafeFileWriter.h"

#include "win/Error.h"
#include "win/Strings.h"

namespace output {

namespace {

// Other programs (virus scanners, indexers, a viewer showing the old picture)
// hold files open for short moments: these errors are worth a few retries.
constexpr int kAttempts = 6;
constexpr DWORD kRetryPause = 50;

bool IsTransient(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

[[noreturn]] void Fail(const wchar_t* pattern, const std::wstring& target, DWORD error)
{
    throw win::Error(win::FormatOne(pattern, target) + L" " + win::SystemErrorText(error));
}

constexpr wchar_t kCannotCreate[] = L"Cannot create file \"%s\".";
constexpr wchar_t kCannotWrite[] = L"Cannot write file \"%s\".";

bool Exists(FileSystem& fs, const std::wstring& path)
{
    return fs.Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

// A free short name in the target's folder ("~tavro-<pid>-<n>.tmp"): short,
// so that a target whose name is near the length limits still gets one.
std::wstring FreeSibling(FileSystem& fs, const std::wstring& target, const wchar_t* suffix, int& serial)
{
    const std::wstring stem = win::FolderOf(target) + L"~tavro-" + std::to_wstring(::GetCurrentProcessId()) + L"-";
    for (;;) {
        std::wstring name = stem + std::to_wstring(++serial) + suffix;
        if (!Exists(fs, name)) return name;
    }
}

// The temporary file: deleted on every path that does not hand it over.
class TempFile {
public:
    TempFile(FileSystem& fs, const std::wstring& target) : fs_(fs)
    {
        int serial = 0;
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = FreeSibling(fs_, target, L".tmp", serial);
            handle_ = fs_.CreateNew(path_);
            if (handle_ != INVALID_HANDLE_VALUE) return;
            const DWORD error = ::GetLastError();
            // Another writer took the name between the check and the create.
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) Fail(kCannotCreate, target, error);
        }
        Fail(kCannotCreate, target, ERROR_FILE_EXISTS);
    }
    ~TempFile()
    {
        CloseQuietly();
        if (!handedOver_) fs_.Delete(path_);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    HANDLE Handle() const noexcept { return handle_; }
    const std::wstring& Path() const noexcept { return path_; }
    // Closes, reporting the error of the close itself.
    DWORD Close()
    {
        HANDLE h = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return fs_.Close(h) ? ERROR_SUCCESS : ::GetLastError();
    }
    void HandedOver() noexcept { handedOver_ = true; }

private:
    void CloseQuietly() noexcept
    {
        if (handle_ != INVALID_HANDLE_VALUE) fs_.Close(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

    FileSystem& fs_;
    std::wstring path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    bool handedOver_ = false;
};

// ReplaceFileW with a backup name, so that when the replacement cannot take
// the target's name the old file survives (under the backup name, from which
// it is moved back).
void ReplaceExisting(FileSystem& fs, const std::wstring& target, TempFile& temp)
{
    int serial = 0;
    const std::wstring backup = FreeSibling(fs, target, L".bak", serial);
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0) fs.Pause(kRetryPause);
        if (fs.Replace(target, temp.Path(), backup)) {
            temp.HandedOver();
            // The old picture: nothing refers to it any more.
            fs.Delete(backup);
            return;
        }
        error = ::GetLastError();
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
            // Both files kept their names: the target is untouched.
            break;
        }
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
            // The old file is under the backup name; put it back.
            if (!Exists(fs, target) && Exists(fs, backup)) {
                bool restored = false;
                for (int i = 0; i < kAttempts && !restored; ++i) {
                    if (i > 0) fs.Pause(kRetryPause);
                    restored = fs.Move(backup, target);
                }
                if (!restored) {
                    throw win::Error(win::FormatOne(kCannotWrite, target) + L" " +
                                     win::SystemErrorText(error) + L" The previous file was kept as \"" +
                                     backup + L"\".");
                }
            }
            break;
        }
        if (!IsTransient(error)) break;
    }
    Fail(kCannotWrite, target, error);
}

// Puts the finished temporary file under the target's name.
void Commit(FileSystem& fs, const std::wstring& target, TempFile& temp, ExistingFile existing)
{
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (Exists(fs, target)) {
            if (existing == ExistingFile::Keep) Fail(kCannotCreate, target, ERROR_FILE_EXISTS);
            ReplaceExisting(fs, target, temp);
            return;
        }
        if (attempt > 0) fs.Pause(kRetryPause);
        if (fs.Move(temp.Path(), target)) {
            temp.HandedOver();
            return;
        }
        error = ::GetLastError();
        // ERROR_ALREADY_EXISTS: the target appeared meanwhile; the next round
        // sees it and replaces or refuses.
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS && !IsTransient(error)) break;
    }
    Fail(kCannotWrite, target, error);
}

}  // namespace

void WriteFileSafely(const std::wstring& target, const std::function<void(ByteSink&)>& content,
                     ExistingFile existing, FileSystem& fs)
{
    TempFile temp(fs, target);
    FileSink sink(fs, temp.Handle());
    content(sink);
    if (!sink.Finish()) Fail(kCannotWrite, target, sink.ErrorCode());
    if (!fs.Flush(temp.Handle())) Fail(kCannotWrite, target, ::GetLastError());
    if (const DWORD error = temp.Close()) Fail(kCannotWrite, target, error);
    Commit(fs, target, temp, existing);
}

void WriteFileSafely(const std::wstring& target, const void* data, std::size_t size, ExistingFile existing,
                     FileSystem& fs)
{
    WriteFileSafely(target, [&](ByteSink& sink) { sink.Write(data, size); }, existing, fs);
}

}  // namespace output
