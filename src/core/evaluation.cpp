#include "evaluation.h"

#include "german.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <numeric>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korbisto {

namespace {

constexpr std::uint8_t kNeverHit = 0xFF;

struct PreparedRow {
    std::array<std::uint8_t, kMatches> codes{};
    bool anyOther = false;
};

PreparedRow prepare(const WinningRow& winning) {
    PreparedRow p;
    for (int m = 0; m < kMatches; ++m) {
        if (winning[m].isEmpty()) {
            p.codes[m] = kNeverHit;
        } else {
            p.codes[m] = tipCodeOfText(winning[m]);
            if (p.codes[m] == kTipOther) p.anyOther = true;
        }
    }
    return p;
}

inline int hitsOf(const TipTable& table, const TipTable::Row& row, const PreparedRow& p,
                  const WinningRow& winning) {
    int hits = 0;
    for (int m = 0; m < kMatches; ++m) hits += row.tips[m] == p.codes[m];
    if (p.anyOther && row.odd != 0) {
        // Cells with texts of their own equal only the very same text.
        for (int m = 0; m < kMatches; ++m) {
            if (row.tips[m] == kTipOther && p.codes[m] == kTipOther && table.oddText(row, m + 1) != winning[m])
                --hits;
        }
    }
    return hits;
}

// Bucket 0 takes 13 hits, bucket 13 none, bucket 14 the rows without a count.
int hitBucket(std::int8_t h) { return h < 0 || h > kMatches ? kMatches + 1 : kMatches - h; }

// Rows from `i` on whose count is `wanted`, one by one; returns where it stopped.
template <typename Wanted>
std::size_t scanTail(const std::int8_t* hits, std::size_t size, std::size_t i, std::uint32_t* out, std::size_t& n,
                     std::size_t room, std::size_t& left, Wanted wanted) {
    for (; i < size && n < room && left > 0; ++i) {
        if (!wanted(hits[i])) continue;
        out[n++] = static_cast<std::uint32_t>(i);
        --left;
    }
    return i;
}

}  // namespace

int countHits(const TipTable& table, int row, const WinningRow& winning) {
    return hitsOf(table, table.rowAt(row), prepare(winning), winning);
}

HitCounts markHits(TipTable& table, const WinningRow& winning) {
    const PreparedRow p = prepare(winning);
    HitCounts perHits{};
    for (TipTable::Row& row : table.rows()) {
        if (row.tips[0] == kTipEmpty) continue;
        const int hits = hitsOf(table, row, p, winning);
        row.hits = static_cast<std::int8_t>(hits);
        ++perHits[static_cast<size_t>(hits)];
    }
    return perHits;
}

EvaluationResult resultOf(const HitCounts& hits, const QuotaTexts& quotas) {
    EvaluationResult result;
    for (int k = 1; k <= kRanks; ++k) {
        RankResult& r = result.ranks[static_cast<size_t>(k - 1)];
        r.count = static_cast<int>(hits[static_cast<size_t>(14 - k)]);
        if (const auto quota = ParseQuota(quotas[static_cast<size_t>(k - 1)])) {
            r.amount = r.count * *quota;
            result.total += *r.amount;
        }
    }
    return result;
}

EvaluationResult evaluateTable(TipTable& table, const WinningRow& winning, const QuotaTexts& quotas) {
    return resultOf(markHits(table, winning), quotas);
}

HitOrder::HitOrder(std::span<const std::int8_t> hits) : hits_(hits) {
    for (std::int8_t h : hits) ++left_[static_cast<size_t>(hitBucket(h))];
}

std::size_t HitOrder::next(std::uint32_t* out, std::size_t room) {
    std::size_t n = 0;
    const std::int8_t* const hits = hits_.data();
    const std::size_t size = hits_.size();
    while (n < room && bucket_ < kBuckets) {
        std::size_t& left = left_[static_cast<size_t>(bucket_)];
        if (left == 0) {
            ++bucket_;
            at_ = 0;
            continue;
        }
        std::size_t i = at_;
        if (bucket_ <= kMatches) {
            const auto wanted = static_cast<std::int8_t>(kMatches - bucket_);
#if defined(__SSE2__)
            // Sixteen counts compared at once; most blocks hold none of the rare counts.
            const __m128i key = _mm_set1_epi8(wanted);
            while (n < room && left > 0) {
                if (i + 16 > size) {
                    i = scanTail(hits, size, i, out, n, room, left, [&](std::int8_t h) { return h == wanted; });
                    break;
                }
                const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hits + i));
                auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, key)));
                // Resume inside the block where the batch ended.
                while (mask != 0 && n < room) {
                    const int bit = std::countr_zero(mask);
                    out[n++] = static_cast<std::uint32_t>(i + static_cast<size_t>(bit));
                    --left;
                    mask &= mask - 1;
                }
                if (mask != 0) {
                    i += static_cast<size_t>(std::countr_zero(mask));
                    break;
                }
                i += 16;
            }
#else
            i = scanTail(hits, size, i, out, n, room, left, [&](std::int8_t h) { return h == wanted; });
#endif
        } else {
            i = scanTail(hits, size, i, out, n, room, left, [&](std::int8_t h) { return hitBucket(h) == bucket_; });
        }
        at_ = i;
    }
    return n;
}

void SortGridByColumn(TipTable& table, int column, bool descending) {
    auto& rows = table.rows();
    const size_t n = rows.size();
    if (n < 2) return;
    constexpr long long kNoKey = std::numeric_limits<long long>::min();
    std::vector<long long> keys(n);
    long long lo = std::numeric_limits<long long>::max();
    long long hi = std::numeric_limits<long long>::min();
    for (size_t i = 0; i < n; ++i) {
        keys[i] = table.wholeNumber(rows[i], column).value_or(kNoKey);
        if (keys[i] == kNoKey) continue;
        lo = std::min(lo, keys[i]);
        hi = std::max(hi, keys[i]);
    }
    std::vector<std::uint32_t> order;
    order.reserve(n);
    if (lo > hi) return;  // no row has a key: nothing moves
    if (static_cast<unsigned long long>(hi - lo) <= 4 * n + 1024) {
        // Hit counts and row numbers lie in a narrow range: a counting sort,
        // stable by construction.
        const size_t range = static_cast<size_t>(hi - lo) + 1;
        std::vector<std::uint32_t> start(range + 1, 0);
        for (size_t i = 0; i < n; ++i)
            if (keys[i] != kNoKey) ++start[(descending ? static_cast<size_t>(hi - keys[i]) : static_cast<size_t>(keys[i] - lo)) + 1];
        for (size_t b = 1; b <= range; ++b) start[b] += start[b - 1];
        order.resize(n);
        size_t keyed = start[range];
        for (size_t i = 0; i < n; ++i) {
            if (keys[i] == kNoKey) {
                order[keyed++] = static_cast<std::uint32_t>(i);
            } else {
                const size_t b = descending ? static_cast<size_t>(hi - keys[i]) : static_cast<size_t>(keys[i] - lo);
                order[start[b]++] = static_cast<std::uint32_t>(i);
            }
        }
    } else {
        order.resize(n);
        std::iota(order.begin(), order.end(), 0u);
        std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
            const long long ka = keys[a], kb = keys[b];
            if (ka == kNoKey || kb == kNoKey) return kb == kNoKey && ka != kNoKey;
            return descending ? ka > kb : ka < kb;
        });
    }
    std::vector<TipTable::Row> sorted;
    sorted.reserve(n);
    for (std::uint32_t i : order) sorted.push_back(rows[i]);
    rows.swap(sorted);
}

}  // namespace korbisto
