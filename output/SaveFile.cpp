#include "output/SaveFile.h"

#include "app/AppSettings.h"
#include "app/Unit1.h"
#include "output/FileExistsUnit.h"
#include "output/FileNaming.h"
#include "output/PicDialog.h"
#include "output/PictureFile.h"
#include "win/Error.h"
#include "win/Strings.h"

namespace {

bool FileExists(FileSystem& fs, const std::wstring& name)
{
    return fs.Attributes(name) != INVALID_FILE_ATTRIBUTES;
}

win::Bitmap& TheOutputImage()
{
    if (!Form1 || !Form1->OutputImage) throw win::Error(L"There is no picture to save");
    return *Form1->OutputImage;
}

}  // namespace

void TForm1::SaveFileActionExecute() { DoSaveDialog(); }

bool DoSaveDialog()
{
    win::Bitmap& picture = TheOutputImage();
    PicDialog.InitialDir = AppSettings.SaveDir;
    PicDialog.FileName = ExtensionForFilter(PicDialog.FileName, PicDialog.FilterIndex);
    PicDialog.Picture = &picture;
    const bool chosen = PicDialog.Execute(::GetActiveWindow());
    PicDialog.Picture = nullptr;
    if (!chosen) return false;
    AppSettings.SaveDir = win::FolderOf(PicDialog.FileName);
    return SaveImageFile(PicDialog.FileName, PicDialog.FilterIndex, true);
}

bool SaveImageFile(const std::wstring& fileName, int filterIndex, bool checkExists)
{
    win::Bitmap& picture = TheOutputImage();
    return SaveImageFileTo(
        picture, fileName, filterIndex, checkExists,
        [](const std::wstring& existing) { return FileExistsChoice(*FileExistsForm, existing); },
        PicDialog.FileName);
}

bool SaveImageFileTo(win::Bitmap& picture, const std::wstring& fileName, int filterIndex, bool checkExists,
                     const std::function<int(const std::wstring&)>& choose, std::wstring& dialogFileName,
                     FileSystem& fs)
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
    output::WritePictureFile(picture, name, filterIndex, existing, fs);
    dialogFileName = name;
    return true;
}

std::wstring TempImageFile() { return win::FolderOf(win::ExecutablePath()) + L"capture-temp.bmp"; }

bool SaveBMP()
{
    try {
        output::WritePictureFile(TheOutputImage(), TempImageFile(), ftBMP);
        return true;
    } catch (...) {
        return false;
    }
}
