#pragma once

#include "row_words.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace korbisto {

struct RowCover {
    // Rows of the set, in its order, each once: every row of the set has one
    // of them with at least `guarantee` of 13 signs equal.
    std::vector<RowWord> rows;
    // The set is a whole cross product and these are the catalogue's
    // reduced system for it.
    bool fromCatalogue = false;
};

struct CoverOptions {
    const std::atomic<bool>* stop = nullptr;
    // Now and then: how many distinct rows of the set are covered so far.
    std::function<void(std::int64_t covered, std::int64_t total)> progress;
};

// A small cover of `rows` (any order, a row may come twice) for a guarantee
// of 12, 11 or 10: the greedy choice of the row that covers most rows still
// uncovered (ties to the first), improved by exchanging rows. Where the rows
// are a whole cross product, the catalogue's reduced system, or the greedy
// cover where that is smaller (it is tried on small products only). None
// once `stop` is seen set, or for another guarantee.
std::optional<RowCover> coverRows(const std::vector<RowWord>& rows, int guarantee, const CoverOptions& options = {});

}  // namespace korbisto
