#pragma once

#include "structure.h"

#include "core/tip_table.h"

#include <array>
#include <cstdint>

namespace korbisto {

// Rows of the full system of a captured structure: the product of the crossed
// outcomes per match; 0 when a match has none.
long long fullSystemRowCount(const SystemStructure& structure);

// The rows of the full system in their order, a block at a time, so that any
// number of them can be written without holding them all: match 1 changes
// slowest, match 13 fastest, each over its crossed outcomes in the order 1,
// 0, 2. Rows are numbered 1 .. n, their hit cells empty.
class FullSystemRows {
public:
    explicit FullSystemRows(const SystemStructure& structure);

    long long count() const { return count_; }
    // Appends the next rows, at most `maxRows`, to `table`; returns how many,
    // 0 after the last.
    int appendTo(TipTable& table, int maxRows);

private:
    SystemStructure structure_;
    long long count_ = 0;
    long long next_ = 0;
    std::array<int, kMatches> position_{};
    std::array<std::uint8_t, kMatches> tips_{};
};

// VollsystemEntwickeln: every row of the full system at once.
TipTable expandFullSystem(const SystemStructure& structure);

}  // namespace korbisto
