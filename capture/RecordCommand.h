// The recording command's capture half: the area chosen on the frozen
// desktop, then the live screen recorded into a temporary GIF file while the
// bar and the frame show.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "capture/RecordingSink.h"
#include "capture/ScreenRecorder.h"
#include "capture/SelectionOverlay.h"

// What the recording needs from the program around it.
class RecordHost {
public:
    // A recording starts (stopRequest is what stops it from outside: the
    // tray, the key, Exit) or has ended (stopRequest empty).
    virtual void RecordingChanged(std::function<void()> stopRequest) = 0;
    // The file the recording is written to, at path.
    virtual std::unique_ptr<RecordingSink> OpenSink(const std::wstring& path)
    {
        return std::make_unique<RecordingSink>(path);
    }

protected:
    ~RecordHost() = default;
};

// The area to record in screen pixels, chosen on the frozen desktop: the
// primary screen for the entire-screen shape, a window's frame for the
// window shape, else a dragged rectangle (round shapes are dragged as their
// box). None when the user only clicked or cancelled. Clipped to the desktop.
std::optional<RECT> ChooseRecordingArea(TImageForm& overlay, int shapeIndex);

// A finished recording in the user's temporary folder; the file is deleted
// with the object unless Keep() was called (after it was saved elsewhere).
class RecordingFile {
public:
    explicit RecordingFile(std::wstring path) : path_(std::move(path)) {}
    RecordingFile(RecordingFile&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
    RecordingFile& operator=(RecordingFile&&) = delete;
    ~RecordingFile();

    const std::wstring& Path() const noexcept { return path_; }

private:
    std::wstring path_;
};

// Records area until Stop, the longest time, a failed write or a display
// change; shows the bar and the frame meanwhile, and a progress bar while
// the encoder catches up after Stop. None when the user cancelled. A failed
// write (a full disk) throws win::Error in the system's words and leaves no
// file behind; so does a recording that holds no frame. After a display
// change what was recorded until then is kept, at the area's size.
std::optional<RecordingFile> RecordScreen(const RecordingOptions& options, RecordHost& host);
