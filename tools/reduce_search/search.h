#pragma once

#include "systems/covering_code.h"

#include <cstdint>
#include <random>
#include <vector>

namespace reduce_search {

using korbisto::SyndromeGroup;

// Every syndrome of an error on at most `radius` positions.
std::vector<std::uint32_t> neighbourhood(SyndromeGroup group, int zw, int dw, const std::vector<std::uint32_t>& generators,
                                         int radius);

// Generators for the positions that make the neighbourhood large: random
// ones, then single changes kept while it does not shrink. Binary positions
// take elements of the binary part, ternary ones of the ternary part.
std::vector<std::uint32_t> chooseGenerators(SyndromeGroup group, int zw, int dw, int radius, std::mt19937_64& random);

struct SearchLimits {
    long long stallSteps = 20000;  // steps without a smaller cover before giving up
    long long totalSteps = 400000;
};

// A small set S of group elements with S + N the whole group: weighted local
// search (uncovered elements gain weight each step; the member that covers
// least on its own goes, the best cover of a random uncovered element comes
// in). Returns the smallest cover seen.
std::vector<std::uint32_t> smallCover(SyndromeGroup group, const std::vector<std::uint32_t>& n, SearchLimits limits,
                                      std::mt19937_64& random);

// Generators improved one change at a time, each judged by the cover that a
// short search finds: `steps` changes, kept while the cover does not grow.
std::vector<std::uint32_t> tuneGenerators(SyndromeGroup group, int zw, int dw, int radius,
                                          std::vector<std::uint32_t> generators, int steps, SearchLimits quick,
                                          std::mt19937_64& random);

// Generators for n positions over GF(s) (s = 2 or 3), one list per linear
// kernel of dimension k up to equivalence (positions permuted, three-way ones
// negated, the kernel's basis changed): every essentially different way to
// span GF(s)^(n - k), each once.
std::vector<std::vector<std::uint32_t>> kernelGenerators(int s, int n, int k);

struct Annealed {
    std::vector<std::uint32_t> generators;
    std::vector<std::uint32_t> syndromes;
    bool covers = false;
    long long leastUncovered = 0;  // the fewest elements left out on the way
};

// Generators and a set S of `size` elements sought together, for a code of
// |S| × kernel rows: annealing on the elements S + N leaves out, members
// moved mostly onto what nothing covers, now and then a generator changed.
// Stops at a cover or after `steps` steps.
Annealed annealCover(SyndromeGroup group, int zw, int dw, int radius, int size, long long steps,
                     std::mt19937_64& random);

}  // namespace reduce_search
