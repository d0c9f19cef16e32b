#include "output/TempImageFile.h"

#include <windows.h>

#include "output/BmpWriter.h"
#include "output/SafeFileWriter.h"
#include "win/Error.h"
#include "win/Strings.h"
#include "win/UniqueHandle.h"

namespace {

constexpr wchar_t kTempImageName[] = L"capture-temp.bmp";

// A folder takes new files when a uniquely named one can be made there; the
// probe goes away when it is closed. (GetTempFileNameW is no test: Wine's
// reports success for a folder where nothing could be made.)
bool TakesNewFiles(const std::wstring& folder)
{
    if (folder.empty()) return false;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::wstring probe = folder + L"tavro-probe-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(::GetTickCount() + attempt) + L".tmp";
        win::UniqueFile file(::CreateFileW(probe.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        const DWORD error = ::GetLastError();
        if (file) return true;
        if (error != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

std::wstring UserTempFolder()
{
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return {};
    return std::wstring(folder, length);
}

}  // namespace

std::wstring TempImageFileIn(const std::wstring& preferredFolder)
{
    if (TakesNewFiles(preferredFolder)) return preferredFolder + kTempImageName;
    const std::wstring temp = UserTempFolder();
    // Without a temporary folder the preferred one is still the best guess: the
    // write then fails there and says why.
    return (temp.empty() ? preferredFolder : temp) + kTempImageName;
}

std::wstring TempImageFile() { return TempImageFileIn(win::FolderOf(win::ExecutablePath())); }

std::wstring WriteTempImageFile(const win::Bitmap& picture)
{
    if (picture.Empty()) throw win::Error(L"There is no picture to save");
    output::BmpFileSize(picture);  // refuses a picture the format cannot hold
    ::GdiFlush();                  // drawing on the canvas may still be batched
    const std::wstring path = TempImageFile();
    output::WriteFileSafely(path, [&](output::ByteSink& sink) { output::WriteBmp(picture, sink); });
    return path;
}

bool SaveBMP(const win::Bitmap& picture)
{
    try {
        WriteTempImageFile(picture);
        return true;
    } catch (...) {
        return false;
    }
}
