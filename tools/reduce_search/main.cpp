// reduce_search: builds the catalogue of reduced systems.
//
//   reduce_search search --store FILE [--lengths A-B] [--radii 1,2,3] [--seed S]
//                        [--tries N] [--stall N] [--steps N] [--budget OPS] [--max-group N]
//                        [--max-work N] [--tune STEPS] [--max-tuned N]
//       looks for codes smaller than the catalogue would now hold (the store's
//       codes and the rules over them) and appends each one found to the store.
//   reduce_search anneal|cover|kernels --store FILE --zw B --dw T --radius R --p P --q Q ...
//       one structure in one group: generators and S annealed together, S
//       for given generators, or S for every choice of generators up to
//       symmetry (see the README).
//   reduce_search build --store FILE --data FILE.inc --provenance FILE.tsv --results FILE.md
//       picks per structure and radius the smallest code of the constructions, the
//       store and the rules (direct sums, a free position, a three-way position
//       read as a two-way one), checks every one and writes the catalogue.
//
// Searches stop after a number of steps, never after a time, so the same
// seed finds the same codes.

#include "search.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using namespace korbisto;
using namespace reduce_search;

namespace {

constexpr int kLength = 13;
constexpr int kRadii = 3;

// A code of the matrix method with where it came from.
struct Found {
    int zw = 0;
    int dw = 0;
    int radius = 0;
    SyndromeGroup group;
    std::vector<std::uint32_t> generators;
    std::vector<std::uint32_t> syndromes;
    std::string origin;
    std::uint32_t rows = 0;

    CoveringCode code() const { return syndromeCode(zw, dw, group, generators, syndromes); }
};

struct Choice {
    enum Kind { None, Stored, Sum, Binary, DropBinary, DropTernary, Full } kind = None;
    std::uint64_t rows = ~std::uint64_t{0};
    int found = -1;            // Stored
    int zw1 = 0, dw1 = 0, r1 = 0;  // Sum: the first part
};

size_t cell(int zw, int dw, int r) { return static_cast<size_t>((r * 14 + zw) * 14 + dw); }

std::string join(const std::vector<std::uint32_t>& v) {
    std::string s;
    for (size_t i = 0; i < v.size(); ++i) {
        if (i) s += ' ';
        s += std::to_string(v[i]);
    }
    return s;
}

std::vector<std::uint32_t> numbers(const std::string& text) {
    std::vector<std::uint32_t> v;
    std::istringstream in(text);
    for (std::uint64_t x; in >> x;) v.push_back(static_cast<std::uint32_t>(x));
    return v;
}

std::string trim(const std::string& s) {
    const size_t a = s.find_first_not_of(' ');
    const size_t b = s.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

[[noreturn]] void fail(const std::string& message) {
    std::cerr << "reduce_search: " << message << "\n";
    std::exit(1);
}

Found withRows(Found f) {
    f.rows = static_cast<std::uint32_t>(f.code().words.size());
    return f;
}

// The constructions that need no search.
std::vector<Found> constructions() {
    std::vector<Found> all;
    const std::vector<std::uint32_t> zero{0};
    all.push_back(withRows({0, 4, 1, {0, 2}, ternaryHammingGenerators(2), zero, "ternary Hamming code, length 4"}));
    all.push_back(withRows({0, 13, 1, {0, 3}, ternaryHammingGenerators(3), zero, "ternary Hamming code, length 13"}));
    all.push_back(withRows({7, 0, 1, {3, 0}, binaryHammingGenerators(3), zero, "binary Hamming code, length 7"}));
    all.push_back(withRows({0, 11, 2, {0, 5}, ternaryGolayGenerators(), zero, "ternary Golay code, length 11"}));
    for (int r = 1; r <= kRadii; ++r)
        for (int n = 1; n <= r; ++n)
            for (int zw = 0; zw <= n; ++zw)
                all.push_back(withRows({zw, n - zw, r, {zw, n - zw}, unitGenerators(zw, n - zw), zero, "one row"}));
    return all;
}

// The store: one code per line, "zw dw radius p q ; generators ; syndromes ; origin".
std::vector<Found> readStore(const std::string& path) {
    std::vector<Found> all;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> parts;
        std::istringstream fields(line);
        for (std::string part; std::getline(fields, part, ';');) parts.push_back(part);
        if (parts.size() != 4) fail("bad line in " + path + ": " + line.substr(0, 60));
        const std::vector<std::uint32_t> head = numbers(parts[0]);
        if (head.size() != 5) fail("bad head in " + path);
        Found f{static_cast<int>(head[0]), static_cast<int>(head[1]), static_cast<int>(head[2]),
                {static_cast<int>(head[3]), static_cast<int>(head[4])}, numbers(parts[1]), numbers(parts[2]),
                trim(parts[3])};
        if (static_cast<int>(f.generators.size()) != f.zw + f.dw) fail("generators do not fit in " + path);
        all.push_back(withRows(std::move(f)));
    }
    return all;
}

void appendToStore(const std::string& path, const Found& f) {
    std::ofstream out(path, std::ios::app);
    out << f.zw << ' ' << f.dw << ' ' << f.radius << ' ' << f.group.p << ' ' << f.group.q << " ; " << join(f.generators)
        << " ; " << join(f.syndromes) << " ; " << f.origin << '\n';
    if (!out) fail("cannot write " + path);
}

class Catalogue {
public:
    explicit Catalogue(std::vector<Found> found) : found_(std::move(found)) { recompute(); }

