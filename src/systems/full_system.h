#pragma once

#include "structure.h"

#include "core/bet_model.h"
#include "core/tip_table.h"

namespace korbisto {

class CrossSheet;

// Rows of the full system of a captured structure: the product of the crossed
// outcomes per match; 0 when a match has none.
long long fullSystemRowCount(const SystemStructure& structure);

// Replaces the rows of `table` by the full system: match 1 changes slowest,
// match 13 fastest, each over its crossed outcomes in the order 1, 0, 2. Rows
// are numbered 1 .. n, their hit cells empty.
void VollsystemEntwickeln(const SystemStructure& structure, TipTable& table);

// "Vollsystem abwickeln": captures the sheet, clears the table and develops
// the full system into it; returns the number of rows. Does nothing and
// returns 0 on an incomplete sheet. The window's 96,000-row limit is the
// enabled state of its button, not checked here.
long long BVollClick(CrossSheet& sheet, BetModel& model);

}  // namespace korbisto
