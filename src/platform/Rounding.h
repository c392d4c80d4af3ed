#pragma once

#include <cfenv>
#include <cmath>

namespace pellix {

// To the nearest integer, halves to the even neighbour (108.5 gives 108, 109.5
// gives 110), whatever rounding mode someone else left behind.
inline double roundHalfEven(double value) {
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(mode);
    return rounded;
}

} // namespace pellix