    void add(Found f) {
        found_.push_back(std::move(f));
        recompute();
    }
    const Choice& at(int zw, int dw, int r) const { return choice_[cell(zw, dw, r)]; }
    const Found& found(int i) const { return found_[static_cast<size_t>(i)]; }

    CoveringCode develop(int zw, int dw, int r) const {
        const Choice& c = at(zw, dw, r);
        switch (c.kind) {
        case Choice::Full: return fullSpace(zw, dw);
        case Choice::Stored: return found(c.found).code();
        case Choice::Sum: return directSum(develop(c.zw1, c.dw1, c.r1), develop(zw - c.zw1, dw - c.dw1, r - c.r1));
        case Choice::Binary: return binaryFromTernary(develop(zw - 1, dw + 1, r));
        case Choice::DropBinary: return punctured(develop(zw + 1, dw, r), zw);
        case Choice::DropTernary: return punctured(develop(zw, dw + 1, r), zw + dw);
        case Choice::None: break;
        }
        fail("no code for a structure");
    }

    std::string describe(int zw, int dw, int r) const {
        const Choice& c = at(zw, dw, r);
        auto name = [](int z, int d, int rr) {
            return std::to_string(z) + "/" + std::to_string(d) + (rr == 0 ? " full" : " R" + std::to_string(rr));
        };
        switch (c.kind) {
        case Choice::Stored: {
            const Found& f = found(c.found);
            return "matrix Z2^" + std::to_string(f.group.p) + "xZ3^" + std::to_string(f.group.q) + ", " +
                   std::to_string(f.syndromes.size()) + " syndromes: " + f.origin;
        }
        case Choice::Sum: return "direct sum " + name(c.zw1, c.dw1, c.r1) + " + " + name(zw - c.zw1, dw - c.dw1, r - c.r1);
        case Choice::Binary: return "last three-way of " + name(zw - 1, dw + 1, r) + " as two-way";
        case Choice::DropBinary: return "last two-way of " + name(zw + 1, dw, r) + " left out";
        case Choice::DropTernary: return "last three-way of " + name(zw, dw + 1, r) + " left out";
        default: return "full";
        }
    }

private:
    void recompute() {
        choice_.fill(Choice{});
        for (int n = 0; n <= kLength; ++n)
            for (int zw = 0; zw <= n; ++zw) {
                Choice& full = choice_[cell(zw, n - zw, 0)];
                full.kind = Choice::Full;
                full.rows = spaceSize(zw, n - zw);
            }
        for (int r = 1; r <= kRadii; ++r) choice_[cell(0, 0, r)] = choice_[cell(0, 0, 0)];
        // Leaving a position out takes from longer codes, the rest from
        // shorter ones: repeat until nothing gets smaller. Only a strictly
        // smaller code replaces a choice, so no recipe ever leads back to itself.
        for (bool changed = true; changed;) {
            changed = false;
            for (int n = 1; n <= kLength; ++n)
                for (int dw = n; dw >= 0; --dw)
                    for (int r = 1; r <= kRadii; ++r) changed = improve(n - dw, dw, r) || changed;
        }
    }

