#pragma once

// Covering codes over two-way and three-way positions: the arithmetic that the
// reduced-system catalogue is built from. Only the standard library, so that
// the catalogue's search program compiles this file as it is.

#include <cstdint>
#include <span>
#include <vector>

namespace korbisto {

// A set of words over `zw` binary positions followed by `dw` ternary ones. A
// word is its mixed-radix number, position 0 the most significant digit.
struct CoveringCode {
    int zw = 0;
    int dw = 0;
    std::vector<std::uint32_t> words;

    int length() const { return zw + dw; }
};

// 2^zw × 3^dw.
std::uint32_t spaceSize(int zw, int dw);
// The digits of `word` into digits[0 .. zw + dw - 1].
void wordDigits(int zw, int dw, std::uint32_t word, std::uint8_t* digits);

// The group Z2^p × Z3^q of syndromes. An element is its binary part (p bits)
// plus 2^p times its ternary part (q base-3 digits).
struct SyndromeGroup {
    int p = 0;
    int q = 0;

    std::uint32_t size() const;
    std::uint32_t add(std::uint32_t a, std::uint32_t b) const;
    // The element `times` (0..2) times `a`.
    std::uint32_t multiple(std::uint32_t a, int times) const;
};

// The matrix method: every word whose syndrome, the sum over its positions of
// digit × generator, lies in `syndromes`. A binary position needs a generator
// of the binary part, a ternary one of the ternary part. With the unit vectors
// as generators the syndromes are the words themselves.
CoveringCode syndromeCode(int zw, int dw, SyndromeGroup group, std::span<const std::uint32_t> generators,
                          std::span<const std::uint32_t> syndromes);
// The unit vectors: a position's generator for the syndrome of a word being
// the word, in the group Z2^zw × Z3^dw.
std::vector<std::uint32_t> unitGenerators(int zw, int dw);

// Every pair of words: the binary positions of `a`, those of `b`, the ternary
// ones of `a`, those of `b`. The radii add up.
CoveringCode directSum(const CoveringCode& a, const CoveringCode& b);
// The last ternary position read as a new last binary one, 2 counting as 1;
// the radius stays, duplicates go.
CoveringCode binaryFromTernary(const CoveringCode& code);
// Position `position` left out; the radius stays, duplicates go.
CoveringCode punctured(const CoveringCode& code, int position);
// Every word: radius 0.
CoveringCode fullSpace(int zw, int dw);

// The perfect Hamming codes of radius 1: ternary of length (3^m - 1) / 2 from
// the points of the projective space, binary of length 2^m - 1.
CoveringCode ternaryHamming(int m);
CoveringCode binaryHamming(int m);
// The perfect ternary Golay code: length 11, 729 words, radius 2.
CoveringCode ternaryGolay();
// Generators of these codes for syndromeCode.
std::vector<std::uint32_t> ternaryHammingGenerators(int m);
std::vector<std::uint32_t> binaryHammingGenerators(int m);
std::vector<std::uint32_t> ternaryGolayGenerators();

// The largest distance of a word of the space from the code; -1 for an empty
// code.
int coveringRadius(const CoveringCode& code);

}  // namespace korbisto
