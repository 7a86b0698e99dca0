#pragma once

#include "core/tip_document.h"
#include "core/tip_table.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace korbisto {

// One bet-slip record: byte 0 unused, then three Booleans per match for the
// outcome columns "1", "0", "2".
struct TScheinOffen {
    static constexpr int kSize = 40;
    std::uint8_t sys = 0;
    std::array<std::uint8_t, 39> ja{};
};

// The tips of a record: per match the first true column, or empty.
std::array<std::uint8_t, kMatches> tipsOfRecord(const char* record);

// Reads the slip file into `table` (rows 1 .. n numbered 1 .. n, hit cells
// empty) and returns n. Bytes after the last whole record are ignored.
int readSlipFile(const QString& path, TipTable& table);

// SpielscheinEinlesen: clears the rows ("Reihen löschen"), reads the file,
// shows its name and row count.
void SpielscheinEinlesen(TipDocument& document, const QString& path);

// Checks that every tip of every tip row is 0, 1 or 2; throws a refusal that
// names row and match otherwise.
void validateSlipRows(const TipTable& table);
// The file bytes of the tip rows of a table (validated first).
QByteArray encodeSlip(const TipTable& table);
// WriteSlipFile: validates all rows, then replaces the file at `path` in one
// step. Nothing is written when a row is refused or the file cannot be made.
void WriteSlipFile(const TipTable& table, const QString& path);

// The refusal of an empty table, before a save dialog opens.
void checkCanSave(const TipDocument& document);
// "Als Spielschein speichern...": refuses an empty table, writes the rows and
// shows the file's name. A refused or failed save leaves the name as it was.
void saveSlip(TipDocument& document, const QString& path);

}  // namespace korbisto
