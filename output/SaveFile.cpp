#include "output/SaveFile.h"

#include <shlobj.h>

#include "output/FileExistsDialog.h"
#include "output/FileNaming.h"
#include "output/PictureSaveDialog.h"
#include "output/PictureFile.h"
#include "win/Error.h"
#include "win/Strings.h"

namespace {

bool FileExists(FileSystem& fs, const std::wstring& name)
{
    return fs.Attributes(name) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void SaveFileActionExecute(const win::Bitmap& picture, TPicDialog& dialog, std::wstring& saveDir,
                           TFileExistsForm& existsDialog, const win::AlphaMask& alpha)
{
    DoSaveDialog(picture, dialog, saveDir, existsDialog, alpha);
}

std::wstring SaveDialogFolder(const std::wstring& saveDir, const std::function<bool(const std::wstring&)>& isFolder,
                              const std::wstring& fallback)
{
    // The dialog cannot open in a folder longer than a path may be; an empty,
    // missing or vanished folder (or one with a variable nobody expanded) is
    // no place to start either.
    if (!saveDir.empty() && saveDir.size() < MAX_PATH && isFolder(saveDir)) return saveDir;
    return fallback;
}

namespace {

std::wstring PicturesFolder()
{
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Pictures, 0, nullptr, &path)) && path) folder = path;
    ::CoTaskMemFree(path);
    return win::IsExistingFolder(folder) ? folder : std::wstring();
}

}  // namespace

std::optional<std::wstring> DoSaveDialog(const win::Bitmap& picture, TPicDialog& dialog, std::wstring& saveDir,
                                         TFileExistsForm& existsDialog, const win::AlphaMask& alpha)
{
    dialog.InitialDir = SaveDialogFolder(saveDir, win::IsExistingFolder, PicturesFolder());
    dialog.FileName = ExtensionForFilter(dialog.FileName, dialog.FilterIndex);
    dialog.Picture = &picture;
    const bool chosen = dialog.Execute(::GetActiveWindow());
    dialog.Picture = nullptr;
    if (!chosen) return std::nullopt;
    // The folder is remembered only once a file was written there.
    const std::wstring chosenName = dialog.FileName;
    if (!SaveImageFile(picture, chosenName, dialog.FilterIndex, true, existsDialog, dialog.FileName, alpha))
        return std::nullopt;
    saveDir = win::FolderOf(dialog.FileName);
    return dialog.FileName;
}

bool SaveImageFile(const win::Bitmap& picture, const std::wstring& fileName, int filterIndex, bool checkExists,
                   TFileExistsForm& existsDialog, std::wstring& dialogFileName, const win::AlphaMask& alpha)
{
    return SaveImageFileTo(
        picture, fileName, filterIndex, checkExists,
        [&existsDialog](const std::wstring& existing) { return FileExistsChoice(existsDialog, existing); },
        dialogFileName, RealFileSystem(), alpha);
}

bool SaveImageFileTo(const win::Bitmap& picture, const std::wstring& fileName, int filterIndex, bool checkExists,
                     const std::function<int(const std::wstring&)>& choose, std::wstring& dialogFileName,
                     FileSystem& fs, const win::AlphaMask& alpha)
{
    std::wstring name = ExtensionForFilter(fileName, filterIndex);
    dialogFileName = name;
    // Only a file the user agreed to overwrite is replaced: one that appears
    // between the check and the write makes the save fail instead.
    output::ExistingFile existing = checkExists ? output::ExistingFile::Keep : output::ExistingFile::Replace;
    if (checkExists && FileExists(fs, name)) {
        const int choice = choose(name);
        if (choice == win::mrOk) {
            existing = output::ExistingFile::Replace;
        } else if (choice == win::mrNo) {
            do name = NextRenamedPath(name);
            while (FileExists(fs, name));
        } else {
            return false;
        }
    }
    output::WritePictureFile(picture, name, filterIndex, existing, fs, alpha);
    dialogFileName = name;
    return true;
}
