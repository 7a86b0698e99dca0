#pragma once

#include "structure.h"
#include "vew_catalogue.h"

#include "core/bet_model.h"
#include "core/tip_table.h"

#include <array>
#include <cstdint>

namespace korbisto {

class CrossSheet;

// The position each match takes in a system's rows: two-way matches 1 ..
// AnzZW, three-way matches AnzZW + 1 .. AnzZW + AnzDW, both in match order;
// 0 for every other match.
struct WegeNummern {
    std::array<std::int32_t, kMatches> ZWNr{};
    std::array<std::int32_t, kMatches> DWNr{};
};

WegeNummern WegeNummerieren(const SystemStructure& structure);

// Replaces the rows of `table` by the tip rows of a loaded system mapped onto
// the crosses: each two-way and three-way match plays the outcome its
// position names, each banker its own outcome. Rows are numbered 1 .. n in
// the order of the system. Returns false, leaving the table alone, when the
// system does not have the structure's shape.
bool VewEntwickeln(const SystemStructure& structure, const VewReihen& rows, TipTable& table);

// "VEW-System abwickeln": develops the system the sheet offers into the table;
// returns its number of rows, 0 when the sheet offers none.
int BVEWClick(CrossSheet& sheet, BetModel& model);

}  // namespace korbisto
