#include "search.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <stdexcept>
#include <unordered_set>

namespace reduce_search {

namespace {

void mark(SyndromeGroup group, const std::vector<std::uint32_t>& generators, int zw, size_t from, int left,
          std::uint32_t at, std::vector<std::uint8_t>& seen) {
    seen[at] = 1;
    if (left == 0) return;
    for (size_t i = from; i < generators.size(); ++i) {
        const int multiples = static_cast<int>(i) < zw ? 1 : 2;
        for (int k = 1; k <= multiples; ++k)
            mark(group, generators, zw, i + 1, left - 1, group.add(at, group.multiple(generators[i], k)), seen);
    }
}

std::uint32_t randomBelow(std::mt19937_64& random, std::uint32_t n) {
    return static_cast<std::uint32_t>(random() % n);
}

}  // namespace

std::vector<std::uint32_t> neighbourhood(SyndromeGroup group, int zw, int, const std::vector<std::uint32_t>& generators,
                                         int radius) {
    std::vector<std::uint8_t> seen(group.size(), 0);
    mark(group, generators, zw, 0, radius, 0, seen);
    std::vector<std::uint32_t> n;
    for (std::uint32_t x = 0; x < seen.size(); ++x)
        if (seen[x]) n.push_back(x);
    return n;
}

namespace {

// A generator for a binary or a ternary position.
std::uint32_t drawGenerator(SyndromeGroup group, bool binaryPosition, std::mt19937_64& random) {
    const std::uint32_t binary = std::uint32_t{1} << group.p;
    const std::uint32_t ternary = group.size() >> group.p;
    if (binaryPosition) return binary > 1 ? 1 + randomBelow(random, binary - 1) : 0;
    return ternary > 1 ? (1 + randomBelow(random, ternary - 1)) << group.p : 0;
}

}  // namespace

std::vector<std::uint32_t> chooseGenerators(SyndromeGroup group, int zw, int dw, int radius, std::mt19937_64& random) {
    auto draw = [&](int position) { return drawGenerator(group, position < zw, random); };
    std::vector<std::uint32_t> g;
    for (int i = 0; i < zw + dw; ++i) g.push_back(draw(i));
    size_t size = neighbourhood(group, zw, dw, g, radius).size();
    for (int step = 0; step < 30 * (zw + dw) && size < group.size(); ++step) {
        const int i = static_cast<int>(randomBelow(random, static_cast<std::uint32_t>(zw + dw)));
        const std::uint32_t before = g[static_cast<size_t>(i)];
        g[static_cast<size_t>(i)] = draw(i);
        const size_t now = neighbourhood(group, zw, dw, g, radius).size();
        if (now >= size)
            size = now;
        else
            g[static_cast<size_t>(i)] = before;
    }
    return g;
}

std::vector<std::uint32_t> tuneGenerators(SyndromeGroup group, int zw, int dw, int radius,
                                          std::vector<std::uint32_t> generators, int steps, SearchLimits quick,
                                          std::mt19937_64& random) {
    auto judge = [&] { return smallCover(group, neighbourhood(group, zw, dw, generators, radius), quick, random).size(); };
    size_t best = judge();
    for (int step = 0; step < steps; ++step) {
        const size_t i = randomBelow(random, static_cast<std::uint32_t>(zw + dw));
        const std::uint32_t before = generators[i];
        generators[i] = drawGenerator(group, static_cast<int>(i) < zw, random);
        const size_t now = judge();
        if (now <= best)
            best = now;
        else
            generators[i] = before;
    }
    return generators;
}

std::vector<std::uint32_t> smallCover(SyndromeGroup group, const std::vector<std::uint32_t>& n, SearchLimits limits,
                                      std::mt19937_64& random) {
    const std::uint32_t size = group.size();
    const size_t m = n.size();
    // The neighbourhood is symmetric, so x + N both is what x covers and
    // what covers x.
    std::vector<std::uint32_t> nb(static_cast<size_t>(size) * m);
    for (std::uint32_t x = 0; x < size; ++x)
        for (size_t j = 0; j < m; ++j) nb[x * m + j] = group.add(x, n[j]);

    std::vector<std::uint32_t> cover(size, 0);
    std::vector<std::int64_t> weight(size, 1);
    std::vector<std::int64_t> loss(size, 0);
    std::vector<std::uint8_t> in(size, 0);
    std::vector<std::uint32_t> members;
    std::vector<std::int32_t> memberAt(size, -1);
    std::vector<std::uint32_t> uncovered(size);
    std::vector<std::int32_t> uncoveredAt(size);
    for (std::uint32_t x = 0; x < size; ++x) {
        uncovered[x] = x;
        uncoveredAt[x] = static_cast<std::int32_t>(x);
    }
    auto takeOut = [](std::vector<std::uint32_t>& list, std::vector<std::int32_t>& at, std::uint32_t x) {
        const std::int32_t i = at[x];
        const std::uint32_t last = list.back();
        list[static_cast<size_t>(i)] = last;
        at[last] = i;
        list.pop_back();
        at[x] = -1;
    };
    auto putIn = [](std::vector<std::uint32_t>& list, std::vector<std::int32_t>& at, std::uint32_t x) {
        at[x] = static_cast<std::int32_t>(list.size());
        list.push_back(x);
    };
    auto soleCoverer = [&](std::uint32_t x) {
        for (size_t j = 0; j < m; ++j)
            if (in[nb[x * m + j]]) return nb[x * m + j];
        return std::numeric_limits<std::uint32_t>::max();
    };
    auto add = [&](std::uint32_t y) {
        in[y] = 1;
        putIn(members, memberAt, y);
        loss[y] = 0;
        for (size_t j = 0; j < m; ++j) {
            const std::uint32_t x = nb[y * m + j];
            const std::uint32_t c = ++cover[x];
            if (c == 1) {
                takeOut(uncovered, uncoveredAt, x);
                loss[y] += weight[x];
            } else if (c == 2) {
                // The one that covered x alone no longer does.
                for (size_t k = 0; k < m; ++k) {
                    const std::uint32_t z = nb[x * m + k];
                    if (in[z] && z != y) {
                        loss[z] -= weight[x];
                        break;
                    }
                }
            }
        }
    };
    auto remove = [&](std::uint32_t y) {
        in[y] = 0;
        takeOut(members, memberAt, y);
        for (size_t j = 0; j < m; ++j) {
            const std::uint32_t x = nb[y * m + j];
            const std::uint32_t c = --cover[x];
            if (c == 0)
                putIn(uncovered, uncoveredAt, x);
            else if (c == 1)
                loss[soleCoverer(x)] += weight[x];
        }
    };
    auto gain = [&](std::uint32_t y) {
        std::int64_t g = 0;
        for (size_t j = 0; j < m; ++j)
            if (cover[nb[y * m + j]] == 0) g += weight[nb[y * m + j]];
        return g;
    };
    // The best cover of a random uncovered element, `barred` excepted.
    auto bringIn = [&](std::uint32_t barred) {
        const std::uint32_t x = uncovered[randomBelow(random, static_cast<std::uint32_t>(uncovered.size()))];
        const size_t tries = std::min<size_t>(m, 48);
        std::uint32_t best = nb[x * m];
        std::int64_t bestGain = -1;
        std::uint32_t ties = 0;
        for (size_t t = 0; t < tries; ++t) {
            const std::uint32_t y = nb[x * m + (tries == m ? t : randomBelow(random, static_cast<std::uint32_t>(m)))];
            if (in[y] || (y == barred && m > 1)) continue;
            const std::int64_t g = gain(y);
            if (g > bestGain) {
                bestGain = g;
                best = y;
                ties = 1;
            } else if (g == bestGain && randomBelow(random, ++ties) == 0) {
                best = y;
            }
        }
        if (bestGain < 0) best = x;
        if (!in[best]) add(best);
        return best;
    };
    // The member whose loss uncovers least, `kept` excepted.
    auto leastUseful = [&](std::uint32_t kept) {
        std::uint32_t best = members.front();
        std::int64_t bestLoss = std::numeric_limits<std::int64_t>::max();
        std::uint32_t ties = 0;
        for (const std::uint32_t y : members) {
            if (y == kept && members.size() > 1) continue;
            if (loss[y] < bestLoss) {
                bestLoss = loss[y];
                best = y;
                ties = 1;
            } else if (loss[y] == bestLoss && randomBelow(random, ++ties) == 0) {
                best = y;
            }
        }
        return best;
    };

    const std::uint32_t none = std::numeric_limits<std::uint32_t>::max();
    while (!uncovered.empty()) bringIn(none);
    std::vector<std::uint32_t> best = members;
    std::uint32_t lastIn = none;
    long long stall = 0;
    for (long long step = 0; step < limits.totalSteps && stall < limits.stallSteps; ++step) {
        if (uncovered.empty()) {
            if (members.size() < best.size()) best = members;
            stall = 0;
            remove(leastUseful(none));
            continue;
        }
        ++stall;
        std::uint32_t out = none;
        if (!members.empty()) {
            out = leastUseful(lastIn);
            remove(out);
        }
        lastIn = bringIn(out);
        for (const std::uint32_t x : uncovered) ++weight[x];
    }
    if (uncovered.empty() && members.size() < best.size()) best = members;
    std::sort(best.begin(), best.end());
    return best;
}

}  // namespace reduce_search

