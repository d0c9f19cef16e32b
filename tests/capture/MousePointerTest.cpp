#include <gtest/gtest.h>

#include "capture/LastRegion.h"
#include "capture/MousePointer.h"

TEST(MousePointer, PlacesTheHotspotOnThePointer)
{
    const struct {
        POINT pointer, origin, hotspot;
        SIZE image;
        UINT monitorDpi, systemDpi;
        RECT expected;
    } rows[] = {
        // An arrow at its tip, a 32-pixel pointer at 96 DPI.
        {{100, 50}, {0, 0}, {0, 0}, {32, 32}, 96, 96, {100, 50, 132, 82}},
        // A cross at its middle, in a picture that starts left of and above the primary.
        {{100, 50}, {-1920, -200}, {15, 15}, {32, 32}, 96, 96, {2005, 235, 2037, 267}},
        // On a 150% monitor of a 100% session: the image and its hotspot grow together.
        {{300, 300}, {0, 0}, {10, 20}, {32, 32}, 144, 96, {285, 270, 333, 318}},
        // On a 100% monitor of a 200% session (a 64-pixel pointer): it shrinks.
        {{300, 300}, {100, 100}, {32, 32}, {64, 64}, 96, 192, {184, 184, 216, 216}},
    };
    for (const auto& r : rows) {
        const RECT got = PointerPlacement(r.pointer, r.origin, r.hotspot, r.image, r.monitorDpi, r.systemDpi);
        EXPECT_TRUE(::EqualRect(&got, &r.expected))
            << got.left << "," << got.top << "," << got.right << "," << got.bottom;
    }
}

TEST(LastRegion, TakesTheSameScreenPlaceClippedToTheDesktop)
{
    DesktopLayout before;  // a monitor left of the primary
    before.bounds = {-1000, 0, 1920, 1080};
    before.primary = {1000, 0, 2920, 1080};
    TSelection selection;
    selection.SelStart = {1100, 100};
    selection.SelEnd = {1300, 250};
    selection.SelectionMade = true;
    const LastRegion region = RegionOfSelection(selection, before);
    EXPECT_EQ(region.topLeft.x, 100);
    EXPECT_EQ(region.topLeft.y, 100);

    DesktopLayout primaryOnly;  // the left monitor gone
    primaryOnly.bounds = {0, 0, 1920, 1080};
    primaryOnly.primary = {0, 0, 1920, 1080};
    const auto again = SelectionForRegion(region, primaryOnly);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->SelStart.x, 100);
    EXPECT_EQ(again->SelEnd.y, 250);

    TSelection offLeft = selection;  // on the left monitor only, then clipped and then gone
    offLeft.SelStart = {10, 10};
    offLeft.SelEnd = {1200, 20};
    const auto clipped = SelectionForRegion(RegionOfSelection(offLeft, before), primaryOnly);
    ASSERT_TRUE(clipped);
    EXPECT_EQ(clipped->SelStart.x, 0);
    EXPECT_EQ(clipped->SelEnd.x, 200);
    offLeft.SelEnd = {900, 20};
    EXPECT_FALSE(SelectionForRegion(RegionOfSelection(offLeft, before), primaryOnly));
}
