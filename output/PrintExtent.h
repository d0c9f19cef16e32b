// How large a picture comes out on paper: every picture pixel becomes a fixed
// number of printer pixels, whatever the printer's resolution. No window code.
#pragma once

// 75/17 printer pixels per picture pixel, as the single-precision value users'
// printouts have always been made with (136 picture pixels per inch at 600 dpi).
inline constexpr float kPrintScale = 4.4117646f;

// The printed extent of a picture extent: pixels x kPrintScale, the product
// formed in extended precision and rounded to the nearest integer, ties to
// even (1024 -> 4518, 768 -> 3388). The result is not limited to 16 bits; a
// negative or zero extent gives 0.
int PrintExtent(int pixels) noexcept;