namespace reduce_search {

namespace {

// -a: the binary part is its own negative, the ternary part is doubled.
std::uint32_t negative(SyndromeGroup group, std::uint32_t a) {
    const std::uint32_t binary = a & ((std::uint32_t{1} << group.p) - 1);
    return binary + group.multiple(a - binary, 2);
}

struct Cover {
    SyndromeGroup group;
    std::vector<std::uint32_t> n;
    std::vector<std::uint32_t> s;
    std::vector<std::uint16_t> count;  // per element: the pairs of S and N that reach it
    long long uncovered = 0;

    void recount() {
        std::fill(count.begin(), count.end(), 0);
        for (const std::uint32_t x : s)
            for (const std::uint32_t e : n) ++count[group.add(x, e)];
        uncovered = std::count(count.begin(), count.end(), 0);
    }
    // The change of `uncovered` when member i becomes `to`; applied.
    long long move(size_t i, std::uint32_t to) {
        const long long before = uncovered;
        for (const std::uint32_t e : n)
            if (--count[group.add(s[i], e)] == 0) ++uncovered;
        s[i] = to;
        for (const std::uint32_t e : n)
            if (count[group.add(to, e)]++ == 0) --uncovered;
        return uncovered - before;
    }
};

}  // namespace

Annealed annealCover(SyndromeGroup group, int zw, int dw, int radius, int size, long long steps,
                     std::mt19937_64& random) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<std::uint32_t> generators = chooseGenerators(group, zw, dw, radius, random);
    Cover c{group, neighbourhood(group, zw, dw, generators, radius), {}, std::vector<std::uint16_t>(group.size()), 0};
    for (int i = 0; i < size; ++i) c.s.push_back(randomBelow(random, group.size()));
    c.recount();
    // Hot enough at first to leave a local best, cold at the end.
    const double hot = 1.5;
    const double cold = 0.05;
    long long least = c.uncovered;
    for (long long step = 0; step < steps && c.uncovered > 0; ++step) {
        const double t = hot * std::pow(cold / hot, static_cast<double>(step) / static_cast<double>(steps));
        least = std::min(least, c.uncovered);
        if (unit(random) < 0.9) {
            // A member moves, mostly to cover an element that nothing covers.
            const size_t i = randomBelow(random, static_cast<std::uint32_t>(size));
            std::uint32_t to = randomBelow(random, group.size());
            for (int look = 0; look < 64; ++look) {
                const std::uint32_t x = randomBelow(random, group.size());
                if (c.count[x] == 0) {
                    to = group.add(x, negative(group, c.n[randomBelow(random, static_cast<std::uint32_t>(c.n.size()))]));
                    break;
                }
            }
            const std::uint32_t from = c.s[i];
            const long long delta = c.move(i, to);
            if (delta > 0 && unit(random) >= std::exp(-static_cast<double>(delta) / t)) c.move(i, from);
        } else {
            // A generator changes, and with it every neighbourhood.
            const int position = static_cast<int>(randomBelow(random, static_cast<std::uint32_t>(zw + dw)));
            const std::uint32_t old = generators[static_cast<size_t>(position)];
            const long long before = c.uncovered;
            generators[static_cast<size_t>(position)] = drawGenerator(group, position < zw, random);
            std::vector<std::uint32_t> oldN = std::move(c.n);
            c.n = neighbourhood(group, zw, dw, generators, radius);
            c.recount();
            const long long delta = c.uncovered - before;
            if (delta > 0 && unit(random) >= std::exp(-static_cast<double>(delta) / t)) {
                generators[static_cast<size_t>(position)] = old;
                c.n = std::move(oldN);
                c.recount();
            }
        }
    }
    std::vector<std::uint32_t> s = c.s;
    std::sort(s.begin(), s.end());
    s.erase(std::unique(s.begin(), s.end()), s.end());
    return {std::move(generators), std::move(s), c.uncovered == 0, c.uncovered == 0 ? 0 : least};
}

