#pragma once

#include "structure.h"
#include "vew_catalogue.h"

#include "core/tip_table.h"

#include <array>
#include <cstdint>
#include <optional>

namespace korbisto {

// The position each match takes in a system's rows: two-way matches 1 ..
// AnzZW, three-way matches AnzZW + 1 .. AnzZW + AnzDW, both in match order;
// 0 for every other match.
struct WegeNummern {
    std::array<std::int32_t, kMatches> ZWNr{};
    std::array<std::int32_t, kMatches> DWNr{};
};

WegeNummern WegeNummerieren(const SystemStructure& structure);

// VewEntwickeln: the rows of a loaded system mapped onto the crosses. Each
// two-way and three-way match plays the outcome its position names, each
// banker its own outcome. Rows are numbered 1 .. n in the order of the
// system. None when the system does not have the structure's shape.
std::optional<TipTable> expandVew(const SystemStructure& structure, const VewReihen& rows);
// The same for system `number` of the catalogue.
std::optional<TipTable> expandVew(const SystemStructure& structure, int number);

}  // namespace korbisto
