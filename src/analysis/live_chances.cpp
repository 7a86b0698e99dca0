#include "live_chances.h"

#include "result_space.h"

#include "core/error.h"
#include "core/german.h"

#include <cmath>

namespace korbisto {

namespace {

using analysis::Position;
using analysis::Wrong;

bool decided(std::uint8_t code) { return code >= kTipOne && code <= kTipTwo; }

}  // namespace

bool validWeights(const OutcomeWeights& weights) {
    double sum = 0;
    for (const double w : weights) {
        if (!std::isfinite(w) || w < 0) return false;
        sum += w;
    }
    return std::isfinite(sum) && sum > 0;
}

LiveChancesCount::LiveChancesCount(const LiveResult& result, const std::array<OutcomeWeights, kMatches>& weights)
    : result_(result) {
    // The results still possible: the decided outcome, or every outcome of an open match.
    OutcomeCrosses crosses{};
    for (int m = 0; m < kMatches; ++m) {
        const std::uint8_t code = result[static_cast<size_t>(m)];
        if (decided(code)) {
            crosses[static_cast<size_t>(outcomeIndex(m + 1, code))] = true;
            continue;
        }
        result_[static_cast<size_t>(m)] = kTipEmpty;
        ++open_;
        const OutcomeWeights& w = weights[static_cast<size_t>(m)];
        if (!validWeights(w))
            throw KorbistoError(QStringLiteral("Die Gewichte von Spiel %1 taugen nicht für Chancen: Sie müssen Zahlen ab 0 "
                                               "sein, nicht alle 0, und zusammen nicht unendlich groß.")
                                    .arg(m + 1));
        const double sum = w[0] + w[1] + w[2];
        for (int c = 1; c <= 3; ++c) {
            chances_[static_cast<size_t>(m)][static_cast<size_t>(c)] = w[static_cast<size_t>(c - 1)] > 0 ? w[static_cast<size_t>(c - 1)] / sum : 0;
            crosses[static_cast<size_t>(outcomeIndex(m + 1, c))] = true;
        }
    }
    space_ = std::make_unique<analysis::ResultSpace>(crosses);
}

LiveChancesCount::~LiveChancesCount() = default;

void LiveChancesCount::add(const TipTable& rows, std::vector<LiveRow>& figures) {
    for (const TipTable::Row& row : rows.rows()) {
        if (row.tips[0] == kTipEmpty) continue;
        LiveRow live;
        live.number = row.number;
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
            const std::uint8_t result = result_[static_cast<size_t>(m)];
            const bool isTip = decided(tip);
            if (result != kTipEmpty) {
                if (isTip && tip == result) {
                    ++live.hits;
                } else {
                    ++certainWrong;
                    addWrong(1);
                }
                continue;
            }
            const double right = isTip ? chances_[static_cast<size_t>(m)][tip] : 0;
            if (right == 0) ++certainWrong;
            addWrong(1 - right);
        }
        live.bestRank = certainWrong < kRanks ? certainWrong + 1 : 0;
        for (int k = 0; k < kRanks; ++k) {
            live.p[static_cast<size_t>(k)] = wrong[static_cast<size_t>(k)];
            expected_[static_cast<size_t>(k)] += wrong[static_cast<size_t>(k)];
        }
        figures.push_back(live);
    }
    space_->add(rows);
}

std::optional<LiveChances> LiveChancesCount::finish(const std::atomic<bool>* stop) {
    if (!space_ || !space_->spread(stop)) return std::nullopt;
    LiveChances live;
    live.open = open_;
    live.expected = expected_;
    // Over the results together: the chance that the best row reaches a rank.
    const bool done = space_->forEachResult(
        [&](const Position& position, const Wrong& counts) {
            double p = 1;
            for (int m = 0; m < kMatches; ++m)
                if (result_[static_cast<size_t>(m)] == kTipEmpty)
                    p *= chances_[static_cast<size_t>(m)][static_cast<size_t>(position[static_cast<size_t>(m)] + 1)];
            std::uint32_t reached = 0;
            for (int k = 0; k < kRanks; ++k) {
                reached += counts[static_cast<size_t>(k)];
                if (reached > 0) live.atLeast[static_cast<size_t>(k)] += p;
            }
        },
        stop);
    space_.reset();
    if (!done) return std::nullopt;
    return live;
}

std::optional<LiveChances> liveChances(const TipTable& rows, const LiveResult& result,
                                       const std::array<OutcomeWeights, kMatches>& weights,
                                       const std::atomic<bool>* stop) {
    LiveChancesCount count(result, weights);
    if (stop && stop->load(std::memory_order_relaxed)) return std::nullopt;
    std::vector<LiveRow> figures;
    figures.reserve(static_cast<size_t>(rows.dataRowCount()));
    count.add(rows, figures);
    std::optional<LiveChances> live = count.finish(stop);
    if (live) live->rows = std::move(figures);
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
