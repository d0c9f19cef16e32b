// The date stamp drawn on a picture: its text, its size and the drawing.
#pragma once

#include <windows.h>

#include <string>

#include "win/Bitmap.h"

// Pictures below this in both width and height are never stamped.
constexpr int kStampMinimumSide = 100;

// Point size of the stamp for a picture: a = (width + height) div 2 gives 12
// above 800, 10 above 600, 8 otherwise.
int DateStampFontSize(int width, int height) noexcept;

// "<month name> <day>, <year>" in the user's locale.
std::wstring LongDateText(const SYSTEMTIME& date);
// The same with one blank either side, as the stamp shows it.
std::wstring DateStampText(const SYSTEMTIME& date);
// The same for today.
std::wstring TodayStampText();

// Draws text with its top-left corner at (x, y) in Arial of the given point
// size: an opaque white cell with the glyphs in the window-text colour.
// Returns that cell.
RECT DrawDateText(int x, int y, int pointSize, win::Bitmap& bitmap, const std::wstring& text);
// The same with today's date.
RECT DrawDateText(int x, int y, int pointSize, win::Bitmap& bitmap);

enum class StampOutcome { TooSmall, Stamped, Unstamped };

// The drawing part of an overlay pass: stamps today's date (or text, when
// given) at (5, 5) when wanted and the picture reaches 100 pixels in width or
// height. cell, when given, receives the stamp's opaque cell (empty when
// nothing was drawn).
StampOutcome ApplyDateStamp(win::Bitmap& bitmap, bool wanted, RECT* cell = nullptr,
                            const std::wstring* text = nullptr);