    bool improve(int zw, int dw, int r) {
        const int n = zw + dw;
        Choice& best = choice_[cell(zw, dw, r)];
        const std::uint64_t before = best.rows;
        auto offer = [&](const Choice& c) {
            if (c.rows < best.rows) best = c;
        };
        for (size_t i = 0; i < found_.size(); ++i) {
            const Found& f = found_[i];
            if (f.zw == zw && f.dw == dw && f.radius == r) offer(Choice{Choice::Stored, f.rows, static_cast<int>(i)});
        }
        for (int z1 = 0; z1 <= zw; ++z1)
            for (int d1 = 0; d1 <= dw; ++d1) {
                if (z1 + d1 == 0 || z1 + d1 == n) continue;
                for (int r1 = 0; r1 <= r; ++r1)
                    offer(Choice{Choice::Sum, at(z1, d1, r1).rows * at(zw - z1, dw - d1, r - r1).rows, -1, z1, d1, r1});
            }
        if (zw > 0) offer(Choice{Choice::Binary, at(zw - 1, dw + 1, r).rows});
        if (n < kLength) {
            offer(Choice{Choice::DropBinary, at(zw + 1, dw, r).rows});
            offer(Choice{Choice::DropTernary, at(zw, dw + 1, r).rows});
        }
        return best.rows < before;
    }

