#include "win_plan.h"

#include "result_space.h"

#include "core/error.h"
#include "core/german.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace korbisto {

namespace {

using analysis::Wrong;
using analysis::forEachResult;

struct RankCountsHash {
    std::size_t operator()(const Wrong& w) const {
        std::size_t h = 0;
        for (const std::uint32_t v : w) h = h * 1000003u ^ v;
        return h;
    }
};

}  // namespace

std::optional<WinPlan> winPlan(const TipTable& rows, const OutcomeCrosses& crosses, const std::atomic<bool>* stop) {
    std::unordered_map<Wrong, std::int64_t, RankCountsHash> classes;
    WinPlan plan;
    const bool complete = forEachResult(rows, crosses, [&](const std::array<int, kMatches>&, const Wrong& wrong) {
        ++classes[wrong];
        ++plan.results;
    }, stop);
    if (!complete) return std::nullopt;

    plan.guaranteedRank = 1;
    for (const auto& [wrong, results] : classes) {
        WinPlanClass c;
        for (int k = 0; k < kRanks; ++k) c.ranks[static_cast<size_t>(k)] = wrong[static_cast<size_t>(k)];
        c.results = results;
        plan.classes.push_back(c);
        int best = 0;
        for (int k = kRanks; k >= 1; --k)
            if (wrong[static_cast<size_t>(k - 1)] > 0) best = k;
        if (best == 0)
            plan.guaranteedRank = 0;
        else if (plan.guaranteedRank != 0)
            plan.guaranteedRank = std::max(plan.guaranteedRank, best);
    }
    std::sort(plan.classes.begin(), plan.classes.end(),
              [](const WinPlanClass& a, const WinPlanClass& b) { return a.ranks > b.ranks; });
    return plan;
}

std::array<std::int64_t, kRanks + 1> resultsByBestRank(const WinPlan& plan) {
    std::array<std::int64_t, kRanks + 1> results{};
    for (const WinPlanClass& c : plan.classes) {
        int best = 0;
        while (best < kRanks && c.ranks[static_cast<size_t>(best)] == 0) ++best;
        results[static_cast<size_t>(best)] += c.results;
    }
    return results;
}

RankQuotas parsedQuotas(const QuotaTexts& quotas) {
    RankQuotas parsed;
    for (int k = 0; k < kRanks; ++k) parsed[static_cast<size_t>(k)] = ParseQuota(quotas[static_cast<size_t>(k)]);
    return parsed;
}

double classWin(const RankCounts& ranks, const RankQuotas& quotas) {
    double win = 0;
    for (int k = 0; k < kRanks; ++k)
        win += static_cast<double>(ranks[static_cast<size_t>(k)]) * quotas[static_cast<size_t>(k)].value_or(0.0);
    return win;
}

std::optional<WinFigures> winFigures(const WinPlan& plan, const QuotaTexts& quotas) {
    const RankQuotas quota = parsedQuotas(quotas);
    const bool any = std::any_of(quota.begin(), quota.end(), [](const auto& q) { return q.has_value(); });
    if (!any || plan.classes.empty()) return std::nullopt;
    WinFigures figures;
    figures.min = std::numeric_limits<double>::max();
    figures.max = std::numeric_limits<double>::lowest();
    double sum = 0;
    for (const WinPlanClass& c : plan.classes) {
        const double win = classWin(c.ranks, quota);
        figures.min = std::min(figures.min, win);
        figures.max = std::max(figures.max, win);
        sum += win * static_cast<double>(c.results);
    }
    figures.mean = sum / static_cast<double>(plan.results);
    return figures;
}

}  // namespace korbisto
