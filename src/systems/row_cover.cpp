#include "row_cover.h"

#include "cross_sheet.h"
#include "reduced_catalogue.h"

#include <algorithm>
#include <array>
#include <bit>

namespace korbisto {

namespace {

// One bit per word of 3^13: 200 KB, so that membership stays in the cache.
class WordBits {
public:
    WordBits() : bits_(kRowWords / 64 + 1, 0) {}
    bool test(RowWord w) const { return bits_[w >> 6] >> (w & 63) & 1; }
    void set(RowWord w) { bits_[w >> 6] |= std::uint64_t{1} << (w & 63); }
    void reset(RowWord w) { bits_[w >> 6] &= ~(std::uint64_t{1} << (w & 63)); }

private:
    std::vector<std::uint64_t> bits_;
};

// The distinct rows of the set in their order, and per match the digits
// they use.
struct RowSet {
    std::vector<RowWord> rows;
    WordBits member;
    std::array<std::uint8_t, kMatches> digits{};  // bit d: some row plays digit d

    explicit RowSet(const std::vector<RowWord>& all) {
        std::array<bool, kHighWords> high{};
        std::array<bool, kLowWords> low{};
        rows.reserve(all.size());
        for (const RowWord w : all) {
            if (member.test(w)) continue;
            member.set(w);
            rows.push_back(w);
            high[w / kLowWords] = true;
            low[w % kLowWords] = true;
        }
        const auto mark = [&](const auto& seen, int first, int matches) {
            for (RowWord v = 0; v < seen.size(); ++v) {
                if (!seen[v]) continue;
                RowWord rest = v;
                for (int i = matches; i-- > 0;) {
                    digits[static_cast<size_t>(first + i)] |= static_cast<std::uint8_t>(1u << (rest % 3));
                    rest /= 3;
                }
            }
        };
        mark(high, 0, kHighMatches);
        mark(low, kHighMatches, kMatches - kHighMatches);
    }

    // The set holds every combination of the digits it uses.
    bool wholeProduct() const {
        std::int64_t product = 1;
        for (const std::uint8_t d : digits) product *= std::popcount(d);
        return product == static_cast<std::int64_t>(rows.size());
    }
};

// The words within `Radius` of a word that change only digits the set uses:
// the rest can hold no row of it.
template <int Radius>
class Ball {
public:
    explicit Ball(const RowSet& set) {
        for (int m = 0; m < kMatches; ++m) {
            const std::uint8_t used = set.digits[static_cast<size_t>(m)];
            if (std::popcount(used) < 2) continue;
            Position& p = positions_[static_cast<size_t>(active_++)];
            p.match = m;
            p.others = std::popcount(used) - 1;
            const auto stride = static_cast<std::int32_t>(matchStride(m + 1));
            for (int from = 0; from < 3; ++from)
                for (int to = 0; to < 3; ++to)
                    if (to != from && (used >> to & 1)) {
                        Moves& moves = p.moves[static_cast<size_t>(from)];
                        moves.delta[static_cast<size_t>(moves.count++)] = (to - from) * stride;
                    }
        }
        // Words at distance k: k positions out of the active ones, each
        // changed to one of its other digits.
        std::array<std::int64_t, Radius + 1> at{1};
        for (int i = 0; i < active_; ++i) {
            const int other = positions_[static_cast<size_t>(i)].others;
            for (int k = Radius; k >= 1; --k) at[static_cast<size_t>(k)] += at[static_cast<size_t>(k - 1)] * other;
        }
        for (const std::int64_t n : at) size_ += n;
    }

    // The words of every ball.
    std::int64_t size() const { return size_; }

