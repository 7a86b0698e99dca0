#pragma once

#include "core/tip_document.h"
#include "core/tip_table.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace korbisto {

// The lines of a text as a field that never wraps shows them: split at every
// line break (CR LF, LF or CR), so "a\r\n" shows "a" and an empty line.
QStringList textLines(const QString& text);

// The lines a text field shows for a text: its real lines, or more where the
// field wraps long ones; after a final line break the field shows an empty
// line like any editor.
using FieldLinesFn = std::function<QStringList(const QString& text)>;

// M1Change: what the text field shows after a change.
struct FieldChange {
    QString text;                // tabs replaced by ","
    bool textChanged = false;    // write the text back only then (keeps the cursor)
    int lineCount = 0;           // LZeilen
    bool buttonsEnabled = false; // "Auslesen" and "Textfeld löschen"
};
// Without `shownLines` the field is taken not to wrap.
FieldChange fieldChanged(const QString& text, const FieldLinesFn& shownLines = {});

// Lines counted as the field counts them: an empty last line is not counted,
// so an empty field has none and "a\r\n" has one.
int fieldLineCount(const QStringList& shownLines);

enum class ImportMode { FixedWidth, Separated };

// The outcome of "Auslesen": the rows of the entry grid, numbered 1 .. n.
// When no row was found one empty row remains, as the grid never shrinks
// below one data row.
struct TipImport {
    TipTable rows;
    int rowsFound = 0;
    ImportMode mode = ImportMode::FixedWidth;
    // The separator found in the third line; none in the fixed-width mode.
    std::optional<QChar> separator;
};

// BAuslesenClick: reads tip rows from the text of the field. `shownLines`
// are the field's lines as it shows them (wrapping included); they choose
// the mode, give the rows of the fixed-width mode and the line in which the
// separator is looked for. The separated rows are read from the real lines
// of `fieldText`. The caller's text is never changed. An empty text is
// refused.
TipImport importTipRows(const QString& fieldText, const QStringList& shownLines);
// The same for a field that never wraps.
TipImport importTipRows(const QString& fieldText);

// The entry window's rows before anything was read: 35 numbered, empty rows.
inline constexpr int kEntryRows = 35;
void initEntryRows(TipDocument& rows);

// Shows the rows of an import; the file name becomes that of the text file
// that was loaded into the field (LDatei0).
void takeImport(TipDocument& rows, TipImport import, const QString& textFileName);

// The refusal of an empty grid, before anything is copied.
void checkCanCopy(const TipDocument& rows);
// "Reihen zur Auswertung kopieren": the main window's table gets as many rows
// as `from`, row numbers and tips copied, hit cells empty, and the count of
// `from`. Its file name stays. Refuses an empty grid.
void copyRows(const TipDocument& from, TipDocument& to);

}  // namespace korbisto
