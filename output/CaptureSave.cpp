#include "output/CaptureSave.h"

#include <shlobj.h>

#include "output/CaptureFileName.h"
#include "output/PictureFile.h"
#include "output/SaveFile.h"
#include "win/Error.h"
#include "win/Strings.h"

std::wstring SaveCaptureInFolder(const win::Bitmap& picture, const win::AlphaMask& alpha, const std::wstring& folder,
                                 const std::wstring& pattern, int fileType, FileSystem& fs)
{
    if (const std::wstring problem = FileNamePatternProblem(pattern); !problem.empty()) throw win::Error(problem);
    const std::wstring where = folder.empty() ? PicturesFolder() : folder;
    const DWORD attributes = where.empty() ? INVALID_FILE_ATTRIBUTES : fs.Attributes(where);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw win::Error(win::FormatOne(L"The folder %s does not exist: choose another in Settings",
                                        where.empty() ? std::wstring(L"Pictures") : where));
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::wstring name =
        NewCaptureFileName(where, pattern, now, picture.Width(), picture.Height(), fileType,
                           [&fs](const std::wstring& path) { return fs.Attributes(path) != INVALID_FILE_ATTRIBUTES; });
    // Keep: a file that appears under the name meanwhile makes the save fail.
    output::WritePictureFile(picture, name, fileType, output::ExistingFile::Keep, fs, alpha);
    return name;
}

void ShowFileInFolder(const std::wstring& file)
{
    PIDLIST_ABSOLUTE item = nullptr;
    if (FAILED(::SHParseDisplayName(file.c_str(), nullptr, &item, 0, nullptr)) || !item) {
        // The file went meanwhile: its folder at least.
        ::ShellExecuteW(nullptr, L"open", win::FolderOf(file).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    ::SHOpenFolderAndSelectItems(item, 0, nullptr, 0);
    ::CoTaskMemFree(item);
}