    std::vector<Found> found_;
    std::array<Choice, 4 * 14 * 14> choice_{};
};

// --name value pairs.
std::map<std::string, std::string> options(int argc, char** argv, int from) {
    std::map<std::string, std::string> o;
    for (int i = from; i < argc; ++i) {
        std::string a = argv[i];
        if (a.rfind("--", 0) != 0 || i + 1 >= argc) fail("expected --option value, got " + a);
        o[a.substr(2)] = argv[++i];
    }
    return o;
}

std::string option(const std::map<std::string, std::string>& o, const std::string& name, const std::string& fallback) {
    const auto it = o.find(name);
    return it == o.end() ? fallback : it->second;
}

std::string required(const std::map<std::string, std::string>& o, const std::string& name) {
    const auto it = o.find(name);
    if (it == o.end()) fail("--" + name + " is needed");
    return it->second;
}

std::uint64_t mixSeed(std::uint64_t seed, std::initializer_list<int> parts) {
    std::uint64_t h = seed ^ 0x9E3779B97F4A7C15ull;
    for (const int p : parts) {
        h ^= static_cast<std::uint64_t>(p) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
        h *= 0xBF58476D1CE4E5B9ull;
    }
    return h;
}

int runSearch(const std::map<std::string, std::string>& o, const std::string& command) {
    const std::string store = required(o, "store");
    std::vector<Found> all = constructions();
    for (Found& f : readStore(store)) all.push_back(std::move(f));
    Catalogue catalogue(std::move(all));

    const std::string lengths = option(o, "lengths", "2-13");
    const int fromLength = std::stoi(lengths.substr(0, lengths.find('-')));
    const int toLength = std::stoi(lengths.substr(lengths.find('-') + 1));
    std::vector<int> radii;
    for (char c : option(o, "radii", "1,2,3"))
        if (c >= '1' && c <= '3') radii.push_back(c - '0');
    const std::uint64_t seed = std::stoull(option(o, "seed", "1"));
    const int tries = std::stoi(option(o, "tries", "2"));
    SearchLimits limits;
    limits.stallSteps = std::stoll(option(o, "stall", "20000"));
    limits.totalSteps = std::stoll(option(o, "steps", "300000"));
    const std::uint32_t maxGroup = static_cast<std::uint32_t>(std::stoul(option(o, "max-group", "6561")));
    // Group size times neighbourhood: what one step of the search costs.
    const std::uint64_t maxWork = std::stoull(option(o, "max-work", "1000000"));
    // Elementary operations one search may spend: a large neighbourhood gets fewer steps.
    const double budget = std::stod(option(o, "budget", "3e8"));
    // Generators tuned by short searches, in groups up to --max-tuned elements.
    const int tune = std::stoi(option(o, "tune", "0"));
    const std::uint32_t maxTuned = static_cast<std::uint32_t>(std::stoul(option(o, "max-tuned", "729")));
    const SearchLimits quick{500, 5000};
    const auto started = std::chrono::steady_clock::now();

    for (int n = fromLength; n <= toLength; ++n)
        for (int dw = n; dw >= 0; --dw)
            for (const int r : radii) {
                const int zw = n - dw;
                if (n <= r) continue;
                const auto cellStarted = std::chrono::steady_clock::now();
                const std::uint64_t before = catalogue.at(zw, dw, r).rows;
                // Small groups first: they are quick and set the bar for the rest.
                std::vector<std::pair<std::uint32_t, SyndromeGroup>> groups;
                for (int p = 0; p <= zw; ++p)
                    for (int q = 0; q <= dw; ++q) {
                        const SyndromeGroup g{p, q};
                        if (g.size() >= 2 && g.size() <= maxGroup) groups.emplace_back(g.size(), g);
                    }
                std::sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) {
                    return a.first != b.first ? a.first < b.first : a.second.p < b.second.p;
                });
                for (const auto& [order, group] : groups) {
                    const std::uint64_t kernel = spaceSize(zw, dw) / order;
                    const bool units = group.p == zw && group.q == dw;
                    for (int t = 0; t < tries; ++t) {
                        const std::uint64_t bar = catalogue.at(zw, dw, r).rows;
                        if (kernel >= bar) break;
                        std::mt19937_64 random(mixSeed(seed, {zw, dw, r, group.p, group.q, t}));
                        std::vector<std::uint32_t> generators =
                            units ? unitGenerators(zw, dw) : chooseGenerators(group, zw, dw, r, random);
                        if (!units && tune > 0 && order <= maxTuned)
                            generators = tuneGenerators(group, zw, dw, r, std::move(generators), tune, quick, random);
                        const std::vector<std::uint32_t> nb = neighbourhood(group, zw, dw, generators, r);
                        if (static_cast<std::uint64_t>(order) * nb.size() > maxWork) break;
                        const std::uint64_t fewest = (order + nb.size() - 1) / nb.size();
                        if (fewest * kernel >= bar) break;
                        const auto t0 = std::chrono::steady_clock::now();
                        SearchLimits scaled = limits;
                        const double perStep = static_cast<double>(nb.size() * std::min<size_t>(nb.size(), 48));
                        scaled.totalSteps = std::min(limits.totalSteps, static_cast<long long>(budget / perStep));
                        scaled.stallSteps = std::min(limits.stallSteps, scaled.totalSteps);
                        const std::vector<std::uint32_t> s = smallCover(group, nb, scaled, random);
                        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
                        if (s.size() * kernel >= bar) continue;
                        char origin[256];
                        std::snprintf(origin, sizeof origin, "search seed %llu try %d, %.1f s, by `%s`",
                                      static_cast<unsigned long long>(seed), t, seconds, command.c_str());
                        Found f = withRows({zw, dw, r, group, generators, s, origin});
                        const int radius = coveringRadius(f.code());
                        if (radius < 0 || radius > r) fail("a search result does not cover its space");
                        appendToStore(store, f);
                        catalogue.add(std::move(f));
                    }
                }
                const double seconds =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - cellStarted).count();
                std::printf("%2d/%-2d R%d: %llu -> %llu  (%.1f s)\n", zw, dw, r, static_cast<unsigned long long>(before),
                            static_cast<unsigned long long>(catalogue.at(zw, dw, r).rows), seconds);
                std::fflush(stdout);
            }
    std::printf("search took %.0f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    return 0;
}

// The one structure and group of an `anneal` or `cover` run.
struct Cell {
    std::string store;
    int zw;
    int dw;
    int r;
    SyndromeGroup group;
    std::uint64_t seed;
    int tries;
};

Cell cellOf(const std::map<std::string, std::string>& o) {
    Cell c{required(o, "store"),
           std::stoi(required(o, "zw")),
           std::stoi(required(o, "dw")),
           std::stoi(required(o, "radius")),
           {std::stoi(required(o, "p")), std::stoi(required(o, "q"))},
           std::stoull(option(o, "seed", "1")),
           std::stoi(option(o, "tries", "1"))};
    if (c.group.p > c.zw || c.group.q > c.dw) fail("the group does not fit the structure");
    return c;
}

