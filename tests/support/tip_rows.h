#pragma once

#include "printers.h"

#include "core/bet_model.h"
#include "core/evaluation.h"
#include "core/tip_document.h"
#include "core/tip_table.h"
#include "files/text_import.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace korbisto {
inline void PrintTo(TipDocument::CountStyle style, std::ostream* os) {
    *os << (style == TipDocument::CountStyle::Grouped ? "grouped" : "plain");
}
inline void PrintTo(ImportMode mode, std::ostream* os) {
    *os << (mode == ImportMode::FixedWidth ? "fixed width" : "separated");
}
}  // namespace korbisto

// Tip rows written as 13 characters, one per match: "1", "0", "2", or "-"
// for an empty cell.
namespace korbisto::test {

inline QString tipText(char c) { return c == '-' ? QString() : QString(QChar::fromLatin1(c)); }

// A winning row, "-" for a match without a result.
WinningRow rowOf(const char* digits);
// The same typed into the model's 13 edits, one after the other.
void setWinningRow(BetModel& model, const char* digits);
// Fills row r, numbered `number` (r when negative).
void setRow(TipTable& table, int r, const char* digits, int number = -1);
// A table of these rows, numbered 1 .. n.
TipTable tableOf(const std::vector<const char*>& rows);
// The 13 tips of a row as one text, "-" for an empty cell.
QString rowDigits(const TipTable& table, int row);
// The 13 tip cells of a row.
QStringList tipTexts(const TipTable& table, int row);
QList<QStringList> rows(const TipTable& table);
// "1|0|2" -> "1", "0", "2" and ten empty cells.
QStringList cells(const char* row);
// The grid after an import; without rows it keeps one empty row.
QList<QStringList> expectedRows(const std::vector<const char*>& texts);

// A bet-slip record by hand: byte 0 `sys`, then per match one byte each for
// "1", "0" and "2"; "-" leaves all three 0.
QByteArray slipRecord(const char* tips, char sys = 0);
// A slip file with one record per row.
void writeSlip(const QString& path, const std::vector<const char*>& rows);

}  // namespace korbisto::test
