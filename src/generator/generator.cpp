#include "generator.h"

#include "core/error.h"

#include <algorithm>

namespace korbisto {

namespace {

// A draw of a row is this cheap; the clock is read once per so many.
constexpr int kAttemptsPerClockCheck = 256;

constexpr std::uint32_t kAllRows = 1594323;  // 3^13

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
    for (int m = 0; m < kMatches; ++m) {
        Pool& pool = pools_[static_cast<size_t>(m)];
        for (int c = 1; c <= 3; ++c) {
            // An outcome is in the pool as often as its level; a tip code is its column.
            const int level = levels[static_cast<size_t>(3 * m + c - 1)];
            for (int i = 0; i < level && i < kMaxLevel; ++i) pool.codes[pool.size++] = static_cast<std::uint8_t>(c);
        }
        if (pool.size == 0) throw KorbistoError(missingSelectionMessage(m + 1));
    }
    // No run accepts more rows than either number; a request of 0 means all.
    const int most = requested > 0 ? std::min(requested, combinations_) : combinations_;
    rows_.reserve(static_cast<size_t>(most));
}

bool GeneratorRun::attempt() {
    random_.reseed(seeds_());
    ++attempts_;
    std::array<std::uint8_t, kMatches> row;
    std::uint32_t index = 0;
    for (size_t m = 0; m < kMatches; ++m) {
        const Pool& pool = pools_[m];
        row[m] = pool.codes[random_.draw(pool.size)];
        index = index * 3 + (row[m] - 1u);
    }
    std::uint64_t& word = seen_[index / 64];
    const std::uint64_t bit = std::uint64_t{1} << (index % 64);
    if ((word & bit) == 0) {
        word |= bit;
        rows_.push_back(row);
        if (static_cast<long long>(rows_.size()) == requested_) {
            state_ = State::Reached;
        } else if (static_cast<long long>(rows_.size()) == combinations_) {
            // Any further row would be one of these.
            state_ = State::Exhausted;
        }
    }
    return state_ == State::Running;
}

bool GeneratorRun::advance(std::chrono::nanoseconds slice) {
    const auto end = std::chrono::steady_clock::now() + slice;
    while (running()) {
        for (int i = 0; i < kAttemptsPerClockCheck; ++i)
            if (!attempt()) return false;
        if (std::chrono::steady_clock::now() >= end) break;
    }
    return running();
}

void GeneratorRun::finish() {
    while (running() && attempt()) {
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
