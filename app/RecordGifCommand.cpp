#include "app/RecordGifCommand.h"

#include "capture/RecordCommand.h"
#include "output/SaveRecording.h"

namespace {

// The main form as the recording sees it: the tray and the other commands.
class FormRecordHost final : public RecordHost {
public:
    explicit FormRecordHost(TForm1& form) : form_(form) {}
    void RecordingChanged(std::function<void()> stopRequest) override
    {
        form_.RecordingChanged(std::move(stopRequest));
    }

private:
    TForm1& form_;
};

// Keeps the capture and a second recording from starting, and lets an Exit
// asked for meanwhile go on at the end, however the command ends.
class RecordRun {
public:
    explicit RecordRun(TForm1& form) : form_(form) { form_.SetSaveScreenSelectEnabled(false); }
    ~RecordRun()
    {
        form_.SetSaveScreenSelectEnabled(true);
        form_.RecordingDone();
    }
    RecordRun(const RecordRun&) = delete;
    RecordRun& operator=(const RecordRun&) = delete;

private:
    TForm1& form_;
};

}  // namespace

void RecordGifExecute(TForm1& form, TImageForm& overlay, TFileExistsForm& existsDialog)
{
    if (form.StopRecording) {
        form.StopRecording();
        return;
    }
    RecordRun running(form);
    const TAppSettings& settings = form.AppSettings;
    const auto area = ChooseRecordingArea(overlay, settings.CaptureShapeIndex);
    if (!area) return;
    RecordingOptions options;
    options.area = *area;
    options.framesPerSecond = settings.RecordFramesPerSecond;
    options.longestSeconds = settings.RecordLongestSeconds;
    options.showPointer = settings.RecordShowPointer;
    FormRecordHost host(form);
    const auto recording = RecordScreen(options, host);
    if (!recording) return;
    SaveRecordingDialog(recording->Path(), form.RecordDialog, form.AppSettings.SaveDir, existsDialog);
}