    template <typename Visit>
    void forEach(RowWord w, Visit&& visit) const {
        visit(w);
        const RowTips tips = tipsOfWord(w);
        std::array<const Moves*, kMatches> from{};
        for (int i = 0; i < active_; ++i) {
            const Position& p = positions_[static_cast<size_t>(i)];
            from[static_cast<size_t>(i)] = &p.moves[static_cast<size_t>(tips[static_cast<size_t>(p.match)] - kTipOne)];
        }
        for (int i = 0; i < active_; ++i)
            for (int a = 0; a < from[static_cast<size_t>(i)]->count; ++a) {
                const RowWord u = w + static_cast<RowWord>(from[static_cast<size_t>(i)]->delta[static_cast<size_t>(a)]);
                visit(u);
                if constexpr (Radius >= 2)
                    for (int j = i + 1; j < active_; ++j)
                        for (int b = 0; b < from[static_cast<size_t>(j)]->count; ++b) {
                            const RowWord v = u + static_cast<RowWord>(from[static_cast<size_t>(j)]->delta[static_cast<size_t>(b)]);
                            visit(v);
                            if constexpr (Radius >= 3)
                                for (int k = j + 1; k < active_; ++k)
                                    for (int c = 0; c < from[static_cast<size_t>(k)]->count; ++c)
                                        visit(v + static_cast<RowWord>(from[static_cast<size_t>(k)]->delta[static_cast<size_t>(c)]));
                        }
            }
    }

private:
    struct Moves {
        std::array<std::int32_t, 2> delta{};
        int count = 0;
    };
    struct Position {
        int match = 0;
        int others = 0;  // digits a row of the set can change to
        std::array<Moves, 3> moves{};
    };
    std::array<Position, kMatches> positions_{};
    int active_ = 0;
    std::int64_t size_ = 0;
};

// Reports how far the cover has come: the rows covered by the runs so far,
// of the rows of all runs.
struct Progress {
    const CoverOptions& options;
    std::int64_t done = 0;
    std::int64_t total = 0;

    bool stopped() const { return options.stop && options.stop->load(std::memory_order_relaxed); }
    void report(std::int64_t covered) const {
        if (options.progress) options.progress(done + covered, total);
    }
};

// Each row's gain before anything is covered: the rows of the set within its
// reach. By word; a ball of radius 3 holds at most 2,627 words.
template <int Radius>
std::optional<std::vector<std::uint16_t>> initialGains(const RowSet& set, const Ball<Radius>& ball,
                                                       const Progress& progress) {
    std::vector<std::uint16_t> gain(kRowWords, 0);
    for (size_t i = 0; i < set.rows.size(); ++i) {
        std::uint16_t g = 0;
        ball.forEach(set.rows[i], [&](RowWord v) { g = static_cast<std::uint16_t>(g + set.member.test(v)); });
        gain[set.rows[i]] = g;
        if (i % 4096 == 4095 && progress.stopped()) return std::nullopt;
    }
    return gain;
}

// The greedy cover as indexes into set.rows, in the order chosen, after the
// rows of `seed`. Each row's gain, the rows of the set it would newly cover,
// is kept exact: a row that becomes covered takes one from every row within
// reach of it. The queue holds gains that may since have fallen; one is
// taken when it is still right at the top. `work` grows by the words visited.
template <int Radius>
std::optional<std::vector<std::uint32_t>> greedy(const RowSet& set, const Ball<Radius>& ball,
                                                 std::vector<std::uint16_t> gain, const std::vector<std::uint32_t>& seed,
                                                 const Progress& progress, std::int64_t& work) {
    const auto n = static_cast<std::uint32_t>(set.rows.size());
    WordBits uncovered = set.member;
    std::int64_t left = n;
    std::vector<std::uint32_t> chosen;
    const auto choose = [&](std::uint32_t index) {
        chosen.push_back(index);
        ball.forEach(set.rows[index], [&](RowWord v) {
            if (!uncovered.test(v)) return;
            uncovered.reset(v);
            --left;
            work += ball.size();
            ball.forEach(v, [&](RowWord u) {
                if (set.member.test(u)) --gain[u];
            });
        });
    };
    for (const std::uint32_t index : seed) choose(index);

    const auto key = [](std::uint32_t g, std::uint32_t index) {
        // Larger gains first, then the earlier row.
        return std::uint64_t{g} << 32 | (0xFFFFFFFFu - index);
    };
    std::vector<std::uint64_t> queue;
    queue.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i)
        if (gain[set.rows[i]] > 0) queue.push_back(key(gain[set.rows[i]], i));
    std::make_heap(queue.begin(), queue.end());
    while (left > 0) {
        std::pop_heap(queue.begin(), queue.end());
        const std::uint32_t index = 0xFFFFFFFFu - static_cast<std::uint32_t>(queue.back());
        const auto stored = static_cast<std::uint32_t>(queue.back() >> 32);
        queue.pop_back();
        const RowWord w = set.rows[index];
        if (gain[w] != stored) {
            if (gain[w] > 0) {
                queue.push_back(key(gain[w], index));
                std::push_heap(queue.begin(), queue.end());
            }
            continue;
        }
        choose(index);
        if (chosen.size() % 64 == 0) {
            if (progress.stopped()) return std::nullopt;
            progress.report(n - left);
        }
    }
    progress.report(n);
    return chosen;
}

// After the greedy choice: a row whose rows the others cover goes; a row is
// exchanged for one that covers what only it covers, where that makes
// another row redundant (two for one); and in all passes but the last it is
// exchanged for such a row anyway, so that the next pass finds other pairs.
// The work, counted in words visited, stays below `budget`. False once the
// stop flag is seen set.
template <int Radius>
class LocalSearch {
public:
    LocalSearch(const RowSet& set, const Ball<Radius>& ball, const std::vector<std::uint32_t>& chosen)
        : set_(set), ball_(ball), covers_(kRowWords, 0), alone_(kRowWords, 0), owner_(kRowWords, 0) {
        for (const std::uint32_t i : chosen) add(set.rows[i]);
    }

