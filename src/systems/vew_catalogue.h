#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korbisto {

// One reduced system: the rank it guarantees when every result lies within the
// crosses, its structure and its number of rows.
struct VewEintrag {
    std::uint8_t Rang;
    std::uint8_t ZW;
    std::uint8_t DW;
    std::uint16_t Reihen;
};

inline constexpr int kVewSysteme = 15;

// The catalogue, system 1 at index 0.
extern const std::array<VewEintrag, kVewSysteme> VEWKatalog;

// The entry of system `number` (1..15).
const VewEintrag& vewEintrag(int number);

// The first system with this structure; `number` is left alone when none fits.
bool VewSuchen(int zw, int dw, int& number);

// The rows of a loaded system. Positions 0 .. ZW-1 hold 4 or 5 (first or
// second crossed outcome of a two-way match), positions ZW .. ZW+DW-1 hold the
// column 1, 2 or 3 of a three-way match.
class VewReihen {
public:
    VewReihen() = default;
    VewReihen(int rows, int zw, int width)
        : rows_(rows), zw_(zw), width_(width), cells_(static_cast<std::size_t>(rows * width)) {}

    int rows() const { return rows_; }
    int zw() const { return zw_; }  // two-way positions, the first of each row
    int width() const { return width_; }
    // Row r and position c, both counted from 0.
    std::int32_t at(int r, int c) const { return cells_[static_cast<std::size_t>(r * width_ + c)]; }
    std::int32_t& at(int r, int c) { return cells_[static_cast<std::size_t>(r * width_ + c)]; }

private:
    int rows_ = 0;
    int zw_ = 0;
    int width_ = 0;
    std::vector<std::int32_t> cells_;
};

// The rows of system `number` (1..15); an empty set for any other number.
VewReihen VewLaden(int number);

}  // namespace korbisto
