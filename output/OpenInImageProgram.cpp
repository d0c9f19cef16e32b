#include "output/OpenInImageProgram.h"

#include "output/ImageProgram.h"
#include "output/PaintProgram.h"
#include "output/TempImageFile.h"
#include "win/Error.h"

void SetImageEditorActionExecute(const win::Bitmap& picture, std::wstring& imageProgram, int& imageProgIndex,
                                 TImageEdForm& dialog)
{
    if (dialog.Execute(picture, imageProgram, imageProgIndex) == win::mrOk)
        imageProgram = dialog.ImageProgEdText();
}

void RunSelectedEditorActionExecute(const win::Bitmap& picture, std::wstring& imageProgram, int& imageProgIndex,
                                    TImageEdForm& dialog)
{
    if (!dialog.NoShowChecked()) {
        if (dialog.Execute(picture, imageProgram, imageProgIndex) != win::mrOk) return;
        imageProgram = dialog.ImageProgEdText();
    }
    switch (imageProgIndex) {
    case ipUserProgram: RunUserProgramOnlyActionExecute(picture, imageProgram, imageProgIndex, dialog); break;
    case ipDefaultProgram: RunDefaultProgramOnlyActionExecute(picture); break;
    default: RunMSPaintOnlyActionExecute(picture); break;
    }
}

void RunUserProgramOnlyActionExecute(const win::Bitmap& picture, std::wstring& imageProgram, int& imageProgIndex,
                                     TImageEdForm& dialog)
{
    if (!ProgramFileExists(imageProgram)) {
        SetImageEditorActionExecute(picture, imageProgram, imageProgIndex, dialog);
        if (!ProgramFileExists(imageProgram)) return;
    }
    // Written first: a program must never be handed a stale or missing file.
    const std::wstring file = WriteTempImageFile(picture);
    StartImageProgram(imageProgram, file);
}

void RunDefaultProgramOnlyActionExecute(const win::Bitmap& picture)
{
    const std::wstring program = GetDefaultProgram(picture);
    if (IsBlank(program) || !ProgramFileExists(program)) return;
    const std::wstring file = WriteTempImageFile(picture);
    StartImageProgram(program, file);
}

void RunMSPaintOnlyActionExecute(const win::Bitmap& picture)
{
    const std::wstring paint = PaintProgramPath();
    if (paint.empty()) throw win::Error(L"Microsoft Paint was not found");
    const std::wstring file = WriteTempImageFile(picture);
    StartImageProgram(paint, file);
}
