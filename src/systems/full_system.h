#pragma once

#include "structure.h"

#include "core/tip_table.h"

namespace korbisto {

// Rows of the full system of a captured structure: the product of the crossed
// outcomes per match; 0 when a match has none.
long long fullSystemRowCount(const SystemStructure& structure);

// VollsystemEntwickeln: every row of the full system, match 1 changing
// slowest, match 13 fastest, each over its crossed outcomes in the order 1, 0,
// 2. Rows are numbered 1 .. n, their hit cells empty.
TipTable expandFullSystem(const SystemStructure& structure);

}  // namespace korbisto
