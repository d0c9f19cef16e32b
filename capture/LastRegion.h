// The area of the last capture, kept in screen coordinates so that "Capture
// Last Region" takes the same place and shape again after the monitors moved.
#pragma once

#include <optional>

#include "capture/DesktopGeometry.h"
#include "capture/Selection.h"

struct LastRegion {
    // The selection with its drag points in screen coordinates.
    TSelection selection;
    // Where the picture's top-left pixel was on the screen.
    POINT topLeft{0, 0};
};

// The region of a selection made on a grab of layout.
LastRegion RegionOfSelection(const TSelection& selection, const DesktopLayout& layout);

// The selection that takes region again on a grab of layout: its drag points
// in grab coordinates, clipped to the desktop. None when the region lies off
// every screen. The entire screen stays the entire screen.
std::optional<TSelection> SelectionForRegion(const LastRegion& region, const DesktopLayout& layout);
