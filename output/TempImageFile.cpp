#include "output/TempImageFile.h"

#include <windows.h>

#include <cwchar>
#include <mutex>
#include <vector>

#include "output/BmpWriter.h"
#include "output/SafeFileWriter.h"
#include "win/Error.h"
#include "win/Strings.h"

namespace {

constexpr int kNameAttempts = 16;

// The files this run wrote and has not deleted yet. Process-wide: every
// hand-over adds one, and Exit needs them without a path back to each.
struct WrittenFile {
    std::wstring path;
    FILETIME written;  // a file an image program saved over since is the user's
};
struct WrittenFiles {
    std::mutex lock;
    std::vector<WrittenFile> files;
};

// When the file was last written; zero when it cannot be read.
FILETIME LastWrite(const std::wstring& path) noexcept
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return FILETIME{};
    return data.ftLastWriteTime;
}

WrittenFiles& Written()
{
    static WrittenFiles files;
    return files;
}

// A name part no earlier write of any process is likely to have used; the
// exclusive write settles the rare clash.
std::wstring UniquePart(int attempt)
{
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    wchar_t text[40];
    std::swprintf(text, 40, L"%lx-%llx", static_cast<unsigned long>(::GetCurrentProcessId()),
                  static_cast<unsigned long long>(counter.QuadPart) + static_cast<unsigned long long>(attempt));
    return text;
}

}  // namespace

std::wstring TempImageFolder()
{
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) throw win::Error(L"The temporary folder cannot be found");
    return std::wstring(folder, length);
}

std::wstring WriteTempImageFile(const win::Bitmap& picture)
{
    if (picture.Empty()) throw win::Error(L"There is no picture to save");
    output::BmpFileSize(picture);  // refuses a picture the format cannot hold
    ::GdiFlush();                  // drawing on the canvas may still be batched
    const std::wstring folder = TempImageFolder();
    DeleteTempImageFiles();
    for (int attempt = 0;; ++attempt) {
        const std::wstring path = folder + L"capture-temp-" + UniquePart(attempt) + L".bmp";
        if (win::IsExistingFile(path)) continue;
        try {
            // Keep: the file takes the name only when nobody holds it yet.
            output::WriteFileSafely(path, [&](output::ByteSink& sink) { output::WriteBmp(picture, sink); },
                                    output::ExistingFile::Keep);
            WrittenFiles& written = Written();
            const std::lock_guard<std::mutex> hold(written.lock);
            written.files.push_back({path, LastWrite(path)});
            return path;
        } catch (const win::Error&) {
            if (attempt + 1 >= kNameAttempts || !win::IsExistingFile(path)) throw;
        }
    }
}

void DeleteTempImageFiles() noexcept
{
    WrittenFiles& written = Written();
    const std::lock_guard<std::mutex> hold(written.lock);
    // A program that still has its file open keeps it until the next time;
    // a file saved over since it was written holds the user's work and stays.
    std::erase_if(written.files, [](const WrittenFile& file) {
        const FILETIME now = LastWrite(file.path);
        if (::CompareFileTime(&now, &file.written) != 0) return true;
        return ::DeleteFileW(file.path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
    });
}

std::wstring SaveBMP(const win::Bitmap& picture)
{
    try {
        return WriteTempImageFile(picture);
    } catch (...) {
        return {};
    }
}
