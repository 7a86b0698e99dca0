#pragma once

// The pass over the result space that the win plan and the live chances
// share; for the analysis library's own files.

#include "core/error.h"
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

struct Axis {
    std::array<std::uint8_t, 4> indexOfCode{};  // tip code -> position on the axis
    int crossed = 0;                            // positions 0 .. crossed - 1 are results
    int size = 0;                               // plus one for wrong tips where a row has one
    std::size_t stride = 0;
};

// Calls visit(position, counts) for every result the crosses allow: per
// match the index of its crossed outcome, and the rows by wrong tips (0 .. 3).
// False, with no call, when a match has no cross; false too once `stop` is
// seen set, and then not every result has been visited.
template <typename Visit>
bool forEachResult(const TipTable& rows, const OutcomeCrosses& crosses, Visit&& visit,
                   const std::atomic<bool>* stop = nullptr) {
    const auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
    std::array<Axis, kMatches> axes{};
    for (int m = 0; m < kMatches; ++m) {
        Axis& axis = axes[static_cast<size_t>(m)];
        axis.indexOfCode.fill(0xFF);
        for (int c = 1; c <= 3; ++c)
            if (crosses[static_cast<size_t>(outcomeIndex(m + 1, c))])
                axis.indexOfCode[static_cast<size_t>(c)] = static_cast<std::uint8_t>(axis.crossed++);
        if (axis.crossed == 0) return false;
        axis.size = axis.crossed;
    }
    // Any other tip gets one more place on its axis, only where a row has one.
    for (const TipTable::Row& row : rows.rows()) {
        if (row.tips[0] == kTipEmpty) continue;
        for (int m = 0; m < kMatches; ++m) {
            Axis& axis = axes[static_cast<size_t>(m)];
            const std::uint8_t code = row.tips[static_cast<size_t>(m)];
            if ((code > 3 || axis.indexOfCode[code] == 0xFF) && axis.size == axis.crossed) axis.size = axis.crossed + 1;
        }
    }
    std::size_t cells = 1;
    for (int m = kMatches; m-- > 0;) {
        axes[static_cast<size_t>(m)].stride = cells;
        cells *= static_cast<size_t>(axes[static_cast<size_t>(m)].size);
    }

    // Only tips outside the crosses on ten or more three-way matches come near this.
    if (cells > kMostCells)
        throw KorbistoError(
            refusal(QStringLiteral("Zu viele Tipps außerhalb der Kreuze auf Dreiwegen: Der Gewinnplan "
                                   "bräuchte mehr als 512 MB.")));

    if (stopped()) return false;
    // The rows as counts at their place, none wrong yet.
    LargeArray<Wrong> space(cells, Wrong{});
    for (const TipTable::Row& row : rows.rows()) {
        if (row.tips[0] == kTipEmpty) continue;
        std::size_t at = 0;
        for (int m = 0; m < kMatches; ++m) {
            const Axis& axis = axes[static_cast<size_t>(m)];
            const std::uint8_t code = row.tips[static_cast<size_t>(m)];
            const std::uint8_t index = code <= 3 ? axis.indexOfCode[code] : 0xFF;
            at += (index == 0xFF ? static_cast<size_t>(axis.crossed) : index) * axis.stride;
        }
        ++space[at][0];
    }

    // Match by match, each result takes from every other place on the axis
    // the rows that tip otherwise, one more wrong: (1 - z) P + z T with T the
    // line's total, cut after z^3.
    for (const Axis& axis : axes) {
        if (stopped()) return false;
        const std::size_t block = axis.stride * static_cast<size_t>(axis.size);
        for (std::size_t start = 0; start < cells; start += block) {
            for (std::size_t i = 0; i < axis.stride; ++i) {
                Wrong total{};
                for (int v = 0; v < axis.size; ++v) {
                    const Wrong& p = space[start + i + static_cast<size_t>(v) * axis.stride];
                    for (int k = 0; k < kRanks; ++k) total[static_cast<size_t>(k)] += p[static_cast<size_t>(k)];
                }
                for (int v = 0; v < axis.crossed; ++v) {
                    Wrong& p = space[start + i + static_cast<size_t>(v) * axis.stride];
                    for (int k = kRanks - 1; k >= 1; --k)
                        p[static_cast<size_t>(k)] += total[static_cast<size_t>(k - 1)] - p[static_cast<size_t>(k - 1)];
                }
            }
        }
    }

    // The results are the places off every wrong-tip slot.
    std::array<int, kMatches> position{};
    for (std::size_t visited = 1;; ++visited) {
        if (visited % 65536 == 0 && stopped()) return false;
        std::size_t at = 0;
        for (int m = 0; m < kMatches; ++m)
            at += static_cast<size_t>(position[static_cast<size_t>(m)]) * axes[static_cast<size_t>(m)].stride;
        visit(position, space[at]);
        int m = kMatches - 1;
        while (m >= 0 && ++position[static_cast<size_t>(m)] == axes[static_cast<size_t>(m)].crossed)
            position[static_cast<size_t>(m--)] = 0;
        if (m < 0) break;
    }
    return true;
}

}  // namespace korbisto::analysis
