// The mouse pointer drawn into a picture of the screen: where it was, at its
// hotspot, with its own shape (colour, monochrome or the current frame of an
// animated one) and at its size for the monitor it is on.
#pragma once

#include <windows.h>

// Where the pointer's image goes in a picture whose pixel (0, 0) is the
// screen point origin. pointer is the hotspot's screen position; hotspot and
// imageSize are the image's own, as loaded for the session (systemDpi). On a
// monitor of another DPI the image is drawn scaled by monitorDpi / systemDpi,
// the hotspot with it, so the tip stays on the point it marks.
RECT PointerPlacement(POINT pointer, POINT origin, POINT hotspot, SIZE imageSize, UINT monitorDpi,
                      UINT systemDpi) noexcept;

// Draws the pointer as it shows now into dc, whose pixel (0, 0) is the screen
// point origin. False when no pointer shows (hidden or suppressed) or it
// cannot be read; the picture is then left as it was. Safe on any thread.
bool DrawMousePointer(HDC dc, POINT origin);
