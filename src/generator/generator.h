#pragma once

#include "core/error.h"
#include "core/outcomes.h"
#include "core/tip_table.h"

#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace korbisto {

// Outcome positions k = (m - 1) * 3 + c for match m and column c ("1", "0",
// "2"); the level of position k is at outcomeIndex(m, c) = k - 1.
inline constexpr int kPositions = kOutcomeCrosses;

// "1", "0" or "2", the text of position k (1 .. 39).
const char* PositionText(int k);

// What the pattern allows: the distinct rows, and the matches with two,
// three and one selected outcome.
struct PatternCounts {
    int combinations = 1;
    int zw = 0;
    int dw = 0;
    int bankers = 0;
};
PatternCounts countPattern(const PatternLevels& levels);

// The lowest match none of whose outcomes has a level, if any.
std::optional<int> firstMatchWithoutSelection(const PatternLevels& levels);
// "Sie müssen für Spiel 4 eine Auswahl treffen." with the abort line.
QString missingSelectionMessage(int match);

// The generator's 32-bit linear congruential generator: each draw first
// advances the seed, then scales it to the range.
class Lcg {
public:
    static constexpr std::uint32_t kMultiplier = 134775813u;
    static constexpr std::uint32_t kIncrement = 1u;

    void reseed(std::uint32_t seed) { seed_ = seed; }
    // 0 .. n - 1
    std::uint32_t draw(std::uint32_t n) {
        seed_ = seed_ * kMultiplier + kIncrement;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed_) * n) >> 32);
    }
    std::uint32_t seed() const { return seed_; }

private:
    std::uint32_t seed_ = 0;
};

// Where the seed of each attempt comes from.
using SeedSource = std::function<std::uint32_t()>;
// The low 32 bits of a high-resolution monotonic clock, read at each attempt.
SeedSource clockSeeds();
// start, start + 1, start + 2, ... (mod 2^32): attempt k gets start + k, so
// that a run can be made again row for row.
SeedSource countingSeeds(std::uint32_t start);

// How often each outcome was drawn among the accepted rows, by position.
using OutcomeCounts = std::array<int, kPositions>;

// One run of "Reihen bilden": distinct rows drawn from the pattern until the
// requested number is reached, Stop is asked for, or every combination has
// been drawn. It advances in slices, so a window stays responsive.
class GeneratorRun {
public:
    enum class State {
        Running,
        Reached,    // the requested number of rows
        Stopped,    // by stop()
        Exhausted,  // every combination drawn before the request was reached
    };

    // The pattern must have a selection on every match. A request of 0 is
    // never reached.
    GeneratorRun(const PatternLevels& levels, int requested, SeedSource seeds);

    // Draws until the slice of time is used up or the run has ended; returns
    // whether it is still running.
    bool advance(std::chrono::nanoseconds slice);
    // Draws until the run has ended.
    void finish();
    // Ends the run at its next step.
    void stop();

    State state() const { return state_; }
    bool running() const { return state_ == State::Running; }
    long long attempts() const { return attempts_; }
    int requested() const { return requested_; }
    // The accepted rows in the order they were accepted, their tip codes.
    const std::vector<std::array<std::uint8_t, kMatches>>& rows() const { return rows_; }
    // The rows as a table, numbered 1 .. n.
    TipTable table() const;
    OutcomeCounts outcomeCounts() const;

private:
    // A few attempts, fewer when the run ends among them; false once it has.
    bool attempts(int count);

    // Per entry what its outcome adds to the row's place in the 3^13: an
    // outcome is in the pool as often as its level.
    struct Pool {
        std::array<std::uint32_t, 9> places{};
        std::uint32_t size = 0;
    };
    std::array<Pool, kMatches> pools_{};
    int requested_ = 0;
    int combinations_ = 1;
    SeedSource seeds_;
    std::vector<std::uint64_t> seen_;  // one bit per row of the 3^13
    std::vector<std::array<std::uint8_t, kMatches>> rows_;
    long long attempts_ = 0;
    State state_ = State::Running;
};

}  // namespace korbisto
