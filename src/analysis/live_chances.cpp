#include "live_chances.h"

#include "result_space.h"

#include "core/german.h"

namespace korbisto {

namespace {

using analysis::Wrong;
using analysis::forEachResult;

// The chance of each outcome of a match still open, by tip code 1 .. 3.
using Chances = std::array<double, 4>;

Chances chancesOf(const OutcomeWeights& weights) {
    double sum = 0;
    for (const double w : weights) sum += w > 0 ? w : 0;
    Chances chances{};
    for (int c = 1; c <= 3; ++c) {
        const double w = weights[static_cast<size_t>(c - 1)];
        chances[static_cast<size_t>(c)] = sum > 0 ? (w > 0 ? w / sum : 0) : 1.0 / 3;
    }
    return chances;
}

}  // namespace

std::optional<LiveChances> liveChances(const TipTable& rows, const LiveResult& result,
                                       const std::array<OutcomeWeights, kMatches>& weights,
                                       const std::atomic<bool>* stop) {
    LiveChances live;
    std::array<Chances, kMatches> chances{};
    // The results still possible: the decided outcome, or every outcome of an open match.
    OutcomeCrosses crosses{};
    for (int m = 0; m < kMatches; ++m) {
        const std::uint8_t code = result[static_cast<size_t>(m)];
        if (code >= kTipOne && code <= kTipTwo) {
            crosses[static_cast<size_t>(outcomeIndex(m + 1, code))] = true;
            continue;
        }
        ++live.open;
        chances[static_cast<size_t>(m)] = chancesOf(weights[static_cast<size_t>(m)]);
        for (int c = 1; c <= 3; ++c) crosses[static_cast<size_t>(outcomeIndex(m + 1, c))] = true;
    }

    for (const TipTable::Row& row : rows.rows()) {
        if (row.tips[0] == kTipEmpty) continue;
        if (live.rows.size() % 4096 == 4095 && stop && stop->load(std::memory_order_relaxed)) return std::nullopt;
        LiveRow figures;
        figures.number = row.number;
        // The chances of 0, 1, 2 and 3 wrong tips so far; more win nothing.
        std::array<double, kRanks> wrong{1, 0, 0, 0};
        int certainWrong = 0;
        const auto addWrong = [&](double p) {
            for (int k = kRanks - 1; k >= 1; --k)
                wrong[static_cast<size_t>(k)] = wrong[static_cast<size_t>(k)] * (1 - p) + wrong[static_cast<size_t>(k - 1)] * p;
            wrong[0] *= 1 - p;
        };
        for (int m = 0; m < kMatches; ++m) {
            const std::uint8_t tip = row.tips[static_cast<size_t>(m)];
            const std::uint8_t decided = result[static_cast<size_t>(m)];
            const bool isTip = tip >= kTipOne && tip <= kTipTwo;
            if (decided >= kTipOne && decided <= kTipTwo) {
                if (isTip && tip == decided) {
                    ++figures.hits;
                } else {
                    ++certainWrong;
                    addWrong(1);
                }
                continue;
            }
            const double right = isTip ? chances[static_cast<size_t>(m)][tip] : 0;
            if (right == 0) ++certainWrong;
            addWrong(1 - right);
        }
        figures.bestRank = certainWrong < kRanks ? certainWrong + 1 : 0;
        for (int k = 0; k < kRanks; ++k) {
            figures.p[static_cast<size_t>(k)] = wrong[static_cast<size_t>(k)];
            live.expected[static_cast<size_t>(k)] += wrong[static_cast<size_t>(k)];
        }
        live.rows.push_back(figures);
    }

    // Over the results together: the chance that the best row reaches a rank.
    const bool done = forEachResult(rows, crosses, [&](const std::array<int, kMatches>& position, const Wrong& counts) {
        double p = 1;
        for (int m = 0; m < kMatches; ++m)
            if (result[static_cast<size_t>(m)] < kTipOne || result[static_cast<size_t>(m)] > kTipTwo)
                p *= chances[static_cast<size_t>(m)][static_cast<size_t>(position[static_cast<size_t>(m)] + 1)];
        std::uint32_t reached = 0;
        for (int k = 0; k < kRanks; ++k) {
            reached += counts[static_cast<size_t>(k)];
            if (reached > 0) live.atLeast[static_cast<size_t>(k)] += p;
        }
    }, stop);
    if (!done) return std::nullopt;
    return live;
}

std::optional<double> expectedWin(const LiveChances& chances, const QuotaTexts& quotas) {
    std::optional<double> win;
    for (int k = 0; k < kRanks; ++k)
        if (const auto quota = ParseQuota(quotas[static_cast<size_t>(k)]))
            win = win.value_or(0) + chances.expected[static_cast<size_t>(k)] * *quota;
    return win;
}

}  // namespace korbisto
