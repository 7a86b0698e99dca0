#include "filtered_edit.h"

#include <QKeyEvent>
#include <QValidator>

namespace korbisto::ui {

// The validator sees the whole new text; only the stretch that differs from
// the text before the change was inserted by the user, so only that stretch
// is filtered. Texts the program set stay untouched, whatever they hold.
class InsertionFilter : public QValidator {
public:
    explicit InsertionFilter(FilteredLineEdit& edit) : QValidator(&edit), edit_(edit) {}

    State validate(QString& input, int& pos) const override {
        if (edit_.fromProgram_ || edit_.scope_ == FilteredLineEdit::Scope::TypedKeys) return Acceptable;
        const QString& before = edit_.accepted_;
        qsizetype prefix = 0;
        const qsizetype maxPrefix = std::min(before.size(), input.size());
        while (prefix < maxPrefix && before[prefix] == input[prefix]) ++prefix;
        qsizetype suffix = 0;
        const qsizetype maxSuffix = std::min(before.size(), input.size()) - prefix;
        while (suffix < maxSuffix && before[before.size() - 1 - suffix] == input[input.size() - 1 - suffix]) ++suffix;
        const qsizetype insertedLength = input.size() - prefix - suffix;
        if (insertedLength <= 0) return Acceptable;  // deletions pass as they are
        const QString inserted = input.mid(prefix, insertedLength);
        const QString kept = edit_.filtered(inserted);
        if (kept == inserted) return Acceptable;
        input = input.left(prefix) + kept + input.right(suffix);
        pos = static_cast<int>(prefix + kept.size());
        return Acceptable;
    }

private:
    FilteredLineEdit& edit_;
};

FilteredLineEdit::FilteredLineEdit(CharFilter filter, QWidget* parent, Scope scope)
    : QLineEdit(parent), filter_(std::move(filter)), scope_(scope) {
    setValidator(new InsertionFilter(*this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text; });
}

void FilteredLineEdit::setTextFromProgram(const QString& text) {
    fromProgram_ = true;
    setText(text);
    fromProgram_ = false;
    accepted_ = text;
}

QString FilteredLineEdit::filtered(const QString& inserted) const {
    QString out;
    out.reserve(inserted.size());
    for (QChar c : inserted) {
        const QChar kept = filter_(c);
        if (!kept.isNull()) out += kept;
    }
    return out;
}

QChar FilteredLineEdit::winningRowFilter(QChar c) {
    if (c == u'X' || c == u'x') return u'0';
    if (c == u'0' || c == u'1' || c == u'2') return c;
    return QChar();
}

QChar FilteredLineEdit::quotaFilter(QChar c) {
    if (c == u',' || (c >= u'0' && c <= u'9')) return c;
    return QChar();
}

QChar FilteredLineEdit::digitFilter(QChar c) { return c >= u'0' && c <= u'9' ? c : QChar(); }

void FilteredLineEdit::keyPressEvent(QKeyEvent* event) {
    // Backspace, Delete, the arrows and the shortcuts carry no printable
    // text; they edit as ever.
    const QString typed = event->text();
    if (scope_ == Scope::TypedKeys && typed.size() == 1 && typed[0].isPrint()) {
        const QChar kept = filter_(typed[0]);
        event->accept();
        if (kept.isNull()) return;
        if (kept != typed[0]) {
            insert(QString(kept));
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace korbisto::ui
