#pragma once

#include "outcomes.h"
#include "text_helpers.h"

#include <QString>

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace korbisto {

// Code of one tip cell. The outcomes carry their outcome column (1, 2, 3 for
// "1", "0", "2"), so a slip record's column is a cell code as it stands.
enum TipCode : std::uint8_t {
    kTipEmpty = 0,
    kTipOne = 1,   // "1"
    kTipZero = 2,  // "0"
    kTipTwo = 3,   // "2"
    kTipOther = 4  // any other text, kept beside the row
};

TipCode tipCodeOfText(QStringView text);
QString textOfTipCode(TipCode code);

// The tip-row table: row number, 13 tips and hit count per row, one header row
// implied. A row costs 24 bytes, so the 1,594,323 rows of 3^13 fit in 40 MB.
// Rows are addressed 1 .. rowCount() - 1 like the grid; columns 0 .. 14.
class TipTable {
public:
    static constexpr int kColumns = 15;
    static constexpr int kHitColumn = 14;
    static constexpr std::int32_t kNoNumber = std::numeric_limits<std::int32_t>::min();
    static constexpr std::int8_t kNoHits = -1;

    struct Row {
        std::int32_t number = kNoNumber;
        std::uint32_t odd = 0;  // 1-based index of texts kept beside the row; 0 for none
        std::array<std::uint8_t, kMatches> tips{};
        std::int8_t hits = kNoHits;
    };

    explicit TipTable(int dataRows = 0);

    // Rows including the header row, as the grid counts them.
    int rowCount() const { return static_cast<int>(rows_.size()) + 1; }
    int dataRowCount() const { return static_cast<int>(rows_.size()); }
    // Grows with empty rows or drops rows at the end.
    void setDataRowCount(int n);
    void reserve(int n) { rows_.reserve(static_cast<size_t>(n)); }

    // Empty every cell of every data row; the row count stays.
    void clearCells();
    // Drop all rows.
    void clearAll();

    // A tip row has a tip in match 1.
    bool isTipRow(int row) const { return rowAt(row).tips[0] != kTipEmpty; }
    // The table counts as empty when match 1 of row 1 is empty.
    bool isEmpty() const { return rows_.empty() || rows_[0].tips[0] == kTipEmpty; }

    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    bool cellEmpty(int row, int column) const;

    std::int32_t number(int row) const { return rowAt(row).number; }
    void setNumber(int row, std::int32_t number);
    TipCode tip(int row, int match) const { return static_cast<TipCode>(rowAt(row).tips[match - 1]); }
    void setTip(int row, int match, TipCode code);
    // -1 when the hit cell is empty.
    int hits(int row) const { return rowAt(row).hits; }
    void setHits(int row, int hits);

    // Appends a row with the given number and cell codes (outcomes only).
    void appendRow(std::int32_t number, const std::array<std::uint8_t, kMatches>& tips) {
        Row r;
        r.number = number;
        r.tips = tips;
        rows_.push_back(r);
    }

    // Numbers rows 1 .. n in their current order.
    void renumber();

    // Raw access for the hot loops of evaluation, sorting and the file readers.
    const Row& rowAt(int row) const { return rows_[static_cast<size_t>(row - 1)]; }
    Row& rowAt(int row) { return rows_[static_cast<size_t>(row - 1)]; }
    std::vector<Row>& rows() { return rows_; }
    const std::vector<Row>& rows() const { return rows_; }
    // Texts of the cells that hold something other than their compact form.
    const QString& oddText(const Row& row, int column) const;
    // The text of a tip cell without making a string of it; valid as long as
    // the row is not changed.
    QStringView tipView(const Row& row, int match) const;
    // The whole number a cell holds, leading blanks ignored; none for other text.
    std::optional<long long> wholeNumber(const Row& row, int column) const;

private:
    static constexpr std::int8_t kOddHits = -2;
    static constexpr std::int32_t kOddNumber = kNoNumber + 1;

    std::array<QString, kColumns>& oddTexts(Row& row);

    std::vector<Row> rows_;
    std::vector<std::array<QString, kColumns>> odd_;
};

// InitTipGridHeaders: the header row of a tip-row grid ("Tipp" and the match
// numbers, centred for the widths 40 and 20) and the row numbers 1 .. n in
// column 0. Column 0 of such a grid is 40 pixels wide.
inline constexpr int kTipGridNumberWidth = 40;
std::array<QString, 14> InitTipGridHeaders(TipTable& table, const TextWidthFn& textWidth);

// The rows as the clipboard copy and the CSV export write them: per data row
// the 13 tip texts joined by `separator`, each line ending in CR LF. Rows
// `first` .. `last` (grid numbering), all rows by default.
QString exportRowsText(const TipTable& table, QChar separator, int first = 1, int last = -1);

}  // namespace korbisto
