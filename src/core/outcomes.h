#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace korbisto {

inline constexpr int kMatches = 13;
inline constexpr int kRanks = 4;

// Outcome column 1..3 -> tip digit ("1", "0", "2" is the order on every slip).
inline constexpr std::array<int, 4> TippZiffer = {0, 1, 0, 2};
// Tip digit 0..2 -> outcome column.
inline constexpr std::array<int, 3> TippSpalte = {2, 1, 3};
// Outcome column 1..3 -> tip text.
inline constexpr std::array<const char*, 4> TippText = {"", "1", "0", "2"};
// Rank 1..4 -> numeral.
inline constexpr std::array<const char*, 5> RangNamen = {"", "I", "II", "III", "IV"};

// Which outcomes of each match are crossed: entry 3 × (match − 1) + (column − 1)
// for the outcome columns 1..3. The cross sheet and its file share this form.
inline constexpr int kOutcomeCrosses = 3 * kMatches;
using OutcomeCrosses = std::array<bool, kOutcomeCrosses>;
inline constexpr int outcomeIndex(int match, int column) { return 3 * (match - 1) + (column - 1); }

// The favourite level of each outcome in the generator's pattern, in the same
// order: 0 "out", 1 .. 3 "Fav I " .. "Fav III", the outcome's weight.
inline constexpr int kMaxLevel = 3;
using PatternLevels = std::array<std::int32_t, kOutcomeCrosses>;

// Separators the text import recognises, in order of preference.
inline constexpr std::array<char16_t, 4> Trennzeichen = {u' ', u';', u'\t', u','};

// Rank of a hit count: 13 -> 1 (I) .. 10 -> 4 (IV); 0 for fewer than 10 hits.
constexpr int rankOfHits(int hits) { return hits >= 10 && hits <= 13 ? 14 - hits : 0; }

}  // namespace korbisto
