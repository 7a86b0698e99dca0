#pragma once

#include <QFont>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <QTextOption>

#include <array>
#include <functional>

namespace korbisto::ui {

// A multi-line plain-text field. Long lines wrap at blanks (a word wider than
// the field breaks anywhere, so nothing hides beyond the right edge), and the
// field can say which lines it shows for a text, so that lines are counted
// and read as the user sees them. Ctrl+Tab and Ctrl+Shift+Tab leave it.
class TextField : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TextField(QWidget* parent = nullptr);

    // The lines the field shows for `text` at its current width and font:
    // each line of the text, split where the field wraps it. The answer for
    // the last text is kept, so asking again for it costs a comparison.
    QStringList shownLines(const QString& text) const;

    // Applied to typed, pasted and dropped text before it enters the field.
    using InsertFilter = std::function<QString(const QString&)>;
    void setInsertFilter(InsertFilter filter) { insertFilter_ = std::move(filter); }

    // Sets the text as the program's own, passed through the insert filter.
    void setFieldText(const QString& text);

    // Puts `text` in place of the field's text where the two differ and
    // keeps the cursor and the selection where they were; textChanged is not
    // emitted. After a text set by the program it is no undo step of its
    // own; otherwise it joins the last edit where that edit was one block.
    void rewrite(const QString& text);

    // Empties the field as an edit the user can undo.
    void clearUndoably();

signals:
    // The width at which lines wrap has changed, so the shown lines may have.
    void wrapWidthChanged();

protected:
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The width a line may take before it wraps; negative when lines never wrap.
    qreal wrapWidth() const;
    // The sum of the characters' advances, or negative when the line holds
    // characters whose width depends on their neighbours.
    qreal estimatedWidth(QStringView line) const;
    void appendShownLines(QStringList& lines, QStringView line, qreal width) const;
    // Inserts at the cursor as one undo step.
    void insertAtCursor(const QString& text);

    InsertFilter insertFilter_;
    int lastViewportWidth_ = -1;

    // Advances of the characters below U+0300 in the field's font.
    mutable QFont advancesFont_;
    mutable std::array<qreal, 0x300> advances_{};
    mutable bool advancesValid_ = false;

    struct ShownLinesCache {
        QString text;
        qreal width = 0;
        QFont font;
        QTextOption::WrapMode mode = QTextOption::NoWrap;
        QStringList lines;
        bool valid = false;
    };
    mutable ShownLinesCache cache_;
};

}  // namespace korbisto::ui
