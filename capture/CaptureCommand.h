// The capture command: freeze the desktop, ask for the shape, let the user
// select on the frozen copy, compose, preview, and start over on Retry.
#pragma once

#include <windows.h>

#include "capture/LastRegion.h"
#include "capture/SelectionOverlay.h"
#include "capture/ShapeDialog.h"
#include "win/Bitmap.h"

// What the capture command needs from the program around it.
class CaptureHost {
public:
    // "CAPTURE SCREEN" is unavailable while a capture runs.
    virtual void SetCaptureEnabled(bool enabled) = 0;
    // A fresh composition, to become the captured picture, and the selection
    // it was cut with, to be kept beside it.
    virtual void PictureComposed(win::Bitmap& composed, const TSelection& selection) = 0;
    // The place a capture was cut from, for "Capture Last Region".
    virtual void RegionCaptured(const LastRegion& region) = 0;
    // Shows the captured picture (or does what the user chose to do after a
    // capture); true when the user asks for a retry.
    virtual bool ShowPreview() = 0;
    // The user's "Show the mouse pointer in captures", read at each grab.
    virtual bool PointerShown() = 0;
    // The delay before the grab: the whole seconds left, 0 when it is over
    // (however it ended).
    virtual void ShowCountdown(int secondsLeft) = 0;
    // True once the user asked to stop the countdown (a press on the icon).
    virtual bool CountdownCancelled() = 0;

protected:
    ~CaptureHost() = default;
};

// The whole command. backgroundColor is the user's setting, read at each
// composition (the preview may change it before a retry).
void SaveScreenSelectClick(CaptureHost& host, TSelectForm& shapeDialog, TImageForm& overlay,
                           const int& backgroundColor);

// "Capture Last Region": grabs the desktop and cuts region from it again,
// with no shape dialog and no overlay, then goes on as the capture command
// does (a retry shows the overlay). Throws win::Error when the region lies
// off every screen.
void CaptureLastRegionClick(CaptureHost& host, TSelectForm& shapeDialog, TImageForm& overlay,
                            const int& backgroundColor, const LastRegion& region);

// One pass after the grab: the selection (unless the shape is the entire
// screen), the composition and the preview. True when the user asks for a retry.
bool SaveScreen(CaptureHost& host, const TSelectForm& shapeDialog, TImageForm& overlay,
                const int& backgroundColor);

// Freezes the whole virtual desktop (every monitor) into the overlay, after a
// pause that lets menus and dialogs leave the screen, lists the windows on it
// and places the overlay over it; withPointer draws the mouse pointer into
// the grab where it is. A failed read throws and leaves the overlay as it was.
void GrabDesktop(TImageForm& overlay, bool withPointer = false);

// Copies the virtual desktop of layout from display (a screen DC whose origin
// is the primary monitor's top-left) into a new picture that replaces into.
// Throws win::Error when display is NULL or the read fails.
void CopyDesktop(HDC display, const DesktopLayout& layout, win::Bitmap& into);