    bool run(std::int64_t budget, const Progress& progress) {
        constexpr int kPasses = 4;
        std::vector<RowWord> only;
        std::vector<RowTips> onlyTips;
        std::vector<RowWord> others;
        std::vector<std::pair<RowWord, std::uint32_t>> takenFrom;
        std::uint64_t random = 0x9E3779B97F4A7C15u;
        for (int pass = 0; pass < kPasses; ++pass) {
            for (const RowWord c : set_.rows) {
                if (!chosen_.test(c)) continue;
                if (work_ > budget) return true;
                if (progress.stopped()) return false;
                only.clear();
                visit(c, [&](RowWord v) {
                    if (set_.member.test(v) && covers_[v] == 1) only.push_back(v);
                });
                if (only.empty()) {
                    remove(c);
                    continue;
                }
                onlyTips.clear();
                for (const RowWord v : only) onlyTips.push_back(tipsOfWord(v));
                // The rows that could stand in for c.
                others.clear();
                visit(only.front(), [&](RowWord v) {
                    if (set_.member.test(v) && !chosen_.test(v)) others.push_back(v);
                });
                RowWord swap = c;
                std::uint32_t seen = 0;
                bool improved = false;
                for (const RowWord other : others) {
                    const RowTips tips = tipsOfWord(other);
                    const bool coversAll = std::all_of(onlyTips.begin(), onlyTips.end(), [&](const RowTips& t) {
                        int apart = 0;
                        for (int m = 0; m < kMatches; ++m) apart += t[static_cast<size_t>(m)] != tips[static_cast<size_t>(m)];
                        return apart <= Radius;
                    });
                    if (!coversAll) continue;
                    // What it would take over from each other row of the cover.
                    takenFrom.clear();
                    visit(other, [&](RowWord v) {
                        if (!set_.member.test(v) || covers_[v] != 1 || owner_[v] == c) return;
                        auto it = std::find_if(takenFrom.begin(), takenFrom.end(), [&](const auto& t) { return t.first == owner_[v]; });
                        if (it == takenFrom.end())
                            takenFrom.emplace_back(owner_[v], 1);
                        else
                            ++it->second;
                    });
                    const auto freed = std::find_if(takenFrom.begin(), takenFrom.end(),
                                                    [&](const auto& t) { return t.second == alone_[t.first]; });
                    if (freed != takenFrom.end()) {
                        remove(c);
                        add(other);
                        for (const auto& t : takenFrom)
                            if (chosen_.test(t.first) && alone_[t.first] == 0) remove(t.first);
                        improved = true;
                        break;
                    }
                    // One of them at random, each as likely.
                    random = random * 6364136223846793005u + 1442695040888963407u;
                    if ((random >> 33) % ++seen == 0) swap = other;
                }
                if (!improved && pass < kPasses - 1 && swap != c) {
                    remove(c);
                    add(swap);
                }
            }
        }
        return true;
    }

    bool chosen(RowWord w) const { return chosen_.test(w); }

private:
    template <typename Visit>
    void visit(RowWord w, Visit&& f) {
        work_ += ball_.size();
        ball_.forEach(w, f);
    }

    void add(RowWord c) {
        chosen_.set(c);
        visit(c, [&](RowWord v) {
            if (!set_.member.test(v)) return;
            if (++covers_[v] == 1) {
                owner_[v] = c;
                ++alone_[c];
            } else if (covers_[v] == 2) {
                --alone_[owner_[v]];
            }
        });
    }

    void remove(RowWord c) {
        chosen_.reset(c);
        visit(c, [&](RowWord v) {
            if (!set_.member.test(v)) return;
            if (--covers_[v] == 0) {
                --alone_[c];
            } else if (covers_[v] == 1) {
                visit(v, [&](RowWord u) {
                    if (chosen_.test(u)) owner_[v] = u;
                });
                ++alone_[owner_[v]];
            }
        });
    }

