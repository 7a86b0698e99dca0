#include "covering_code.h"

#include <algorithm>
#include <array>

namespace korbisto {

namespace {

constexpr int kMostPositions = 13;

std::uint32_t power3(int n) {
    std::uint32_t r = 1;
    for (int i = 0; i < n; ++i) r *= 3;
    return r;
}

// What position `i` adds to a word's number per unit of its digit.
std::array<std::uint32_t, kMostPositions> strides(int zw, int dw) {
    std::array<std::uint32_t, kMostPositions> s{};
    std::uint32_t step = 1;
    for (int i = zw + dw; i-- > 0;) {
        s[static_cast<size_t>(i)] = step;
        step *= i < zw ? 2u : 3u;
    }
    return s;
}

std::uint32_t addTernary(std::uint32_t a, std::uint32_t b, int q) {
    std::uint32_t r = 0;
    std::uint32_t unit = 1;
    for (int i = 0; i < q; ++i) {
        r += (a % 3 + b % 3) % 3 * unit;
        a /= 3;
        b /= 3;
        unit *= 3;
    }
    return r;
}

}  // namespace

std::uint32_t spaceSize(int zw, int dw) { return (std::uint32_t{1} << zw) * power3(dw); }

void wordDigits(int zw, int dw, std::uint32_t word, std::uint8_t* digits) {
    for (int i = zw + dw; i-- > 0;) {
        const std::uint32_t radix = i < zw ? 2 : 3;
        digits[i] = static_cast<std::uint8_t>(word % radix);
        word /= radix;
    }
}

std::uint32_t SyndromeGroup::size() const { return (std::uint32_t{1} << p) * power3(q); }

std::uint32_t SyndromeGroup::add(std::uint32_t a, std::uint32_t b) const {
    const std::uint32_t mask = (std::uint32_t{1} << p) - 1;
    return ((a & mask) ^ (b & mask)) | (addTernary(a >> p, b >> p, q) << p);
}

std::uint32_t SyndromeGroup::multiple(std::uint32_t a, int times) const {
    std::uint32_t r = 0;
    for (int i = 0; i < times; ++i) r = add(r, a);
    return r;
}

CoveringCode syndromeCode(int zw, int dw, SyndromeGroup group, std::span<const std::uint32_t> generators,
                          std::span<const std::uint32_t> syndromes) {
    CoveringCode code{zw, dw, {}};
    const int n = zw + dw;
    const std::uint32_t order = group.size();
    std::vector<std::uint8_t> wanted(order, 0);
    for (const std::uint32_t s : syndromes)
        if (s < order) wanted[s] = 1;

    // Small groups get a table of "plus generator i"; the large ones (a code
    // stored as its own words) add digit by digit.
    const bool table = static_cast<std::uint64_t>(order) * static_cast<std::uint64_t>(n) <= (1u << 21);
    std::vector<std::uint32_t> plus;
    if (table) {
        plus.resize(static_cast<size_t>(order) * static_cast<size_t>(n));
        for (std::uint32_t g = 0; g < order; ++g)
            for (int i = 0; i < n; ++i) plus[g * static_cast<size_t>(n) + static_cast<size_t>(i)] = group.add(g, generators[static_cast<size_t>(i)]);
    }

    // Word by word in order, the last position fastest: each digit that moves,
    // also when it wraps round to 0, adds its generator once.
    std::array<std::uint8_t, kMostPositions> digits{};
    const std::uint32_t words = spaceSize(zw, dw);
    std::uint32_t syndrome = 0;
    for (std::uint32_t w = 0; w < words; ++w) {
        if (wanted[syndrome]) code.words.push_back(w);
        for (int i = n - 1; i >= 0; --i) {
            syndrome = table ? plus[syndrome * static_cast<size_t>(n) + static_cast<size_t>(i)]
                             : group.add(syndrome, generators[static_cast<size_t>(i)]);
            const std::uint8_t radix = i < zw ? 2 : 3;
            if (++digits[static_cast<size_t>(i)] < radix) break;
            digits[static_cast<size_t>(i)] = 0;
        }
    }
    return code;
}

std::vector<std::uint32_t> unitGenerators(int zw, int dw) {
    std::vector<std::uint32_t> g;
    for (int i = 0; i < zw; ++i) g.push_back(std::uint32_t{1} << i);
    for (int j = 0; j < dw; ++j) g.push_back(power3(j) << zw);
    return g;
}

CoveringCode directSum(const CoveringCode& a, const CoveringCode& b) {
    CoveringCode sum{a.zw + b.zw, a.dw + b.dw, {}};
    const auto s = strides(sum.zw, sum.dw);
    // Where each part's positions land in the sum.
    auto contributions = [&](const CoveringCode& part, int binaryAt, int ternaryAt) {
        std::vector<std::uint32_t> values;
        values.reserve(part.words.size());
        std::array<std::uint8_t, kMostPositions> digits{};
        for (const std::uint32_t w : part.words) {
            wordDigits(part.zw, part.dw, w, digits.data());
            std::uint32_t v = 0;
            for (int i = 0; i < part.zw; ++i) v += digits[static_cast<size_t>(i)] * s[static_cast<size_t>(binaryAt + i)];
            for (int j = 0; j < part.dw; ++j)
                v += digits[static_cast<size_t>(part.zw + j)] * s[static_cast<size_t>(ternaryAt + j)];
            values.push_back(v);
        }
        return values;
    };
    const std::vector<std::uint32_t> va = contributions(a, 0, sum.zw);
    const std::vector<std::uint32_t> vb = contributions(b, a.zw, sum.zw + a.dw);
    sum.words.reserve(va.size() * vb.size());
    for (const std::uint32_t x : va)
        for (const std::uint32_t y : vb) sum.words.push_back(x + y);
    std::sort(sum.words.begin(), sum.words.end());
    return sum;
}

namespace {

// The words with their digits rewritten by `reshape` into a code of the new
// shape; duplicates go.
template <typename Reshape>
CoveringCode rewritten(const CoveringCode& code, int zw, int dw, Reshape reshape) {
    CoveringCode result{zw, dw, {}};
    const auto s = strides(zw, dw);
    std::array<std::uint8_t, kMostPositions> in{};
    std::array<std::uint8_t, kMostPositions> out{};
    result.words.reserve(code.words.size());
    for (const std::uint32_t w : code.words) {
        wordDigits(code.zw, code.dw, w, in.data());
        reshape(in, out);
        std::uint32_t v = 0;
        for (int i = 0; i < zw + dw; ++i) v += out[static_cast<size_t>(i)] * s[static_cast<size_t>(i)];
        result.words.push_back(v);
    }
    std::sort(result.words.begin(), result.words.end());
    result.words.erase(std::unique(result.words.begin(), result.words.end()), result.words.end());
    return result;
}

}  // namespace

CoveringCode binaryFromTernary(const CoveringCode& code) {
    if (code.dw == 0) return CoveringCode{code.zw + 1, code.dw - 1, {}};
    const int n = code.length();
    return rewritten(code, code.zw + 1, code.dw - 1, [&](const auto& in, auto& out) {
        std::copy(in.begin(), in.begin() + code.zw, out.begin());
        out[static_cast<size_t>(code.zw)] = std::min<std::uint8_t>(in[static_cast<size_t>(n - 1)], 1);
        std::copy(in.begin() + code.zw, in.begin() + n - 1, out.begin() + code.zw + 1);
    });
}

CoveringCode punctured(const CoveringCode& code, int position) {
    const bool binary = position < code.zw;
    return rewritten(code, code.zw - (binary ? 1 : 0), code.dw - (binary ? 0 : 1), [&](const auto& in, auto& out) {
        std::copy(in.begin(), in.begin() + position, out.begin());
        std::copy(in.begin() + position + 1, in.begin() + code.length(), out.begin() + position);
    });
}

CoveringCode fullSpace(int zw, int dw) {
    CoveringCode code{zw, dw, std::vector<std::uint32_t>(spaceSize(zw, dw))};
    for (std::uint32_t w = 0; w < code.words.size(); ++w) code.words[w] = w;
    return code;
}

std::vector<std::uint32_t> ternaryHammingGenerators(int m) {
    // One point per line through 0: its lowest non-zero digit is 1.
    std::vector<std::uint32_t> points;
    for (std::uint32_t v = 1; v < power3(m); ++v) {
        std::uint32_t x = v;
        while (x % 3 == 0) x /= 3;
        if (x % 3 == 1) points.push_back(v);
    }
    return points;
}

std::vector<std::uint32_t> binaryHammingGenerators(int m) {
    std::vector<std::uint32_t> g;
    for (std::uint32_t v = 1; v < (1u << m); ++v) g.push_back(v);
    return g;
}

std::vector<std::uint32_t> ternaryGolayGenerators() {
    // x^i mod g(x), g = x^5 + x^4 - x^3 + x^2 - 1, a factor of x^11 - 1 over GF(3).
    std::vector<std::uint32_t> g;
    std::array<int, 5> c{1, 0, 0, 0, 0};
    constexpr std::array<int, 5> x5{1, 0, 2, 1, 2};  // x^5 = 1 + 2x^2 + x^3 + 2x^4
    for (int i = 0; i < 11; ++i) {
        std::uint32_t v = 0;
        for (int j = 5; j-- > 0;) v = v * 3 + static_cast<std::uint32_t>(c[static_cast<size_t>(j)]);
        g.push_back(v);
        const int top = c[4];
        for (int j = 4; j > 0; --j) c[static_cast<size_t>(j)] = c[static_cast<size_t>(j - 1)];
        c[0] = 0;
        for (int j = 0; j < 5; ++j) c[static_cast<size_t>(j)] = (c[static_cast<size_t>(j)] + top * x5[static_cast<size_t>(j)]) % 3;
    }
    return g;
}

CoveringCode ternaryHamming(int m) {
    const std::vector<std::uint32_t> g = ternaryHammingGenerators(m);
    const std::uint32_t zero = 0;
    return syndromeCode(0, static_cast<int>(g.size()), SyndromeGroup{0, m}, g, std::span(&zero, 1));
}

CoveringCode binaryHamming(int m) {
    const std::vector<std::uint32_t> g = binaryHammingGenerators(m);
    const std::uint32_t zero = 0;
    return syndromeCode(static_cast<int>(g.size()), 0, SyndromeGroup{m, 0}, g, std::span(&zero, 1));
}

CoveringCode ternaryGolay() {
    const std::vector<std::uint32_t> g = ternaryGolayGenerators();
    const std::uint32_t zero = 0;
    return syndromeCode(0, 11, SyndromeGroup{0, 5}, g, std::span(&zero, 1));
}

int coveringRadius(const CoveringCode& code) {
    if (code.words.empty()) return -1;
    const std::uint32_t size = spaceSize(code.zw, code.dw);
    const auto s = strides(code.zw, code.dw);
    std::vector<std::uint8_t> distance(size, 0xFF);
    std::vector<std::uint32_t> queue;
    queue.reserve(size);
    for (const std::uint32_t w : code.words)
        if (distance[w] == 0xFF) {
            distance[w] = 0;
            queue.push_back(w);
        }
    // Breadth first from every word at once; each position's digit changes.
    int radius = 0;
    std::array<std::uint8_t, kMostPositions> digits{};
    for (size_t head = 0; head < queue.size(); ++head) {
        const std::uint32_t w = queue[head];
        const std::uint8_t d = distance[w];
        radius = d;
        wordDigits(code.zw, code.dw, w, digits.data());
        for (int i = 0; i < code.length(); ++i) {
            const int radix = i < code.zw ? 2 : 3;
            const std::uint32_t base = w - digits[static_cast<size_t>(i)] * s[static_cast<size_t>(i)];
            for (int v = 0; v < radix; ++v) {
                const std::uint32_t x = base + static_cast<std::uint32_t>(v) * s[static_cast<size_t>(i)];
                if (distance[x] == 0xFF) {
                    distance[x] = static_cast<std::uint8_t>(d + 1);
                    queue.push_back(x);
                }
            }
        }
    }
    return radius;
}

}  // namespace korbisto
