#pragma once

#include "core/bet_model.h"
#include "core/tip_table.h"

#include <QObject>
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

    QString rowsText() const { return QString::number(rows.dataRowCount()); }  // LReihen
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

// The entry window's grid with its two labels. The window shows it; every
// operation on the rows is here.
class EntryGrid : public QObject {
    Q_OBJECT

public:
    static constexpr int kInitialDataRows = 35;

    explicit EntryGrid(QObject* parent = nullptr);  // 35 numbered, empty rows

    const TipTable& table() const { return table_; }
    // The grid counts as empty when match 1 of row 1 is empty.
    bool isEmpty() const { return table_.isEmpty(); }
    const QString& fileName() const { return fileName_; }  // LDatei
    const QString& rowsText() const { return rowsText_; }  // LReihen

    // Shows the rows of an import; LDatei takes the name of the text file
    // that was loaded into the field (LDatei0).
    void takeImport(TipImport import, const QString& textFileName);

    // BGridDelClick: empties every cell of every row, row numbers included;
    // the row count stays. Nothing happens on an empty grid.
    void clear();

    // Throws the refusal for an empty grid, before the save dialog opens.
    void checkCanSave() const;
    // Writes the rows as a bet slip; refuses an empty grid and any cell that
    // is no tip, writing nothing then. LDatei shows the file name.
    void saveSlip(const QString& path);

    // Throws the refusal for an empty grid.
    void checkCanCopy() const;
    // Puts these rows into the main window's table for evaluation: as many
    // rows as here, row numbers and tips copied, hit cells empty, LReihen
    // copied. Nothing else of the main window changes.
    void copyTo(BetModel& model) const;

signals:
    void tableAboutToChange();
    void tableChanged();
    void labelsChanged();

private:
    TipTable table_;
    QString fileName_;
    QString rowsText_ = QStringLiteral("0");
};

}  // namespace korbisto