// A found code into the store, once its covering radius is checked.
void storeChecked(const Cell& c, const std::vector<std::uint32_t>& generators, const std::vector<std::uint32_t>& s,
                  const char* how, int t, double seconds, const std::string& command) {
    char origin[256];
    std::snprintf(origin, sizeof origin, "%s seed %llu try %d, %.1f s, by `%s`", how,
                  static_cast<unsigned long long>(c.seed), t, seconds, command.c_str());
    const Found f = withRows({c.zw, c.dw, c.r, c.group, generators, s, origin});
    const int radius = coveringRadius(f.code());
    if (radius < 0 || radius > c.r) fail("a found code does not cover its space");
    appendToStore(c.store, f);
    std::printf("  %u rows stored\n", f.rows);
}

// One structure in one group with a given |S|: generators and S annealed
// together, for the cells where choosing the generators first falls short.
int runAnneal(const std::map<std::string, std::string>& o, const std::string& command) {
    const Cell c = cellOf(o);
    const auto [zw, dw, r, group] = std::tuple{c.zw, c.dw, c.r, c.group};
    const int size = std::stoi(required(o, "size"));
    const long long steps = static_cast<long long>(std::stod(option(o, "steps", "1e6")));
    if (size < 1) fail("--size must be at least 1");
    for (int t = 0; t < c.tries; ++t) {
        std::mt19937_64 random(mixSeed(c.seed, {zw, dw, r, group.p, group.q, size, t}));
        const auto t0 = std::chrono::steady_clock::now();
        const Annealed a = annealCover(group, zw, dw, r, size, steps, random);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        std::printf("%d/%d R%d in Z2^%d x Z3^%d, |S| = %d, try %d: %s, at best %lld left out (%.1f s)\n", zw, dw, r,
                    group.p, group.q, size, t, a.covers ? "covers" : "no cover", a.leastUncovered, seconds);
        std::fflush(stdout);
        if (!a.covers) continue;
        storeChecked(c, a.generators, a.syndromes, "anneal", t, seconds, command);
        return 0;
    }
    return 1;
}

// One structure with generators given (for instance unit vectors and a few
// more, which every spanning choice comes to up to symmetry): a long search
// for a small S alone.
int runCover(const std::map<std::string, std::string>& o, const std::string& command) {
    const Cell c = cellOf(o);
    const auto [zw, dw, r, group] = std::tuple{c.zw, c.dw, c.r, c.group};
    const std::vector<std::uint32_t> generators = numbers(required(o, "generators"));
    if (static_cast<int>(generators.size()) != zw + dw) fail("one generator per position is needed");
    SearchLimits limits;
    limits.stallSteps = static_cast<long long>(std::stod(option(o, "stall", "2e5")));
    limits.totalSteps = static_cast<long long>(std::stod(option(o, "steps", "2e6")));
    const std::vector<std::uint32_t> nb = neighbourhood(group, zw, dw, generators, r);
    std::size_t best = ~std::size_t{0};
    for (int t = 0; t < c.tries; ++t) {
        std::mt19937_64 random(mixSeed(c.seed, {zw, dw, r, group.p, group.q, t, 7}));
        const auto t0 = std::chrono::steady_clock::now();
        const std::vector<std::uint32_t> s = smallCover(group, nb, limits, random);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        std::printf("%d/%d R%d in Z2^%d x Z3^%d, try %d: |S| = %zu (%.1f s)\n", zw, dw, r, group.p, group.q, t,
                    s.size(), seconds);
        std::fflush(stdout);
        if (s.size() >= best) continue;
        best = s.size();
        storeChecked(c, generators, s, "cover", t, seconds, command);
    }
    return 0;
}

