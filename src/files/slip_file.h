#pragma once

#include "binary_io.h"

#include "core/tip_document.h"
#include "core/tip_table.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>

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

// The most records a slip may hold: ten times the largest full system. A
// larger file is no slip of ours and would only exhaust the memory.
inline constexpr qint64 kMaxSlipRows = 16777216;

// Reads a slip file a block of rows at a time, so that a command can work
// through any slip holding only one block. Rows are numbered 1 .. n across
// the blocks; bytes after the last whole record are ignored.
class SlipReader {
public:
    static constexpr int kBlockRows = 4096;

    // Opens the file; throws KorbistoError, also for a file of more records
    // than a slip may hold, before any row is read.
    explicit SlipReader(const QString& path);
    ~SlipReader();
    SlipReader(const SlipReader&) = delete;
    SlipReader& operator=(const SlipReader&) = delete;

    // The number of whole records the file holds; 0 for a pipe.
    qint64 records() const { return records_; }
    // Appends the next rows, at most `maxRows`, to `table`; returns how many,
    // 0 at the end of the file.
    int readInto(TipTable& table, int maxRows = kBlockRows);
    // The bytes after the last whole record, once every row has been read.
    qint64 leftoverBytes() const { return atEnd_ ? held_ : 0; }

private:
    std::unique_ptr<InputFile> file_;
    std::unique_ptr<char[]> buffer_;
    qint64 capacity_ = 0;
    qint64 records_ = 0;
    qint64 held_ = 0;   // bytes read ahead and not yet decoded
    qint64 offset_ = 0; // where they start in the buffer
    std::int32_t number_ = 0;
    bool atEnd_ = false;
};

// Reads the slip file into `table` (rows 1 .. n numbered 1 .. n, hit cells
// empty) and returns n.
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

// Writes a slip a block of rows at a time; the file takes the place of the
// old one only on commit, so a refused row or a failure leaves it as it was.
class SlipWriter {
public:
    explicit SlipWriter(const QString& path);  // throws KorbistoError
    ~SlipWriter();
    SlipWriter(const SlipWriter&) = delete;
    SlipWriter& operator=(const SlipWriter&) = delete;

    // The tip rows of `block`; throws the refusal of a tip that is no 0, 1
    // or 2, naming its row counted over all blocks written.
    void write(const TipTable& block);
    void commit();

private:
    std::unique_ptr<AtomicFile> file_;
    QByteArray buffer_;
    int rowsBefore_ = 0;
};

// The refusal of an empty table, before a save dialog opens.
void checkCanSave(const TipDocument& document);
// "Als Spielschein speichern...": refuses an empty table, writes the rows and
// shows the file's name. A refused or failed save leaves the name as it was.
void saveSlip(TipDocument& document, const QString& path);

}  // namespace korbisto
