#include "win_plan.h"

#include "result_space.h"

#include "core/error.h"
#include "core/german.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <limits>
#include <utility>

namespace korbisto {

namespace {

using analysis::Position;
using analysis::ResultSpace;
using analysis::Wrong;

// A class's counts packed into one word, rank I in the highest bits, so that
// words sort as their classes do. Each rank gets the bits its largest count
// needs; none when that makes more than 64.
struct Packing {
    std::array<int, kRanks> shift{};
    std::array<int, kRanks> width{};
    int bits = 0;

    std::uint64_t pack(const Wrong& counts) const {
        std::uint64_t key = 0;
        for (int k = 0; k < kRanks; ++k)
            if (width[static_cast<size_t>(k)] > 0)
                key |= static_cast<std::uint64_t>(counts[static_cast<size_t>(k)]) << shift[static_cast<size_t>(k)];
        return key;
    }
    RankCounts unpack(std::uint64_t key) const {
        RankCounts counts{};
        for (int k = 0; k < kRanks; ++k)
            if (width[static_cast<size_t>(k)] > 0)
                counts[static_cast<size_t>(k)] = static_cast<std::int64_t>(
                    (key >> shift[static_cast<size_t>(k)]) & ((std::uint64_t{1} << width[static_cast<size_t>(k)]) - 1));
        return counts;
    }
};

std::optional<Packing> packingFor(const Wrong& largest) {
    Packing packing;
    for (int k = kRanks; k-- > 0;) {
        packing.shift[static_cast<size_t>(k)] = packing.bits;
        packing.width[static_cast<size_t>(k)] = std::bit_width(largest[static_cast<size_t>(k)]);
        packing.bits += packing.width[static_cast<size_t>(k)];
    }
    if (packing.bits > 64) return std::nullopt;
    return packing;
}

// Least significant digit first, 11 bits at a time; a digit that every key
// shares costs no pass.
template <typename Key>
void sortKeys(LargeArray<Key>& keys, int bits) {
    constexpr int kDigit = 11;
    LargeArray<Key> sorted;
    for (int shift = 0; shift < bits; shift += kDigit) {
        std::array<std::size_t, std::size_t{1} << kDigit> at{};
        for (const Key key : keys) ++at[(key >> shift) & ((1u << kDigit) - 1)];
        if (std::find(at.begin(), at.end(), keys.size()) != at.end()) continue;
        std::size_t sum = 0;
        for (std::size_t& n : at) sum += std::exchange(n, sum);
        sorted.resize(keys.size());
        for (const Key key : keys) sorted[at[(key >> shift) & ((1u << kDigit) - 1)]++] = key;
        keys.swap(sorted);
    }
}

void addClass(WinPlan& plan, const RankCounts& ranks, std::int64_t results) {
    plan.classes.push_back({ranks, results});
    int best = 0;
    for (int k = kRanks; k >= 1; --k)
        if (ranks[static_cast<size_t>(k - 1)] > 0) best = k;
    if (best == 0)
        plan.guaranteedRank = 0;
    else if (plan.guaranteedRank != 0)
        plan.guaranteedRank = std::max(plan.guaranteedRank, best);
}

// The results' counts as words, sorted: each run of equal ones is a class.
template <typename Key, typename Keep>
std::optional<WinPlan> classesOfWords(std::unique_ptr<ResultSpace> space, const Keep& keep, const Packing& packing,
                                      WinPlan plan, const std::atomic<bool>* stop) {
    LargeArray<Key> keys;
    keys.reserve(static_cast<size_t>(plan.results));
    if (!space->forEachResult(
            [&](const Position& at, const Wrong& counts) {
                if (keep(at)) keys.push_back(static_cast<Key>(packing.pack(counts)));
            },
            stop))
        return std::nullopt;
    space.reset();
    sortKeys(keys, packing.bits);
    for (std::size_t end = keys.size(); end > 0;) {
        std::size_t start = end - 1;
        while (start > 0 && keys[start - 1] == keys[end - 1]) --start;
        addClass(plan, packing.unpack(keys[end - 1]), static_cast<std::int64_t>(end - start));
        end = start;
    }
    return plan;
}

// The classes from a space spread over the results it holds that `keep`
// takes, largest first. The space is let go of as soon as its counts are
// read out.
template <typename Keep>
std::optional<WinPlan> classesOf(std::unique_ptr<ResultSpace> space, const Keep& keep, const std::atomic<bool>* stop) {
    WinPlan plan;
    plan.guaranteedRank = 1;
    Wrong largest{};
    if (!space->forEachResult(
            [&](const Position& at, const Wrong& counts) {
                if (!keep(at)) return;
                ++plan.results;
                for (int k = 0; k < kRanks; ++k) largest[static_cast<size_t>(k)] |= counts[static_cast<size_t>(k)];
            },
            stop))
        return std::nullopt;
    // No result: no rank is sure.
    if (plan.results == 0) plan.guaranteedRank = 0;

    if (const std::optional<Packing> packing = packingFor(largest)) {
        if (packing->bits <= 32)
            return classesOfWords<std::uint32_t>(std::move(space), keep, *packing, std::move(plan), stop);
        return classesOfWords<std::uint64_t>(std::move(space), keep, *packing, std::move(plan), stop);
    }

    // Counts too large to share a word: the counts themselves, sorted.
    std::vector<Wrong> counts;
    counts.reserve(static_cast<size_t>(plan.results));
    if (!space->forEachResult(
            [&](const Position& at, const Wrong& c) {
                if (keep(at)) counts.push_back(c);
            },
            stop))
        return std::nullopt;
    space.reset();
    std::sort(counts.begin(), counts.end(), std::greater<>());
    for (std::size_t start = 0; start < counts.size();) {
        std::size_t end = start + 1;
        while (end < counts.size() && counts[end] == counts[start]) ++end;
        RankCounts ranks{};
        for (int k = 0; k < kRanks; ++k) ranks[static_cast<size_t>(k)] = counts[start][static_cast<size_t>(k)];
        addClass(plan, ranks, static_cast<std::int64_t>(end - start));
        start = end;
    }
    return plan;
}

}  // namespace

WinPlanCount::WinPlanCount(const OutcomeCrosses& crosses) : space_(std::make_unique<ResultSpace>(crosses)) {}

WinPlanCount::~WinPlanCount() = default;

void WinPlanCount::add(const TipTable& rows) {
    if (space_) space_->add(rows);
}

std::optional<WinPlan> WinPlanCount::finish(const std::atomic<bool>* stop) {
    if (!space_ || !space_->spread(stop)) return std::nullopt;
    return classesOf(std::move(space_), [](const Position&) { return true; }, stop);
}

std::optional<WinPlan> winPlan(const TipTable& rows, const OutcomeCrosses& crosses, const std::atomic<bool>* stop) {
    WinPlanCount count(crosses);
    if (stop && stop->load(std::memory_order_relaxed)) return std::nullopt;
    count.add(rows);
    return count.finish(stop);
}

std::optional<WinPlan> winPlanOver(const TipTable& rows, const std::vector<RowWord>& results,
                                   const std::atomic<bool>* stop) {
    if (results.empty()) return WinPlan{};
    // The space of the smallest cross product that holds the results.
    std::vector<std::uint64_t> wanted(kRowWords / 64 + 1, 0);
    OutcomeCrosses crosses{};
    for (const RowWord w : results) {
        wanted[w / 64] |= std::uint64_t{1} << (w % 64);
        const RowTips tips = tipsOfWord(w);
        for (int m = 1; m <= kMatches; ++m)
            crosses[static_cast<size_t>(outcomeIndex(m, tips[static_cast<size_t>(m - 1)]))] = true;
    }
    // Per match the word's part of each place on its axis: the crossed
    // outcomes in their order.
    std::array<std::array<RowWord, 3>, kMatches> part{};
    for (int m = 1; m <= kMatches; ++m) {
        int place = 0;
        for (int c = kTipOne; c <= kTipTwo; ++c)
            if (crosses[static_cast<size_t>(outcomeIndex(m, c))])
                part[static_cast<size_t>(m - 1)][static_cast<size_t>(place++)] =
                    static_cast<RowWord>(c - kTipOne) * matchStride(m);
    }
    auto space = std::make_unique<ResultSpace>(crosses);
    if (stop && stop->load(std::memory_order_relaxed)) return std::nullopt;
    space->add(rows);
    if (!space->spread(stop)) return std::nullopt;
    const auto keep = [&](const Position& at) {
        RowWord w = 0;
        for (size_t m = 0; m < kMatches; ++m) w += part[m][static_cast<size_t>(at[m])];
        return (wanted[w / 64] >> (w % 64) & 1) != 0;
    };
    return classesOf(std::move(space), keep, stop);
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
