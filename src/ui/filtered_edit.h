#pragma once

#include <QLineEdit>
#include <QString>

#include <functional>

namespace korbisto::ui {

// A single-line edit whose user input passes a character filter: typed keys,
// pasted text, dropped text and the middle-button selection alike. Each
// inserted character is kept, replaced or dropped; what the program itself
// writes (setTextFromProgram) is shown as it is.
class FilteredLineEdit : public QLineEdit {
    Q_OBJECT

public:
    // Returns the character to insert, or a null QChar to drop it.
    using CharFilter = std::function<QChar(QChar)>;
    // What the filter sees: every insertion, or only the characters typed
    // one key at a time (a paste then brings its text as it is).
    enum class Scope { AllInput, TypedKeys };

    FilteredLineEdit(CharFilter filter, QWidget* parent = nullptr, Scope scope = Scope::AllInput);

    // Sets the text without filtering and without reporting a user edit.
    void setTextFromProgram(const QString& text);

    // The filter applied to a whole inserted text.
    QString filtered(const QString& inserted) const;

    // "X" and "x" become "0"; "0", "1", "2" pass; everything else is dropped.
    static QChar winningRowFilter(QChar c);
    // Digits and the comma pass; everything else is dropped.
    static QChar quotaFilter(QChar c);
    // Digits pass; everything else is dropped.
    static QChar digitFilter(QChar c);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class InsertionFilter;
    CharFilter filter_;
    Scope scope_;
    QString accepted_;  // the text as it stood before the current change
    bool fromProgram_ = false;
};

}  // namespace korbisto::ui
