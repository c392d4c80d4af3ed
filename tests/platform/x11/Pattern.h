#pragma once

#include <cstdint>

namespace pellix::testing {

// A pattern in which every pixel of a 256 x 256 block differs from its
// neighbours in some channel, so that an off-by-one crop shows.
inline std::uint32_t patternRgb(int x, int y) {
    const auto red = static_cast<std::uint32_t>(x * 3) & 0xffU;
    const auto green = static_cast<std::uint32_t>(y * 5) & 0xffU;
    const auto blue = static_cast<std::uint32_t>((x + y) * 7 + 0x40) & 0xffU;
    return (red << 16) | (green << 8) | blue;
}

} // namespace pellix::testing
