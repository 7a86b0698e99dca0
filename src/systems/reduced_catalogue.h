#pragma once

#include "covering_code.h"
#include "structure.h"
#include "vew_catalogue.h"

#include "core/tip_table.h"

#include <cstdint>
#include <optional>
#include <span>

namespace korbisto {

// A reduced system of the catalogue: for `zw` two-way and `dw` three-way
// matches, rows of which one has at least `guarantee` correct (12, 11 or 10)
// whatever the results within the crosses.
struct ReducedSystem {
    int zw = 0;
    int dw = 0;
    int guarantee = 0;
    std::uint32_t rows = 0;

    int radius() const { return kMatches - guarantee; }
};

inline constexpr int kLowestGuarantee = 10;
inline constexpr int kHighestGuarantee = 12;

// Every entry: each structure with 1 to 13 two-way and three-way matches, for
// each guarantee.
std::span<const ReducedSystem> reducedCatalogue();

// The entry for the structure, none for a guarantee outside 10..12 or a
// structure without multi-way matches or with more than 13.
std::optional<ReducedSystem> findReducedSystem(int zw, int dw, int guarantee);

// The entry's code, its words over the two-way positions and then the
// three-way ones, as it is built from the stored recipes.
CoveringCode reducedCode(const ReducedSystem& system);

// A code's words in the values of the VEW rows: 4 or 5 on a two-way
// position, 1, 2 or 3 on a three-way one.
VewReihen codeRows(const CoveringCode& code);
// The entry's rows so.
VewReihen reducedRows(const ReducedSystem& system);

// The rows expandReduced gives for the structure: the entry's, or the one
// row of the full system where no match has more than one cross.
std::uint32_t reducedRowCount(int zw, int dw, int guarantee);

// The system for the structure's crosses with the given guarantee, mapped onto
// the crosses as the VEW systems are: the catalogue's entry, or the full
// system (a single row) when no match has two or three crosses. None for an
// incomplete structure or a guarantee outside 10..12.
std::optional<TipTable> expandReduced(const SystemStructure& structure, int guarantee);

}  // namespace korbisto