    const RowSet& set_;
    const Ball<Radius>& ball_;
    WordBits chosen_;
    // By word: the rows of the cover within reach; for a row of the cover,
    // the words only it reaches; for a word reached once, the row that does.
    std::vector<std::uint16_t> covers_;
    std::vector<std::uint16_t> alone_;
    std::vector<RowWord> owner_;
    std::int64_t work_ = 0;
};

// The smaller of two greedy covers, each improved by exchanges: one from
// scratch, one that starts from the rows of `catalogue` (the catalogue's
// system for the cross product around the set, as far as the set holds its
// rows). Where the set is most of that product, the second is far smaller;
// elsewhere the first.
template <int Radius>
std::optional<std::vector<RowWord>> greedyCover(const RowSet& set, const std::vector<RowWord>& catalogue,
                                                const CoverOptions& options) {
    const Ball<Radius> ball(set);
    WordBits inCatalogue;
    for (const RowWord w : catalogue) inCatalogue.set(w);
    std::vector<std::uint32_t> seed;
    for (std::uint32_t i = 0; i < set.rows.size(); ++i)
        if (inCatalogue.test(set.rows[i])) seed.push_back(i);
    const int runs = seed.empty() ? 1 : 2;
    const auto n = static_cast<std::int64_t>(set.rows.size());
    Progress progress{options, 0, runs * n};
    const std::optional<std::vector<std::uint16_t>> gains = initialGains(set, ball, progress);
    if (!gains) return std::nullopt;

    std::vector<RowWord> best;
    for (int run = 0; run < runs; ++run) {
        std::int64_t work = n * ball.size();
        const std::optional<std::vector<std::uint32_t>> chosen =
            greedy(set, ball, *gains, run == 0 ? std::vector<std::uint32_t>{} : seed, progress, work);
        if (!chosen) return std::nullopt;
        LocalSearch<Radius> search(set, ball, *chosen);
        if (!search.run(work, progress)) return std::nullopt;
        std::vector<RowWord> rows;
        for (const RowWord w : set.rows)
            if (search.chosen(w)) rows.push_back(w);
        if (run == 0 || rows.size() < best.size()) best = std::move(rows);
        progress.done += n;
    }
    return best;
}

// The catalogue's system for the product of the digits the set uses, in the
// set's order.
std::vector<RowWord> catalogueCover(const RowSet& set, int guarantee) {
    OutcomeCrosses crosses{};
    for (int m = 0; m < kMatches; ++m)
        for (int d = 0; d < 3; ++d)
            crosses[static_cast<size_t>(outcomeIndex(m + 1, d + 1))] = set.digits[static_cast<size_t>(m)] >> d & 1;
    CrossSheet sheet;
    sheet.setCrosses(crosses);
    const std::optional<TipTable> system = expandReduced(sheet.structure(), guarantee);
    WordBits in;
    if (system)
        for (const TipTable::Row& row : system->rows())
            if (const std::optional<RowWord> w = wordOfTips(row.tips)) in.set(*w);
    std::vector<RowWord> rows;
    for (const RowWord w : set.rows)
        if (in.test(w)) rows.push_back(w);
    return rows;
}

}  // namespace

std::optional<RowCover> coverRows(const std::vector<RowWord>& all, int guarantee, const CoverOptions& options) {
    if (guarantee < kLowestGuarantee || guarantee > kHighestGuarantee) return std::nullopt;
    const RowSet set(all);
    RowCover cover;
    if (set.rows.empty()) return cover;
    const int radius = kMatches - guarantee;
    std::vector<RowWord> catalogue = catalogueCover(set, guarantee);
    const bool whole = set.wholeProduct() && !catalogue.empty();
    if (whole) {
        // On the larger products the catalogue's systems are far smaller than
        // any greedy cover, which would take seconds there; on the small ones
        // a greedy cover is cheap and now and then a row or two smaller.
        constexpr std::int64_t kSmallProduct = std::int64_t{1} << 25;
        const std::int64_t work = static_cast<std::int64_t>(set.rows.size()) *
                                  (radius == 1 ? Ball<1>(set).size() : radius == 2 ? Ball<2>(set).size() : Ball<3>(set).size());
        if (work > kSmallProduct) return RowCover{std::move(catalogue), true};
    }
    std::optional<std::vector<RowWord>> greedy;
    switch (radius) {
    case 1: greedy = greedyCover<1>(set, catalogue, options); break;
    case 2: greedy = greedyCover<2>(set, catalogue, options); break;
    default: greedy = greedyCover<3>(set, catalogue, options); break;
    }
    if (!greedy) return std::nullopt;
    if (whole && catalogue.size() <= greedy->size()) return RowCover{std::move(catalogue), true};
    return RowCover{std::move(*greedy), false};
}

}  // namespace korbisto
