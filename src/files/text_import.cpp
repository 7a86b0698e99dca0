#include "text_import.h"

#include "slip_file.h"

#include "core/error.h"
#include "core/outcomes.h"
#include "core/text_helpers.h"

#include <QFileInfo>

#include <vector>

namespace korbisto {

namespace {

// Codes 0 to 32: what trimming removes and what ends an unquoted field. A
// NUL counts as a blank, so a stray one never cuts a line short.
inline bool isBlankLike(char16_t c) { return c <= 32; }

// Calls `line(start, length)` for every piece of `text` between line breaks,
// including the empty piece after a final break.
template <typename Fn>
void forEachLine(QStringView text, Fn&& line) {
    const QChar* s = text.data();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        if (c != u'\r' && c != u'\n') continue;
        line(start, i - start);
        if (c == u'\r' && i + 1 < n && s[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    line(start, n - start);
}

// Line `index` of the text as forEachLine gives it; empty past the end.
QStringView lineAt(QStringView text, int index) {
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (int line = 0; line < index; ++line) {
        const qsizetype br = [&] {
            for (qsizetype i = start; i < n; ++i)
                if (text[i] == u'\r' || text[i] == u'\n') return i;
            return n;
        }();
        if (br == n) return QStringView();
        start = br + (text[br] == u'\r' && br + 1 < n && text[br + 1] == u'\n' ? 2 : 1);
    }
    qsizetype end = start;
    while (end < n && text[end] != u'\r' && text[end] != u'\n') ++end;
    return text.mid(start, end - start);
}

QStringView trimmed(QStringView line) {
    qsizetype b = 0;
    qsizetype e = line.size();
    while (b < e && isBlankLike(line[b].unicode())) ++b;
    while (e > b && isBlankLike(line[e - 1].unicode())) --e;
    return line.mid(b, e - b);
}

QString replaceDrawLetters(const QString& text) {
    // X or x stands for the draw wherever it appears in the text.
    return XStringReplace(XStringReplace(text, QStringLiteral("X"), QStringLiteral("0")), QStringLiteral("x"),
                          QStringLiteral("0"));
}

std::optional<QChar> detectSeparator(QStringView thirdLine) {
    for (char16_t candidate : Trennzeichen)
        if (thirdLine.contains(QChar(candidate))) return QChar(candidate);
    return std::nullopt;
}

// Cells of one row being built: outcome codes, other texts set afterwards.
class RowBuilder {
public:
    void clear() {
        tips_.fill(kTipEmpty);
        odd_.clear();
    }
    void set(int match, QStringView text) {
        const TipCode code = tipCodeOfText(text);
        tips_[static_cast<size_t>(match - 1)] = code == kTipOther ? kTipEmpty : code;
        if (code == kTipOther) odd_.push_back({match, text.toString()});
    }
    void appendTo(TipTable& table, std::int32_t number) {
        table.appendRow(number, tips_);
        for (auto& [match, text] : odd_) table.setCellText(table.dataRowCount(), match, text);
    }

private:
    std::array<std::uint8_t, kMatches> tips_{};
    std::vector<std::pair<int, QString>> odd_;
};

const QString& emptyFieldText() {
    static const QString blank = QStringLiteral(" ");
    return blank;
}

// Splits one line into fields by the comma-separated convention: fields end
// at "," or at a blank-like character, a field may be quoted with doubled
// quotes inside, a final "," adds an empty field. `separator` is read as ","
// wherever it stands, quotes included. Only the first 13 fields are kept.
void splitFields(QStringView line, char16_t separator, RowBuilder& row) {
    const QChar* s = line.data();
    const qsizetype n = line.size();
    auto at = [&](qsizetype i) -> char16_t {
        const char16_t c = s[i].unicode();
        return c == separator ? u',' : c;
    };
    auto skipBlanks = [&](qsizetype& i) {
        while (i < n && isBlankLike(at(i))) ++i;
    };
    int field = 0;
    auto add = [&](QStringView text) {
        ++field;
        row.set(field, text.isEmpty() ? QStringView(emptyFieldText()) : text);
    };

    qsizetype i = 0;
    skipBlanks(i);
    while (i < n && field < kMatches) {
        if (at(i) == u'"') {
            QString text;
            ++i;
            while (i < n) {
                const char16_t c = at(i);
                if (c == u'"') {
                    if (i + 1 < n && at(i + 1) == u'"') {
                        text += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += QChar(c);
                ++i;
            }
            add(text);
        } else {
            const qsizetype start = i;
            while (i < n && !isBlankLike(at(i)) && at(i) != u',') ++i;
            add(line.mid(start, i - start));
        }
        skipBlanks(i);
        if (i < n && at(i) == u',') {
            if (i == n - 1) {
                if (field < kMatches) add(QStringView());
                break;
            }
            ++i;
            skipBlanks(i);
        }
    }
}

// The rows of a text. `first` and `third` are the first and third line as the
// field shows them, trimmed; `eachShown(fn)` calls fn with every shown line,
// trimmed, in order.
template <typename EachShownLine>
TipImport importFromLines(const QString& text, QStringView first, QStringView third, EachShownLine&& eachShown) {
    TipImport result;
    RowBuilder row;
    std::int32_t found = 0;

    if (first.size() <= kMatches) {
        result.mode = ImportMode::FixedWidth;
        eachShown([&](QStringView line) {
            if (line.size() != kMatches) return;
            row.clear();
            for (int c = 1; c <= kMatches; ++c) row.set(c, line.mid(c - 1, 1));
            row.appendTo(result.rows, ++found);
        });
    } else {
        result.mode = ImportMode::Separated;
        result.separator = detectSeparator(third);
        const char16_t separator = result.separator ? result.separator->unicode() : u',';
        const QStringView whole(text);
        // The rows come from the real lines: wrapping only changes how the
        // field shows a line, never which fields it holds.
        forEachLine(whole, [&](qsizetype start, qsizetype length) {
            const QStringView line = trimmed(whole.mid(start, length));
            if (line.isEmpty()) return;
            row.clear();
            splitFields(line, separator, row);
            row.appendTo(result.rows, ++found);
        });
    }

    result.rowsFound = found;
    if (found == 0) {
        // The grid keeps one data row; it is emptied, never left with the
        // rows of an earlier import.
        result.rows.setDataRowCount(1);
        result.rows.setNumber(1, 1);
    }
    return result;
}

void refuseEmptyField(const QString& text) {
    if (text.isEmpty())
        throw KorbistoError(refusal(QStringLiteral("Das Textfeld ist leer. Es gibt nichts zu übertragen.")));
}

}  // namespace

QStringList textLines(const QString& text) {
    QStringList lines;
    forEachLine(QStringView(text), [&](qsizetype start, qsizetype length) { lines << text.mid(start, length); });
    return lines;
}

int fieldLineCount(const QStringList& shownLines) {
    const qsizetype n = shownLines.size();
    if (n > 0 && shownLines.last().isEmpty()) return static_cast<int>(n - 1);
    return static_cast<int>(n);
}

FieldChange fieldChanged(const QString& text, const FieldLinesFn& shownLines) {
    FieldChange change;
    change.textChanged = text.contains(u'\t');
    change.text = change.textChanged ? XStringReplace(text, QStringLiteral("\t"), QStringLiteral(",")) : text;
    if (shownLines) {
        change.lineCount = fieldLineCount(shownLines(change.text));
    } else {
        int lines = 0;
        qsizetype lastLength = 0;
        forEachLine(QStringView(change.text), [&](qsizetype, qsizetype length) {
            ++lines;
            lastLength = length;
        });
        change.lineCount = lastLength == 0 ? lines - 1 : lines;
    }
    change.buttonsEnabled = !change.text.isEmpty();
    return change;
}

TipImport importTipRows(const QString& fieldText, const QStringList& shownLines) {
    refuseEmptyField(fieldText);
    const QString text = replaceDrawLetters(fieldText);
    QStringList shownText;
    shownText.reserve(shownLines.size());
    for (const QString& line : shownLines)
        shownText << (line.contains(u'X') || line.contains(u'x') ? replaceDrawLetters(line) : line);
    const auto shown = [&](qsizetype i) { return i < shownText.size() ? trimmed(shownText[i]) : QStringView(); };
    return importFromLines(text, shown(0), shown(2), [&](auto&& fn) {
        for (const QString& line : shownText) fn(trimmed(line));
    });
}

TipImport importTipRows(const QString& fieldText) {
    refuseEmptyField(fieldText);
    const QString text = replaceDrawLetters(fieldText);
    // The lines are walked, never collected: a text of millions of empty
    // lines costs no memory beyond itself.
    const QStringView whole(text);
    return importFromLines(text, trimmed(lineAt(whole, 0)), trimmed(lineAt(whole, 2)), [&](auto&& fn) {
        forEachLine(whole, [&](qsizetype start, qsizetype length) { fn(trimmed(whole.mid(start, length))); });
    });
}

void initEntryRows(TipDocument& rows) {
    rows.changeTable([](TipTable& t) {
        t = TipTable(kEntryRows);
        t.renumber();
    });
}

void takeImport(TipDocument& rows, TipImport import, const QString& textFileName) {
    const int count = import.rows.dataRowCount();
    rows.replaceRows(std::move(import.rows));
    rows.setTipRowCount(count);
    rows.setFileName(textFileName);
}

void checkCanCopy(const TipDocument& rows) {
    if (rows.isEmpty()) throw KorbistoError(refusal(QStringLiteral("Es gibt nichts zu übertragen.")));
}

void copyRows(const TipDocument& from, TipDocument& to) {
    checkCanCopy(from);
    TipTable rows = from.table();
    // Hit counts of the rows that stood there before belong to other rows.
    for (int r = 1; r < rows.rowCount(); ++r) rows.setHits(r, -1);
    to.replaceRows(std::move(rows));
    to.setTipRowCount(from.tipRowCount(), from.countStyle());
}

}  // namespace korbisto
