#include "text_field.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMimeData>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace korbisto::ui {

namespace {

// A line whose summed advances stay this far inside the wrap width cannot
// wrap, whatever hinting does to the glyph positions; closer lines are laid
// out exactly.
constexpr qreal kSlack = 4.0;

// Where the field's document starts a new line: CR LF, LF, CR and the two
// Unicode separators.
inline bool isLineBreak(char16_t c) { return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029; }

}  // namespace

TextField::TextField(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // A scroll bar that comes and goes would change the wrap width with the
    // length of the text.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->installEventFilter(this);
}

qreal TextField::wrapWidth() const {
    if (lineWrapMode() == QPlainTextEdit::NoWrap) return -1;
    const QTextOption option = document()->defaultTextOption();
    if (option.wrapMode() == QTextOption::NoWrap || option.wrapMode() == QTextOption::ManualWrap) return -1;
    // The editor lays its lines out for the viewport's width less the
    // document margin on both sides.
    const int viewportWidth = viewport()->width();
    if (viewportWidth <= 0) return -1;
    qreal width = viewportWidth - 2 * document()->documentMargin();
    if (option.flags() & QTextOption::AddSpaceForLineAndParagraphSeparators)
        width -= QFontMetricsF(document()->defaultFont()).horizontalAdvance(QChar(0x21B5));
    return width;
}

qreal TextField::estimatedWidth(QStringView line) const {
    const QFont font = document()->defaultFont();
    if (!advancesValid_ || advancesFont_ != font) {
        advances_.fill(-1);
        advancesFont_ = font;
        advancesValid_ = true;
    }
    qreal width = 0;
    for (const QChar c : line) {
        const char16_t u = c.unicode();
        // Control characters and everything from the combining marks on may
        // join, vanish or change shape with their neighbours.
        if (u < 0x20 || u >= advances_.size()) return -1;
        qreal& advance = advances_[u];
        if (advance < 0) advance = QFontMetricsF(font).horizontalAdvance(c);
        width += advance;
    }
    return width;
}

void TextField::appendShownLines(QStringList& lines, QStringView line, qreal width) const {
    if (width < 0) {
        lines << line.toString();
        return;
    }
    const qreal estimate = estimatedWidth(line);
    if (estimate >= 0 && estimate + kSlack <= width) {
        lines << line.toString();
        return;
    }
    // Laid out as the editor lays out a block of its document.
    const QString text = line.toString();
    QTextLayout layout(text, document()->defaultFont());
    layout.setTextOption(document()->defaultTextOption());
    layout.beginLayout();
    for (;;) {
        QTextLine shown = layout.createLine();
        if (!shown.isValid()) break;
        shown.setLeadingIncluded(true);
        shown.setLineWidth(width);
        lines << text.mid(shown.textStart(), shown.textLength());
    }
    layout.endLayout();
}

QStringList TextField::shownLines(const QString& text) const {
    const qreal width = wrapWidth();
    const QFont font = document()->defaultFont();
    const QTextOption::WrapMode mode = document()->defaultTextOption().wrapMode();
    if (cache_.valid && cache_.width == width && cache_.mode == mode && cache_.font == font && cache_.text == text)
        return cache_.lines;

    QStringList lines;
    const QStringView all(text);
    const qsizetype n = all.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = all[i].unicode();
        if (!isLineBreak(c)) continue;
        appendShownLines(lines, all.mid(start, i - start), width);
        if (c == u'\r' && i + 1 < n && all[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    appendShownLines(lines, all.mid(start), width);

    cache_ = ShownLinesCache{text, width, font, mode, lines, true};
    return lines;
}

void TextField::setFieldText(const QString& text) { setPlainText(insertFilter_ ? insertFilter_(text) : text); }

void TextField::rewrite(const QString& text) {
    const QString current = toPlainText();
    if (current == text) return;
    // Only the part that differs is replaced, so the document keeps its
    // blocks and the view its place.
    const qsizetype common = std::min(current.size(), text.size());
    qsizetype prefix = 0;
    while (prefix < common && current[prefix] == text[prefix]) ++prefix;
    qsizetype suffix = 0;
    while (suffix < common - prefix && current[current.size() - 1 - suffix] == text[text.size() - 1 - suffix]) ++suffix;

    QTextCursor user = textCursor();
    const int position = user.position();
    const int anchor = user.anchor();
    const QSignalBlocker blocker(this);
    QTextDocument* doc = document();
    // Joined to the edit that brought the text in, so that one undo takes
    // back both (where that edit was a block; typed and pasted text is
    // filtered before it gets in); with nothing to undo, as after a text set
    // by the program, the rewrite is no step of its own either.
    const bool joined = doc->isUndoAvailable();
    if (!joined) doc->setUndoRedoEnabled(false);
    QTextCursor edit(doc);
    if (joined)
        edit.joinPreviousEditBlock();
    else
        edit.beginEditBlock();
    edit.setPosition(static_cast<int>(prefix));
    edit.setPosition(static_cast<int>(current.size() - suffix), QTextCursor::KeepAnchor);
    edit.insertText(text.mid(prefix, text.size() - prefix - suffix));
    edit.endEditBlock();
    if (!joined) doc->setUndoRedoEnabled(true);

    const int last = doc->characterCount() - 1;
    user.setPosition(std::min(anchor, last));
    user.setPosition(std::min(position, last), QTextCursor::KeepAnchor);
    setTextCursor(user);
}

void TextField::clearUndoably() {
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.removeSelectedText();
}

void TextField::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) return;
    QString text = source->text();
    // Read as blanks anyway (toPlainText), so the field holds them as such
    // and wraps where it will be read.
    text.replace(QChar::Nbsp, u' ');
    if (insertFilter_) text = insertFilter_(text);
    // Inserted as plain text directly: the editor's own way builds a
    // document fragment first, which doubles the cost of a large paste.
    insertAtCursor(text);
}

void TextField::keyPressEvent(QKeyEvent* event) {
    // Where Tab is typed into the field, Ctrl+Tab leaves it, as in other
    // programs' text fields; the keys reach every control all the same.
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
        (event->modifiers() & Qt::ControlModifier)) {
        const bool back = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        // The field's own answer is "no" while Tab types into it.
        QWidget::focusNextPrevChild(!back);
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool insertsText = !typed.isEmpty() && !isReadOnly() && event->key() != Qt::Key_Backtab &&
                             !(event->key() == Qt::Key_Tab && tabChangesFocus()) &&
                             !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (insertsText && insertFilter_) {
        const QString filtered = insertFilter_(typed);
        if (filtered != typed) {
            insertAtCursor(filtered);
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextField::insertAtCursor(const QString& text) {
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

bool TextField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport() && event->type() == QEvent::Resize) {
        const int width = static_cast<QResizeEvent*>(event)->size().width();
        if (width != lastViewportWidth_) {
            lastViewportWidth_ = width;
            emit wrapWidthChanged();
        }
    }
    return QPlainTextEdit::eventFilter(watched, event);
}

void TextField::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) emit wrapWidthChanged();
}

}  // namespace korbisto::ui
