#include "output/PrintExtent.h"

#include <cmath>

int PrintExtent(int pixels) noexcept
{
    if (pixels <= 0) return 0;
    const long double product = static_cast<long double>(pixels) * static_cast<long double>(kPrintScale);
    // Rounded by hand rather than by the FPU's current mode: printer drivers
    // are known to leave the control word changed.
    long double whole = std::floor(product);
    const long double fraction = product - whole;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0.0L)) whole += 1.0L;
    return static_cast<int>(whole);
}
