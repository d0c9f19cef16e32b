// Saving a finished recording: the save dialog offering GIF only, the same
// file naming and file-exists policy as a picture's, and the safe
// replacement of an existing file.
#pragma once

#include <optional>
#include <string>

#include "output/FileExistsDialog.h"
#include "output/FileSystem.h"
#include "output/PictureSaveDialog.h"
#include "output/SafeFileWriter.h"

// The dialog for recordings: one type, GIF, and "recording.gif" to start.
void PrepareRecordingDialog(TPicDialog& dialog);

// Shows dialog in saveDir and copies the recording at source to the chosen
// name. The name written, none when the user cancelled; a failed write
// throws win::Error and leaves any file there as it was.
std::optional<std::wstring> SaveRecordingDialog(const std::wstring& source, TPicDialog& dialog,
                                                std::wstring& saveDir, TFileExistsForm& existsDialog);

// Copies source to target through the safe writer (target replaced only
// as existing allows).
void CopyRecording(const std::wstring& source, const std::wstring& target, output::ExistingFile existing,
                   FileSystem& fs = RealFileSystem());
