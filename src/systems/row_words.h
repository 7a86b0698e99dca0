#pragma once

#include "core/outcomes.h"

#include <array>
#include <cstdint>
#include <optional>

namespace korbisto {

// A tip row of 1/0/2 as one number below 3^13: per match the digit 0, 1, 2
// for "1", "0", "2" (its tip code minus 1), match 1 the most significant.
// Rows in full-system order are in ascending order of their words.
using RowWord = std::uint32_t;
using RowTips = std::array<std::uint8_t, kMatches>;

inline constexpr RowWord kRowWords = 1594323;  // 3^13

// The weight of match m's digit (1..13): 3^(13 - m).
inline constexpr RowWord matchStride(int match) {
    RowWord s = 1;
    for (int m = match; m < kMatches; ++m) s *= 3;
    return s;
}

// The word is split into matches 1..6 and 7..13 so that tables of 729 and
// 2187 entries describe every row.
inline constexpr int kHighMatches = 6;
inline constexpr RowWord kLowWords = 2187;  // 3^7
inline constexpr RowWord kHighWords = 729;  // 3^6

// None when a tip is no 1, 0 or 2.
std::optional<RowWord> wordOfTips(const RowTips& tips);
RowTips tipsOfWord(RowWord word);

}  // namespace korbisto