namespace {

using Matrix = std::vector<std::vector<int>>;

// Vectors of GF(s)^k as numbers, digit j the j-th coordinate.
struct Field {
    int s;
    int k;

    int size() const { return static_cast<int>(std::lround(std::pow(s, k))); }
    int digit(int v, int j) const {
        for (int i = 0; i < j; ++i) v /= s;
        return v % s;
    }
    int number(const std::vector<int>& digits) const {
        int v = 0;
        for (int j = k; j-- > 0;) v = v * s + (digits[j] % s + s) % s;
        return v;
    }
    // The representative of v's line: its first non-zero digit 1.
    int normal(int v) const {
        std::vector<int> d(k);
        int scale = 0;
        for (int j = 0; j < k; ++j) {
            d[j] = digit(v, j);
            if (scale == 0 && d[j] != 0) scale = d[j];  // its own inverse in GF(2) and GF(3)
        }
        for (int& x : d) x *= scale;
        return number(d);
    }
};

// Gauss-Jordan mod s on rows of `width` digits: the rank; `pivots` gets the
// column of each row's leading 1.
int reduce(Matrix& rows, int width, int s, std::vector<int>* pivots = nullptr) {
    const int height = static_cast<int>(rows.size());
    int rank = 0;
    for (int c = 0; c < width && rank < height; ++c) {
        int p = rank;
        while (p < height && rows[p][c] == 0) ++p;
        if (p == height) continue;
        std::swap(rows[rank], rows[p]);
        std::vector<int>& top = rows[rank];
        if (top[c] == 2)
            for (int& x : top) x = x * 2 % s;
        for (int i = 0; i < height; ++i) {
            if (i == rank || rows[i][c] == 0) continue;
            const int f = rows[i][c];
            for (int j = 0; j < width; ++j) rows[i][j] = ((rows[i][j] - f * top[j]) % s + s) % s;
        }
        if (pivots) pivots->push_back(c);
        ++rank;
    }
    return rank;
}

}  // namespace

