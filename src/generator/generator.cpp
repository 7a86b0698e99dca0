#include "generator.h"

#include "core/error.h"

#include <algorithm>

namespace korbisto {

namespace {

// A draw of a row is this cheap; the clock is read once per so many.
constexpr int kAttemptsPerClockCheck = 256;

constexpr std::uint32_t kAllRows = 1594323;  // 3^13

// The seed of draw k of an attempt (0 .. 12) from the attempt's seed s is
// times[k] * s + plus[k]: the generator's steps taken at once, so that no
// draw waits for the one before.
struct Jumps {
    std::array<std::uint32_t, kMatches> times{};
    std::array<std::uint32_t, kMatches> plus{};
};
constexpr Jumps kJumps = [] {
    Jumps jumps;
    std::uint32_t times = 1;
    std::uint32_t plus = 0;
    for (size_t k = 0; k < kMatches; ++k) {
        times *= Lcg::kMultiplier;
        plus = plus * Lcg::kMultiplier + Lcg::kIncrement;
        jumps.times[k] = times;
        jumps.plus[k] = plus;
    }
    return jumps;
}();

int selectedOutcomes(const PatternLevels& levels, int match) {
    int n = 0;
    for (int c = 0; c < 3; ++c) n += levels[static_cast<size_t>(3 * (match - 1) + c)] > 0 ? 1 : 0;
    return n;
}

}  // namespace

const char* PositionText(int k) {
    // Column 1 is "1", 2 is "0", 3 (k mod 3 = 0) is "2".
    static constexpr const char* kTexts[] = {"2", "1", "0"};
    return kTexts[k % 3];
}

PatternCounts countPattern(const PatternLevels& levels) {
    PatternCounts counts;
    for (int m = 1; m <= kMatches; ++m) {
        const int n = selectedOutcomes(levels, m);
        if (n >= 1) counts.combinations *= n;
        counts.bankers += n == 1 ? 1 : 0;
        counts.zw += n == 2 ? 1 : 0;
        counts.dw += n == 3 ? 1 : 0;
    }
    return counts;
}

std::optional<int> firstMatchWithoutSelection(const PatternLevels& levels) {
    for (int m = 1; m <= kMatches; ++m)
        if (selectedOutcomes(levels, m) == 0) return m;
    return std::nullopt;
}

QString missingSelectionMessage(int match) {
    return refusal(QStringLiteral("Sie müssen für Spiel %1 eine Auswahl treffen.").arg(match));
}

SeedSource clockSeeds() {
    return [] {
        const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
        return static_cast<std::uint32_t>(ticks);
    };
}

SeedSource countingSeeds(std::uint32_t start) {
    return [next = start]() mutable { return next++; };
}

GeneratorRun::GeneratorRun(const PatternLevels& levels, int requested, SeedSource seeds)
    : requested_(requested),
      combinations_(countPattern(levels).combinations),
      seeds_(std::move(seeds)),
      seen_((kAllRows + 63) / 64) {
    std::uint32_t place = kAllRows;
    for (int m = 0; m < kMatches; ++m) {
        Pool& pool = pools_[static_cast<size_t>(m)];
        place /= 3;
        for (int c = 1; c <= 3; ++c) {
            // Column c ("1", "0", "2") is the digit c - 1 of the row's place, tip code c.
            const int level = levels[static_cast<size_t>(3 * m + c - 1)];
            for (int i = 0; i < level && i < kMaxLevel; ++i)
                pool.places[pool.size++] = static_cast<std::uint32_t>(c - 1) * place;
        }
        if (pool.size == 0) throw KorbistoError(missingSelectionMessage(m + 1));
    }
    // No run accepts more rows than either number; a request of 0 means all.
    const int most = requested > 0 ? std::min(requested, combinations_) : combinations_;
    rows_.reserve(static_cast<size_t>(most));
}

bool GeneratorRun::attempts(int count) {
    // The rows of a few attempts are drawn first, as their places in the
    // 3^13 alone, and the words of the bitmap that hold them fetched
    // meanwhile; then they are taken in order, as one attempt after the
    // other would take them, and only a new row is spelt out.
    constexpr int kMost = 16;
    std::array<std::uint32_t, kMost> indices;
    count = std::min(count, kMost);
    for (int i = 0; i < count; ++i) {
        const std::uint32_t start = seeds_();
        std::uint32_t index = 0;
        for (size_t m = 0; m < kMatches; ++m) {
            // As Lcg::draw(n) after m + 1 steps from the attempt's seed.
            const Pool& pool = pools_[m];
            const std::uint32_t seed = start * kJumps.times[m] + kJumps.plus[m];
            index += pool.places[static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed) * pool.size) >> 32)];
        }
        indices[static_cast<size_t>(i)] = index;
#if defined(__GNUC__)
        __builtin_prefetch(&seen_[index / 64]);
#endif
    }
    for (int i = 0; i < count && running(); ++i) {
        ++attempts_;
        std::uint32_t index = indices[static_cast<size_t>(i)];
        std::uint64_t& word = seen_[index / 64];
        const std::uint64_t bit = std::uint64_t{1} << (index % 64);
        if ((word & bit) != 0) continue;
        word |= bit;
        std::array<std::uint8_t, kMatches>& row = rows_.emplace_back();
        for (size_t m = kMatches; m-- > 0; index /= 3) row[m] = static_cast<std::uint8_t>(1 + index % 3);
        if (static_cast<long long>(rows_.size()) == requested_) {
            state_ = State::Reached;
        } else if (static_cast<long long>(rows_.size()) == combinations_) {
            // Any further row would be one of these.
            state_ = State::Exhausted;
        }
    }
    return running();
}

bool GeneratorRun::advance(std::chrono::nanoseconds slice) {
    const auto end = std::chrono::steady_clock::now() + slice;
    while (running()) {
        for (int i = 0; i < kAttemptsPerClockCheck; i += 16)
            if (!attempts(16)) return false;
        if (std::chrono::steady_clock::now() >= end) break;
    }
    return running();
}

void GeneratorRun::finish() {
    while (running() && attempts(16)) {
    }
}

void GeneratorRun::stop() {
    if (state_ == State::Running) state_ = State::Stopped;
}

TipTable GeneratorRun::table() const {
    TipTable table;
    table.reserve(static_cast<int>(rows_.size()));
    for (size_t i = 0; i < rows_.size(); ++i) table.appendRow(static_cast<int>(i) + 1, rows_[i]);
    return table;
}

OutcomeCounts GeneratorRun::outcomeCounts() const {
    OutcomeCounts counts{};
    for (const auto& row : rows_)
        for (size_t m = 0; m < kMatches; ++m) ++counts[3 * m + row[m] - 1];
    return counts;
}

}  // namespace korbisto
