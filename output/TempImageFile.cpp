#include "output/TempImageFile.h"

#include <windows.h>

#include <cwchar>

#include "output/BmpWriter.h"
#include "output/SafeFileWriter.h"
#include "win/Error.h"
#include "win/Strings.h"

namespace {

constexpr int kNameAttempts = 16;

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
    for (int attempt = 0;; ++attempt) {
        const std::wstring path = folder + L"capture-temp-" + UniquePart(attempt) + L".bmp";
        if (win::IsExistingFile(path)) continue;
        try {
            // Keep: the file takes the name only when nobody holds it yet.
            output::WriteFileSafely(path, [&](output::ByteSink& sink) { output::WriteBmp(picture, sink); },
                                    output::ExistingFile::Keep);
            return path;
        } catch (const win::Error&) {
            if (attempt + 1 >= kNameAttempts || !win::IsExistingFile(path)) throw;
        }
    }
}

std::wstring SaveBMP(const win::Bitmap& picture)
{
    try {
        return WriteTempImageFile(picture);
    } catch (...) {
        return {};
    }
}
