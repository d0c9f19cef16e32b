// A tool that works on the preview's picture (the crop; the markup tools):
// it turns the picture's mouse messages and the window's keys into an edit
// of the document and draws its own feedback over the picture. While one is
// in use the preview hands it all three; the tool never reaches into windows
// or settings it was not given.
//
// When you add a tool: a class of its own in preview/ that implements this,
// a command that starts it (TPreviewForm::UseTool) and a way for it to make
// its edit (a function set by the owner, as CropTool::Apply).
#pragma once

#include <windows.h>

class PictureTool {
public:
    virtual ~PictureTool() = default;

    virtual bool Active() const noexcept = 0;
    // Ends without an edit.
    virtual void Cancel() = 0;
    // A mouse message on the picture (see win::ScrollPicture::OnMouse).
    virtual bool Mouse(UINT message, POINT at) = 0;
    // A key pressed in the window; true when the tool used it.
    virtual bool Key(WPARAM key) = 0;
    // Draws over the picture, in its pixels.
    virtual void Draw(HDC dc) const = 0;
};