// One two-way-only or three-way-only structure in one group: every choice
// of generators up to symmetry (one per linear kernel), each judged by a
// short search for S, the best few searched long; the smallest code goes
// into the store.
int runKernels(const std::map<std::string, std::string>& o, const std::string& command) {
    const Cell c = cellOf(o);
    const auto [zw, dw, r, group] = std::tuple{c.zw, c.dw, c.r, c.group};
    if ((zw == 0) == (dw == 0) || group.p + group.q < 1) fail("two-way or three-way positions only, in a group of them");
    const int n = zw + dw;
    const int k = n - group.p - group.q;
    SearchLimits quick;
    quick.totalSteps = static_cast<long long>(std::stod(option(o, "quick-steps", "6e5")));
    quick.stallSteps = static_cast<long long>(std::stod(option(o, "quick-stall", "2e5")));
    SearchLimits slow;
    slow.totalSteps = static_cast<long long>(std::stod(option(o, "steps", "5e6")));
    slow.stallSteps = static_cast<long long>(std::stod(option(o, "stall", "2e6")));
    const size_t keep = std::stoul(option(o, "keep", "6"));
    const auto t0 = std::chrono::steady_clock::now();
    std::vector<std::vector<std::uint32_t>> kernels;
    try {
        kernels = kernelGenerators(zw > 0 ? 2 : 3, n, k);
    } catch (const std::exception& e) {
        fail(e.what());
    }
    // The smallest S of either pass is the one stored.
    std::vector<std::uint32_t> best;
    std::size_t bestKernel = 0;
    double bestSeconds = 0;
    auto consider = [&](std::vector<std::uint32_t> s, std::size_t i, double seconds) {
        if (!best.empty() && s.size() >= best.size()) return;
        best = std::move(s);
        bestKernel = i;
        bestSeconds = seconds;
    };
    auto searchFor = [&](std::size_t i, SearchLimits limits, int salt) {
        std::mt19937_64 random(mixSeed(c.seed, {zw, dw, r, group.p, group.q, static_cast<int>(i), salt}));
        const auto t1 = std::chrono::steady_clock::now();
        std::vector<std::uint32_t> s = smallCover(group, neighbourhood(group, zw, dw, kernels[i], r), limits, random);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t1).count();
        const std::size_t size = s.size();
        consider(std::move(s), i, seconds);
        return size;
    };
    std::vector<std::pair<std::size_t, std::size_t>> judged;  // |S|, kernel
    for (std::size_t i = 0; i < kernels.size(); ++i) {
        judged.emplace_back(searchFor(i, quick, 17), i);
        if ((i + 1) % 100 == 0) {
            std::printf("  %zu of %zu kernels, best |S| = %zu\n", i + 1, kernels.size(), best.size());
            std::fflush(stdout);
        }
    }
    std::sort(judged.begin(), judged.end());
    std::printf("%d/%d R%d in Z2^%d x Z3^%d: %zu kernels, best short search |S| = %zu (%.1f s)\n", zw, dw, r, group.p,
                group.q, kernels.size(), best.size(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    for (std::size_t j = 0; j < std::min(keep, judged.size()); ++j) {
        const std::size_t i = judged[j].second;
        std::printf("  kernel %zu: |S| = %zu\n", i, searchFor(i, slow, 19));
        std::fflush(stdout);
    }
    if (best.empty()) fail("no kernel spans the group");
    storeChecked(c, kernels[bestKernel], best, "kernels", static_cast<int>(bestKernel), bestSeconds, command);
    return 0;
}

// Best sizes published, for the table of results; 0 where none is listed.
std::uint64_t reference(int zw, int dw, int r) {
    static const std::map<std::array<int, 3>, std::uint64_t> known = [] {
        std::map<std::array<int, 3>, std::uint64_t> m;
        const std::array<std::uint64_t, 9> t1{27, 73, 186, 486, 1269, 3645, 9477, 27702, 59049};
        const std::array<std::uint64_t, 9> b1{7, 12, 16, 32, 62, 120, 192, 380, 704};
        const std::array<std::uint64_t, 9> t2{8, 17, 34, 81, 219, 555, 729, 2187, 6561};
        const std::array<std::uint64_t, 9> b2{2, 4, 7, 12, 16, 30, 44, 78, 128};
        for (int i = 0; i < 9; ++i) {
            m[{0, 5 + i, 1}] = t1[static_cast<size_t>(i)];
            m[{5 + i, 0, 1}] = b1[static_cast<size_t>(i)];
            m[{0, 5 + i, 2}] = t2[static_cast<size_t>(i)];
            m[{5 + i, 0, 2}] = b2[static_cast<size_t>(i)];
        }
        m[{1, 1, 1}] = 2;
        m[{2, 2, 1}] = 6;
        m[{3, 3, 1}] = 24;
        m[{4, 2, 1}] = 20;
        m[{6, 1, 1}] = 24;
        m[{2, 4, 1}] = 36;
        m[{1, 5, 1}] = 54;
        m[{4, 4, 1}] = 140;
        m[{7, 1, 1}] = 48;
        // The fixed VEW systems.
        for (auto [z, d, rows] : std::initializer_list<std::array<int, 3>>{
                 {5, 0, 8}, {0, 4, 9}, {7, 0, 16}, {3, 3, 24}, {5, 1, 24}, {0, 5, 27}, {7, 1, 48}, {4, 3, 48},
                 {9, 0, 64}, {3, 4, 72}, {0, 6, 81}, {5, 3, 96}, {8, 1, 96}, {2, 5, 108}, {4, 4, 144}})
            if (!m.count({z, d, 1})) m[{z, d, 1}] = static_cast<std::uint64_t>(rows);
        return m;
    }();
    const auto it = known.find({zw, dw, r});
    return it == known.end() ? 0 : it->second;
}

// The sphere-covering bound: space over ball.
std::uint64_t sphereBound(int zw, int dw, int r) {
    std::uint64_t ball = 0;
    // Words within r of one word: choose i binary and j ternary positions.
    auto choose = [](int n, int k) {
        std::uint64_t c = 1;
        for (int i = 0; i < k; ++i) c = c * static_cast<std::uint64_t>(n - i) / static_cast<std::uint64_t>(i + 1);
        return c;
    };
    for (int i = 0; i <= std::min(r, zw); ++i)
        for (int j = 0; i + j <= r && j <= dw; ++j) ball += choose(zw, i) * choose(dw, j) * (std::uint64_t{1} << j);
    const std::uint64_t space = spaceSize(zw, dw);
    return (space + ball - 1) / ball;
}

int runBuild(const std::map<std::string, std::string>& o) {
    std::vector<Found> all = constructions();
    for (Found& f : readStore(required(o, "store"))) all.push_back(std::move(f));
    const Catalogue catalogue(std::move(all));
    const auto started = std::chrono::steady_clock::now();

    std::ostringstream recipes;
    std::vector<std::uint32_t> words;
    std::ostringstream provenance;
    provenance << "zw\tdw\tguarantee\trows\thow\n";
    std::ostringstream results;
    std::map<std::array<int, 3>, std::uint64_t> sizes;
    int entries = 0;
    for (int r = 1; r <= kRadii; ++r)
        for (int n = 1; n <= kLength; ++n)
            for (int zw = n; zw >= 0; --zw) {
                const int dw = n - zw;
                const CoveringCode code = catalogue.develop(zw, dw, r);
                const int radius = coveringRadius(code);
                if (radius < 0 || radius > r)
                    fail("the code for " + std::to_string(zw) + "/" + std::to_string(dw) + " does not cover");
                const Choice& c = catalogue.at(zw, dw, r);
                recipes << "    {" << zw << ", " << dw << ", " << r << ", ";
                switch (c.kind) {
                case Choice::Stored: {
                    const Found& f = catalogue.found(c.found);
                    recipes << "kMatrix, " << code.words.size() << ", 0, 0, 0, " << f.group.p << ", " << f.group.q
                            << ", " << words.size() << ", " << f.syndromes.size() << "},\n";
                    words.insert(words.end(), f.generators.begin(), f.generators.end());
                    words.insert(words.end(), f.syndromes.begin(), f.syndromes.end());
                    break;
                }
                case Choice::Sum:
                    recipes << "kSum, " << code.words.size() << ", " << c.zw1 << ", " << c.dw1 << ", " << c.r1
                            << ", 0, 0, 0, 0},\n";
                    break;
                case Choice::Binary: recipes << "kTwoWay, " << code.words.size() << ", 0, 0, 0, 0, 0, 0, 0},\n"; break;
                case Choice::DropBinary:
                    recipes << "kDropTwoWay, " << code.words.size() << ", 0, 0, 0, 0, 0, 0, 0},\n";
                    break;
                case Choice::DropTernary:
                    recipes << "kDropThreeWay, " << code.words.size() << ", 0, 0, 0, 0, 0, 0, 0},\n";
                    break;
                default: fail("no recipe");
                }
                provenance << zw << '\t' << dw << '\t' << 13 - r << '\t' << code.words.size() << '\t'
                           << catalogue.describe(zw, dw, r) << '\n';
                sizes[{zw, dw, r}] = code.words.size();
                ++entries;
            }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::ofstream data(required(o, "data"));
    data << "// Made by tools/reduce_search build from tools/reduce_search/store.txt; not edited by hand.\n"
            "// Per entry: zw, dw, radius, recipe, rows, the first part of a sum (zw, dw, radius),\n"
            "// the group Z2^p x Z3^q of a matrix code, where its generators and then its\n"
            "// syndromes start in kReducedWords and how many syndromes it has.\n"
            "inline constexpr int kReducedEntries = "
         << entries << ";\ninline constexpr ReducedRecipe kReducedRecipes[kReducedEntries] = {\n"
         << recipes.str() << "};\ninline constexpr std::uint32_t kReducedWords[] = {";
    for (size_t i = 0; i < words.size(); ++i) data << (i % 16 == 0 ? "\n    " : " ") << words[i] << ',';
    data << "\n};\n";
    if (!data) fail("cannot write the data file");

    std::ofstream(required(o, "provenance")) << provenance.str();

    // The table of results, per guarantee one block of zw rows and dw columns.
    std::ofstream md(required(o, "results"));
    md << "# Reduced systems: sizes of the catalogue\n\n"
          "Each cell: our rows; in brackets the best published size where one is known (the\n"
          "upper end of a range, or the fixed VEW system), **bold** where we reach or beat it,\n"
          "a trailing `!` where we miss it; `lb` is the sphere-covering bound. Checked by\n"
          "`reduce_search build` in "
       << static_cast<int>(seconds + 0.5) << " s (developing and checking every entry).\n\n";
    int hits = 0, misses = 0;
    for (int r = 1; r <= kRadii; ++r) {
        md << "## Guarantee " << 13 - r << " (radius " << r << ")\n\n| zw \\ dw |";
        for (int dw = 0; dw <= kLength; ++dw) md << ' ' << dw << " |";
        md << "\n|---|";
        for (int dw = 0; dw <= kLength; ++dw) md << "---|";
        md << '\n';
        for (int zw = 0; zw <= kLength; ++zw) {
            md << "| **" << zw << "** |";
            for (int dw = 0; dw <= kLength; ++dw) {
                if (zw + dw > kLength || zw + dw == 0) {
                    md << " |";
                    continue;
                }
                const std::uint64_t ours = sizes[{zw, dw, r}];
                const std::uint64_t ref = reference(zw, dw, r);
                md << ' ';
                if (ref != 0 && ours <= ref) {
                    md << "**" << ours << "** (" << ref << ")";
                    ++hits;
                } else if (ref != 0) {
                    md << ours << " (" << ref << ")!";
                    ++misses;
                } else {
                    md << ours;
                }
                md << " lb " << sphereBound(zw, dw, r) << " |";
            }
            md << '\n';
        }
        md << '\n';
    }
    md << "Reached or beaten: " << hits << "; missed: " << misses << ".\n";
    std::printf("%d entries, %zu words of matrix codes, checked in %.1f s; %d references reached, %d missed\n", entries,
                words.size(), seconds, hits, misses);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) fail("usage: reduce_search search|anneal|cover|kernels|build --store FILE ...");
    const std::string mode = argv[1];
    std::string command = "reduce_search";
    for (int i = 1; i < argc; ++i) command += std::string(" ") + argv[i];
    const auto o = options(argc, argv, 2);
    if (mode == "search") return runSearch(o, command);
    if (mode == "build") return runBuild(o);
    if (mode == "anneal") return runAnneal(o, command);
    if (mode == "cover") return runCover(o, command);
    if (mode == "kernels") return runKernels(o, command);
    fail("unknown mode " + mode);
}
