#pragma once

// The pass over the result space that the win plan and the live chances
// share; for the analysis library's own files.

#include "core/large_array.h"
#include "core/outcomes.h"
#include "core/tip_table.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace korbisto::analysis {

// Per cell of the result space the rows by how many of their tips are wrong
// so far: 0 to 3, more are no rank and are not counted.
using Wrong = std::array<std::uint32_t, kRanks>;

inline constexpr std::size_t kMostCells = (std::size_t{512} << 20) / sizeof(Wrong);

using Position = std::array<int, kMatches>;

// The rows over every result the crosses allow, by how many of their tips
// are wrong. Rows come a block at a time; then spread() turns the counts of
// the rows at their places into the counts of every result.
//
// A match with one cross has one result: a row's tip there is right or wrong
// for all of them, so it only adds to the row's wrong tips. A match with more
// crosses is an axis of the space, one place per crossed outcome, and one
// more once some row tips outside them: such a tip is wrong for every result.
class ResultSpace {
public:
    // Not complete() when a match has no cross; rows are then passed over.
    explicit ResultSpace(const OutcomeCrosses& crosses);

    bool complete() const { return complete_; }
    // The tip rows of `rows` (those whose first match has a tip). Throws
    // KorbistoError when the space would need more than 512 MB.
    void add(const TipTable& rows);

    // Once, after the last row; false when `stop` was seen set.
    bool spread(const std::atomic<bool>* stop = nullptr);

    std::int64_t results() const { return results_; }

    // After spread(): visit(position, counts) for every result in order, the
    // last match turning fastest; `position` holds per match the index of
    // its crossed outcome. False once `stop` is seen set.
    template <typename Visit>
    bool forEachResult(Visit&& visit, const std::atomic<bool>* stop = nullptr) const;

private:
    struct Axis {
        int match = 0;
        int crossed = 0;        // places 0 .. crossed - 1 are results
        int size = 0;           // crossed, plus one for wrong tips once a row has one
        std::size_t stride = 0;
    };
    // Per match and tip code what a tip adds to a row's key: its place on
    // the axis times the stride, shifted past four bits that count the tips
    // wrong on matches with one cross; kNoPlace where the axis has no place
    // for the tip yet.
    static constexpr std::uint64_t kNoPlace = std::uint64_t{1} << 60;
    static constexpr int kWrongBits = 4;
    using Steps = std::array<std::array<std::uint64_t, 8>, kMatches>;

    void layOut();
    // Gives the axes the places for wrong tips that the rows need.
    void makeRoomFor(const TipTable& rows);

    bool complete_ = true;
    std::array<std::array<std::uint8_t, 8>, kMatches> placeOfCode_{};  // 0xFF: not crossed
    std::array<std::uint8_t, kMatches> single_{};                    // the one crossed code, else 0
    std::array<Axis, kMatches> axes_{};
    int axisCount_ = 0;
    Steps steps_{};
    std::size_t cells_ = 1;
    std::int64_t results_ = 1;
    LargeArray<Wrong> space_;
};

template <typename Visit>
bool ResultSpace::forEachResult(Visit&& visit, const std::atomic<bool>* stop) const {
    const auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
    Position position{};
    if (axisCount_ == 0) {
        visit(position, space_[0]);
        return true;
    }
    // The last axis runs along its results in one go; the others turn like
    // an odometer, the index following them without being worked out anew.
    const Axis& inner = axes_[static_cast<size_t>(axisCount_ - 1)];
    int& innerPlace = position[static_cast<size_t>(inner.match)];
    std::size_t at = 0;
    for (std::size_t runs = 1;; ++runs) {
        if (runs % 4096 == 0 && stopped()) return false;
        for (innerPlace = 0; innerPlace < inner.crossed; ++innerPlace) visit(position, space_[at + static_cast<size_t>(innerPlace)]);
        innerPlace = 0;
        int a = axisCount_ - 2;
        for (; a >= 0; --a) {
            const Axis& axis = axes_[static_cast<size_t>(a)];
            int& place = position[static_cast<size_t>(axis.match)];
            if (++place < axis.crossed) {
                at += axis.stride;
                break;
            }
            at -= static_cast<size_t>(place - 1) * axis.stride;
            place = 0;
        }
        if (a < 0) return true;
    }
}

}  // namespace korbisto::analysis