std::vector<std::vector<std::uint32_t>> kernelGenerators(int s, int n, int k) {
    const Field f{s, k};
    std::vector<int> lines;
    std::vector<int> lineOf(f.size(), -1);
    for (int v = 1; v < f.size(); ++v)
        if (f.normal(v) == v) {
            lineOf[v] = static_cast<int>(lines.size());
            lines.push_back(v);
        }
    const int t = static_cast<int>(lines.size());
    // What each invertible matrix does to the lines.
    const double matrices = std::pow(s, k * k);
    if (matrices > 5e6) throw std::runtime_error("the kernel's dimension is too large to enumerate");
    std::set<std::vector<int>> actions;
    for (long long m = 0; m < static_cast<long long>(matrices); ++m) {
        Matrix a(k, std::vector<int>(k));
        long long x = m;
        for (auto& row : a)
            for (int& d : row) {
                d = static_cast<int>(x % s);
                x /= s;
            }
        Matrix copy = a;
        if (reduce(copy, k, s) < k) continue;
        std::vector<int> action;
        for (const int v : lines) {
            std::vector<int> image(k, 0);
            for (int r = 0; r < k; ++r)
                for (int j = 0; j < k; ++j) image[r] += a[r][j] * f.digit(v, j);
            action.push_back(lineOf[f.normal(f.number(image))]);
        }
        actions.insert(std::move(action));
    }
    // Up to equivalence a kernel is how many positions take each line (slot
    // 0: none); a count vector and its images under the matrices are one class.
    double compositions = 1;  // C(n + t, t)
    for (int i = 1; i <= t; ++i) compositions = compositions * (n + i) / i;
    if (compositions > 5e7) throw std::runtime_error("too many kernels to enumerate");
    std::vector<std::vector<std::uint32_t>> classes;
    std::unordered_set<std::uint64_t> seen;
    std::vector<int> counts(t + 1, 0);
    auto key = [&](const std::vector<int>& c) {
        std::uint64_t h = 0;
        for (const int x : c) h = h * static_cast<std::uint64_t>(n + 1) + static_cast<std::uint64_t>(x);
        return h;
    };
    auto visit = [&] {
        if (seen.count(key(counts))) return;
        std::vector<int> image(t + 1);
        for (const std::vector<int>& action : actions) {
            image[0] = counts[0];
            for (int i = 0; i < t; ++i) image[action[i] + 1] = counts[i + 1];
            seen.insert(key(image));
        }
        // The kernel's generator matrix, a column per position.
        Matrix rows(k);
        for (int i = 0; i <= t; ++i)
            for (int c = 0; c < counts[i]; ++c)
                for (int r = 0; r < k; ++r) rows[r].push_back(i == 0 ? 0 : f.digit(lines[i - 1], r));
        std::vector<int> pivots;
        if (reduce(rows, n, s, &pivots) < k) return;
        // Unit vectors at the other positions; a pivot's generator makes the
        // syndrome of its kernel row 0.
        std::vector<bool> pivot(n, false);
        for (const int j : pivots) pivot[j] = true;
        std::vector<std::uint32_t> generators(n, 0);
        std::uint32_t next = 1;
        for (int j = 0; j < n; ++j)
            if (!pivot[j]) {
                generators[j] = next;
                next *= static_cast<std::uint32_t>(s);
            }
        for (int r = 0; r < k; ++r) {
            std::uint32_t g = 0;
            for (int j = 0; j < n; ++j) {
                if (pivot[j] || rows[r][j] == 0) continue;
                g = s == 2 ? g ^ generators[j] : g + static_cast<std::uint32_t>(s - rows[r][j]) * generators[j];
            }
            generators[pivots[r]] = g;
        }
        classes.push_back(std::move(generators));
    };
    auto split = [&](auto& self, int slot, int left) -> void {
        if (slot == t) {
            counts[t] = left;
            visit();
            return;
        }
        for (int c = 0; c <= left; ++c) {
            counts[slot] = c;
            self(self, slot + 1, left - c);
        }
    };
    split(split, 0, n);
    return classes;
}

}  // namespace reduce_search
