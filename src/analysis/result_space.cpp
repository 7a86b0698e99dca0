#include "result_space.h"

#include "core/error.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korbisto::analysis {

namespace {

KorbistoError tooLarge() {
    // Only tips outside the crosses on ten or more three-way matches come near this.
    return KorbistoError(refusal(QStringLiteral("Zu viele Tipps außerhalb der Kreuze auf Dreiwegen: Der Gewinnplan "
                                                "bräuchte mehr als 512 MB.")));
}

// One result of the line gets the rows of every other place of it, one tip
// more wrong: p[k] += total[k - 1] - p[k - 1], the ranks kept up to IV.
inline void takeFromLine(Wrong& p, const Wrong& total) {
#if defined(__SSE2__)
    const __m128i cell = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p.data()));
    const __m128i sum = _mm_loadu_si128(reinterpret_cast<const __m128i*>(total.data()));
    const __m128i others = _mm_slli_si128(_mm_sub_epi32(sum, cell), 4);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p.data()), _mm_add_epi32(cell, others));
#else
    for (int k = kRanks - 1; k >= 1; --k)
        p[static_cast<size_t>(k)] += total[static_cast<size_t>(k - 1)] - p[static_cast<size_t>(k - 1)];
#endif
}

inline void addTo(Wrong& total, const Wrong& p) {
#if defined(__SSE2__)
    const __m128i sum = _mm_loadu_si128(reinterpret_cast<const __m128i*>(total.data()));
    const __m128i cell = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p.data()));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(total.data()), _mm_add_epi32(sum, cell));
#else
    for (int k = 0; k < kRanks; ++k) total[static_cast<size_t>(k)] += p[static_cast<size_t>(k)];
#endif
}

}  // namespace

ResultSpace::ResultSpace(const OutcomeCrosses& crosses) {
    for (int m = 0; m < kMatches; ++m) {
        auto& place = placeOfCode_[static_cast<size_t>(m)];
        place.fill(0xFF);
        int crossed = 0;
        for (int c = 1; c <= 3; ++c)
            if (crosses[static_cast<size_t>(outcomeIndex(m + 1, c))]) {
                place[static_cast<size_t>(c)] = static_cast<std::uint8_t>(crossed++);
                single_[static_cast<size_t>(m)] = static_cast<std::uint8_t>(c);
            }
        if (crossed == 0) complete_ = false;
        if (crossed == 1) continue;
        single_[static_cast<size_t>(m)] = 0;
        Axis& axis = axes_[static_cast<size_t>(axisCount_++)];
        axis.match = m;
        axis.crossed = crossed;
        axis.size = crossed;
        results_ *= crossed;
    }
    if (!complete_) return;
    layOut();
    space_.assign(cells_, Wrong{});
}

void ResultSpace::layOut() {
    cells_ = 1;
    for (int a = axisCount_; a-- > 0;) {
        axes_[static_cast<size_t>(a)].stride = cells_;
        cells_ *= static_cast<size_t>(axes_[static_cast<size_t>(a)].size);
    }
    if (cells_ > kMostCells) throw tooLarge();
    for (int m = 0; m < kMatches; ++m) {
        auto& steps = steps_[static_cast<size_t>(m)];
        const std::uint8_t single = single_[static_cast<size_t>(m)];
        for (int code = 0; code < 8; ++code) steps[static_cast<size_t>(code)] = code == single ? 0 : 1;
    }
    for (int a = 0; a < axisCount_; ++a) {
        const Axis& axis = axes_[static_cast<size_t>(a)];
        const auto& place = placeOfCode_[static_cast<size_t>(axis.match)];
        auto& steps = steps_[static_cast<size_t>(axis.match)];
        for (int code = 0; code < 8; ++code) {
            const int at = place[static_cast<size_t>(code)] != 0xFF ? place[static_cast<size_t>(code)]
                           : axis.size > axis.crossed              ? axis.crossed
                                                                    : -1;
            steps[static_cast<size_t>(code)] = at < 0 ? kNoPlace : (static_cast<std::uint64_t>(at) * axis.stride) << kWrongBits;
        }
    }
}

void ResultSpace::makeRoomFor(const TipTable& rows) {
    // Every axis that a row of the block has no place for grows at once, so
    // that a slip far outside the crosses is refused before it is counted.
    const std::array<Axis, kMatches> before = axes_;
    const std::size_t cellsBefore = cells_;
    for (const TipTable::Row& row : rows.rows()) {
        if (row.tips[0] == kTipEmpty) continue;
        for (int a = 0; a < axisCount_; ++a) {
            Axis& axis = axes_[static_cast<size_t>(a)];
            if (axis.size == axis.crossed && placeOfCode_[static_cast<size_t>(axis.match)][row.tips[static_cast<size_t>(axis.match)] & 7u] == 0xFF)
                axis.size = axis.crossed + 1;
        }
    }
    layOut();

    // The counts so far at their places in the new layout: the same place on
    // every axis, the new places for wrong tips empty. The old cells are
    // walked in order, the new index following them like an odometer.
    LargeArray<Wrong> grown(cells_, Wrong{});
    Position place{};
    std::size_t to = 0;
    for (std::size_t from = 0; from < cellsBefore; ++from) {
        grown[to] = space_[from];
        for (int a = axisCount_ - 1; a >= 0; --a) {
            if (++place[static_cast<size_t>(a)] < before[static_cast<size_t>(a)].size) {
                to += axes_[static_cast<size_t>(a)].stride;
                break;
            }
            to -= static_cast<size_t>(place[static_cast<size_t>(a)] - 1) * axes_[static_cast<size_t>(a)].stride;
            place[static_cast<size_t>(a)] = 0;
        }
    }
    space_.swap(grown);
}

void ResultSpace::add(const TipTable& rows) {
    if (!complete_) return;
    const auto keyOf = [this](const TipTable::Row& row) {
        std::uint64_t key = 0;
        for (int m = 0; m < kMatches; ++m) key += steps_[static_cast<size_t>(m)][row.tips[static_cast<size_t>(m)] & 7u];
        return key;
    };
    for (const TipTable::Row& row : rows.rows()) {
        if (row.tips[0] == kTipEmpty) continue;
        std::uint64_t key = keyOf(row);
        if (key >= kNoPlace) {
            makeRoomFor(rows);
            key = keyOf(row);
        }
        const auto wrong = static_cast<unsigned>(key & ((1u << kWrongBits) - 1));
        if (wrong < kRanks) ++space_[static_cast<size_t>(key >> kWrongBits)][wrong];
    }
}

bool ResultSpace::spread(const std::atomic<bool>* stop) {
    // Axis by axis, each result takes from every other place on its line the
    // rows that tip otherwise, one more wrong: (1 - z) P + z T with T the
    // line's total, cut after z^3.
    const auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
    if (!complete_ || stopped()) return false;
    for (int a = 0; a < axisCount_; ++a) {
        if (a > 0 && stopped()) return false;
        const Axis& axis = axes_[static_cast<size_t>(a)];
        const std::size_t stride = axis.stride;
        const std::size_t block = stride * static_cast<size_t>(axis.size);
        for (std::size_t start = 0; start < cells_; start += block) {
            Wrong* const line = space_.data() + start;
            for (std::size_t i = 0; i < stride; ++i) {
                Wrong total = line[i];
                for (int v = 1; v < axis.size; ++v) addTo(total, line[i + static_cast<size_t>(v) * stride]);
                for (int v = 0; v < axis.crossed; ++v) takeFromLine(line[i + static_cast<size_t>(v) * stride], total);
            }
        }
    }
    return true;
}

}  // namespace korbisto::analysis
