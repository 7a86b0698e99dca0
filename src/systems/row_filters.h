#pragma once

#include "row_words.h"

#include "core/outcomes.h"
#include "core/tip_table.h"

#include <QString>
#include <QStringView>

#include <array>
#include <atomic>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace korbisto {

// MIN..MAX, both ends included; an end left out is 0 or no bound.
struct CountRange {
    static constexpr int kOpen = std::numeric_limits<int>::max();
    int min = 0;
    int max = kOpen;

    bool contains(int value) const { return value >= min && value <= max; }
    bool operator==(const CountRange&) const = default;
};

// Matches as bits: match m is bit m - 1.
using MatchSet = std::uint16_t;
inline constexpr MatchSet kAllMatches = (1u << kMatches) - 1;

enum class FilterKind : std::uint8_t {
    Signs,    // how often `sign` stands in `matches`
    Run,      // the longest run of equal signs over matches 1..13
    Changes,  // matches 1..12 whose sign differs from the next one's
    Level,    // matches whose outcome has favourite level `level`
};

// One condition on a row: its count of the kind lies in `range`.
struct RowFilter {
    FilterKind kind = FilterKind::Signs;
    CountRange range;
    std::uint8_t sign = kTipOne;  // Signs: tip code 1..3
    MatchSet matches = kAllMatches;  // Signs
    int level = 1;                   // Level: 0 (out) .. 3

    bool operator==(const RowFilter&) const = default;
};

// After the other filters: the rows at least `share` probable, or the `best`
// most probable ones, ties in candidate order.
struct ProbabilityFilter {
    enum class Mode : std::uint8_t { None, AtLeast, Best };
    Mode mode = Mode::None;
    double share = 0;
    std::int64_t best = 0;

    bool operator==(const ProbabilityFilter&) const = default;
};

// What a player keeps from one match day to the next.
struct FilterList {
    std::vector<RowFilter> filters;
    // A row passes when at most this many of `filters` fail.
    int tolerance = 0;
    // The favourite levels the Level filters read; all out when none.
    std::optional<PatternLevels> levels;
    ProbabilityFilter probability;

    bool operator==(const FilterList&) const = default;
};

// Per match the weights of "1", "0" and "2"; the chances are their shares,
// a third each where all three are 0.
using MatchWeights = std::array<std::array<double, 3>, kMatches>;

// A set of low halves (matches 7..13), one bit each.
using LowHalves = std::array<std::uint64_t, (kLowWords + 63) / 64>;

// The rows to filter: the full system of a cross sheet in its order, or the
// tip rows of a table in theirs (rows with anything but 1, 0, 2 left out).
class Candidates {
public:
    // None when a match has no cross.
    static std::optional<Candidates> ofCrosses(const OutcomeCrosses& crosses);
    static Candidates ofTable(const TipTable& table);

    std::int64_t size() const;
    // The table's tip rows that were left out.
    std::int64_t skipped() const { return skipped_; }
    // Calls visit(word, high, low) for every candidate in order, with the
    // word's halves (matches 1..6 and 7..13); stops early, returning false,
    // once `stop` is seen set.
    template <typename Visit>
    bool forEach(Visit&& visit, const std::atomic<bool>* stop = nullptr) const;
    // A full system: its rows are every high half it holds with every low one.
    bool fullSystem() const { return crosses_; }
    // For a full system: calls visit(high, lows) for its high halves in order.
    template <typename Visit>
    bool forEachHigh(Visit&& visit, const std::atomic<bool>* stop = nullptr) const {
        for (const RowWord high : high_) {
            if (stop && stop->load(std::memory_order_relaxed)) return false;
            visit(high, lowBits_);
        }
        return true;
    }

private:
    // The full system: every high half times every low half.
    std::vector<RowWord> high_;
    std::vector<RowWord> low_;
    LowHalves lowBits_{};
    // A table's rows.
    std::vector<RowWord> words_;
    bool crosses_ = false;
    std::int64_t skipped_ = 0;
};

struct FilterOutcome {
    std::int64_t candidates = 0;
    std::vector<RowWord> rows;  // the rows that pass, in candidate order
    // With weights: the chance that the result is one of the rows that pass.
    std::optional<double> probability;
};

// The rows of `candidates` that pass `filters`; the probability filter needs
// weights and is skipped without. None once `stop` is seen set.
std::optional<FilterOutcome> applyFilters(const Candidates& candidates, const FilterList& filters,
                                          const MatchWeights* weights = nullptr,
                                          const std::atomic<bool>* stop = nullptr);

// The rows as a table, numbered 1..n.
TipTable tableOfWords(const std::vector<RowWord>& words);

// The name of a kind as the command line and the filter file write it:
// "signs", "run", "changes", "level".
QString filterKindName(FilterKind kind);
std::optional<FilterKind> filterKindOfName(QStringView name);

// Beyond this many filters a list is refused: each costs a pass over the rows.
inline constexpr int kMostFilters = 100;

// Parsers for the text forms the command line and the filter file share.
// Each gives its value, or a German reason why the text is none.
template <typename T>
struct Parsed {
    std::optional<T> value;
    QString error;
};

// A count of decimal digits alone, at most nine of them.
std::optional<int> parseCount(QStringView text);
// "MIN..MAX", "..MAX", "MIN..", ".." or a single count; MIN > MAX is refused.
Parsed<CountRange> parseCountRange(QStringView text);
// "1-6", "1,3,5-7": matches 1..13.
Parsed<MatchSet> parseMatchSet(QStringView text);
// "310,111,003,...": per match the levels of "1", "0" and "2".
Parsed<PatternLevels> parseLevelPattern(QStringView text);
// A share such as "0.001", "0,001" or "0,1 %".
Parsed<double> parseShare(QStringView text);
// A filter's value as the options take it: Signs "S=MIN..MAX[@MATCHES]"
// with S one of 1, 0, X, 2; Level "L=MIN..MAX" with L 0..3; Run and Changes
// "MIN..MAX".
Parsed<RowFilter> parseRowFilter(FilterKind kind, QStringView text);

// The text parseRowFilter reads back, in its shortest form.
QString rowFilterText(const RowFilter& filter);
QString countRangeText(const CountRange& range);
// "1-6", "1,3,5-7": what parseMatchSet reads back.
QString matchSetText(MatchSet matches);
QString levelPatternText(const PatternLevels& levels);
// A share as parseShare reads it back: every digit, never an exponent.
QString shareText(double share);

template <typename Visit>
bool Candidates::forEach(Visit&& visit, const std::atomic<bool>* stop) const {
    const auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
    if (crosses_) {
        for (const RowWord high : high_) {
            if (stopped()) return false;
            const RowWord base = high * kLowWords;
            for (const RowWord low : low_) visit(base + low, high, low);
        }
        return true;
    }
    for (size_t i = 0; i < words_.size(); ++i) {
        if (i % 65536 == 65535 && stopped()) return false;
        visit(words_[i], words_[i] / kLowWords, words_[i] % kLowWords);
    }
    return true;
}

}  // namespace korbisto
