#include "output/SaveRecording.h"

#include <vector>

#include "output/FileNaming.h"
#include "output/SaveFile.h"
#include "win/Error.h"
#include "win/Strings.h"
#include "win/UniqueHandle.h"

void PrepareRecordingDialog(TPicDialog& dialog)
{
    dialog.Title = L"Save Recording as a GIF File";
    dialog.Filter = L"GIF Image File (*.gif)|*.gif";
    dialog.FileName = L"recording.gif";
    dialog.FilterIndex = 1;
}

void CopyRecording(const std::wstring& source, const std::wstring& target, output::ExistingFile existing,
                   FileSystem& fs)
{
    win::UniqueFile in(::CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in) win::ThrowLastError();
    output::WriteFileSafely(
        target,
        [&in](output::ByteSink& sink) {
            std::vector<std::uint8_t> buffer(1 << 16);
            for (;;) {
                DWORD read = 0;
                if (!::ReadFile(in.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
                    win::ThrowLastError();
                // A failed write is the sink's to report.
                if (read == 0 || !sink.Write(buffer.data(), read)) return;
            }
        },
        existing, fs);
}

std::optional<std::wstring> SaveRecordingDialog(const std::wstring& source, TPicDialog& dialog,
                                                std::wstring& saveDir, TFileExistsForm& existsDialog)
{
    dialog.InitialDir = SaveDialogFolder(saveDir, win::IsExistingFolder, PicturesFolder());
    dialog.FileName = ExtensionForFilter(dialog.FileName, ftGIF);
    dialog.Picture = nullptr;
    if (!dialog.Execute(::GetActiveWindow())) return std::nullopt;
    output::ExistingFile existing;
    const auto name = ChooseTargetName(
        ExtensionForFilter(dialog.FileName, ftGIF), true,
        [&existsDialog](const std::wstring& existing) { return FileExistsChoice(existsDialog, existing); },
        RealFileSystem(), existing);
    if (!name) return std::nullopt;
    CopyRecording(source, *name, existing);
    dialog.FileName = *name;
    saveDir = win::FolderOf(*name);
    return name;
}
