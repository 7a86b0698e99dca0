#pragma once

#include "core/tip_document.h"
#include "core/tip_table.h"

namespace korbisto {

class CrossSheet;

// Developed rows in place of a document's: "Reihen löschen" first (so the file
// name goes with the rows), then the rows and their count, grouped.
void showDevelopedRows(TipDocument& document, TipTable rows);

// The full system of a complete sheet into the document; returns its number
// of rows, 0 with nothing done on an incomplete sheet. The window's limit of
// 96,000 rows is the enabled state of its button, not checked here.
long long developFullSystem(const CrossSheet& sheet, TipDocument& document);

// The VEW system the sheet offers into the document; returns its number of
// rows, 0 with nothing done when it offers none.
int developVew(const CrossSheet& sheet, TipDocument& document);

// The reduced system with `guarantee` (12, 11 or 10) for the sheet's structure
// into the document; returns its number of rows, 0 with nothing done on an
// incomplete sheet or for another guarantee.
long long developReduced(const CrossSheet& sheet, int guarantee, TipDocument& document);

}  // namespace korbisto
