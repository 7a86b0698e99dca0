#pragma once

#include "core/outcomes.h"

#include <array>
#include <cstdint>

namespace korbisto {

// The crosses of one match as the developments read them.
struct SpielTipp {
    // Tipp[1 .. Anzahl]: the crossed outcome columns in ascending order.
    std::array<std::uint8_t, 4> Tipp{};
    std::int32_t Anzahl = 0;
};

// The sheet captured for the developments. Both tables are indexed by match
// 1..13 through at(); SpielSlots[0] is the banker's column, [1..3] the three
// columns of a three-way match, [4], [5] the two columns of a two-way match.
struct SystemStructure {
    std::array<SpielTipp, kMatches> SpielTipps{};
    std::array<std::array<std::uint8_t, 6>, kMatches> SpielSlots{};
    int AnzZW = 0;
    int AnzDW = 0;

    const SpielTipp& tipps(int match) const { return SpielTipps[static_cast<size_t>(match - 1)]; }
    SpielTipp& tipps(int match) { return SpielTipps[static_cast<size_t>(match - 1)]; }
    const std::array<std::uint8_t, 6>& slotsOf(int match) const { return SpielSlots[static_cast<size_t>(match - 1)]; }
    std::array<std::uint8_t, 6>& slotsOf(int match) { return SpielSlots[static_cast<size_t>(match - 1)]; }
};

}  // namespace korbisto
