#include "tip_table.h"

#include "text_helpers.h"

namespace korbisto {

namespace {

// A canonical decimal (no sign, no leading zero) that fits the range; -1 else.
long long canonicalDecimal(const QString& text, long long max) {
    if (text.isEmpty() || text.size() > 10) return -1;
    if (text.size() > 1 && text[0] == u'0') return -1;
    long long v = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return -1;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v <= max ? v : -1;
}

const QString& emptyString() {
    static const QString empty;
    return empty;
}

}  // namespace

TipCode tipCodeOfText(QStringView text) {
    if (text.isEmpty()) return kTipEmpty;
    if (text.size() == 1) {
        switch (text[0].unicode()) {
        case u'1':
            return kTipOne;
        case u'0':
            return kTipZero;
        case u'2':
            return kTipTwo;
        default:
            break;
        }
    }
    return kTipOther;
}

QString textOfTipCode(TipCode code) {
    switch (code) {
    case kTipOne:
        return QStringLiteral("1");
    case kTipZero:
        return QStringLiteral("0");
    case kTipTwo:
        return QStringLiteral("2");
    default:
        return QString();
    }
}

TipTable::TipTable(int dataRows) { setDataRowCount(dataRows); }

void TipTable::setDataRowCount(int n) {
    rows_.resize(static_cast<size_t>(n < 0 ? 0 : n));
    if (rows_.empty()) odd_.clear();
}

void TipTable::clearCells() {
    for (Row& r : rows_) r = Row{};
    odd_.clear();
}

void TipTable::clearAll() {
    rows_.clear();
    odd_.clear();
}

std::array<QString, TipTable::kColumns>& TipTable::oddTexts(Row& row) {
    if (row.odd == 0) {
        odd_.emplace_back();
        row.odd = static_cast<std::uint32_t>(odd_.size());
    }
    return odd_[row.odd - 1];
}

const QString& TipTable::oddText(const Row& row, int column) const {
    if (row.odd == 0) return emptyString();
    return odd_[row.odd - 1][static_cast<size_t>(column)];
}

QStringView TipTable::tipView(const Row& row, int match) const {
    switch (static_cast<TipCode>(row.tips[static_cast<size_t>(match - 1)])) {
    case kTipOne:
        return u"1";
    case kTipZero:
        return u"0";
    case kTipTwo:
        return u"2";
    case kTipOther:
        return oddText(row, match);
    default:
        return QStringView();
    }
}

std::optional<long long> TipTable::wholeNumber(const Row& r, int column) const {
    if (column == 0) {
        if (r.number == kNoNumber) return std::nullopt;
        if (r.number != kOddNumber) return r.number;
    } else if (column == kHitColumn) {
        if (r.hits == kNoHits) return std::nullopt;
        if (r.hits != kOddHits) return r.hits;
    } else {
        const auto code = static_cast<TipCode>(r.tips[static_cast<size_t>(column - 1)]);
        if (code == kTipEmpty) return std::nullopt;
        if (code != kTipOther) return TippZiffer[code];
    }
    if (const auto v = StrToIntOpt(oddText(r, column))) return *v;
    return std::nullopt;
}

QString TipTable::cellText(int row, int column) const {
    const Row& r = rowAt(row);
    if (column == 0) {
        if (r.number == kNoNumber) return QString();
        if (r.number == kOddNumber) return oddText(r, 0);
        return QString::number(r.number);
    }
    if (column == kHitColumn) {
        if (r.hits == kNoHits) return QString();
        if (r.hits == kOddHits) return oddText(r, kHitColumn);
        return QString::number(r.hits);
    }
    const auto code = static_cast<TipCode>(r.tips[static_cast<size_t>(column - 1)]);
    if (code == kTipOther) return oddText(r, column);
    return textOfTipCode(code);
}

bool TipTable::cellEmpty(int row, int column) const {
    const Row& r = rowAt(row);
    if (column == 0) return r.number == kNoNumber;
    if (column == kHitColumn) return r.hits == kNoHits;
    return r.tips[static_cast<size_t>(column - 1)] == kTipEmpty;
}

void TipTable::setCellText(int row, int column, const QString& text) {
    Row& r = rowAt(row);
    if (column == 0) {
        // Row numbers are shown centred by blanks; the blanks are not part of it.
        qsizetype lead = 0;
        while (lead < text.size() && text[lead] == u' ') ++lead;
        const QString digits = text.mid(lead);
        if (digits.isEmpty() && lead == 0) {
            r.number = kNoNumber;
            return;
        }
        const long long v = canonicalDecimal(digits, 0x7FFFFFFF);
        if (v >= 0) {
            r.number = static_cast<std::int32_t>(v);
        } else {
            oddTexts(r)[0] = text;
            r.number = kOddNumber;
        }
        return;
    }
    if (column == kHitColumn) {
        if (text.isEmpty()) {
            r.hits = kNoHits;
            return;
        }
        const long long v = canonicalDecimal(text, 100);
        if (v >= 0) {
            r.hits = static_cast<std::int8_t>(v);
        } else {
            oddTexts(r)[kHitColumn] = text;
            r.hits = kOddHits;
        }
        return;
    }
    const TipCode code = tipCodeOfText(text);
    if (code == kTipOther) oddTexts(r)[static_cast<size_t>(column)] = text;
    r.tips[static_cast<size_t>(column - 1)] = code;
}

void TipTable::setNumber(int row, std::int32_t number) { rowAt(row).number = number; }

void TipTable::setTip(int row, int match, TipCode code) {
    // Codes only; other texts go through setCellText.
    rowAt(row).tips[static_cast<size_t>(match - 1)] = code == kTipOther ? kTipEmpty : code;
}

void TipTable::setHits(int row, int hits) {
    rowAt(row).hits = hits < 0 ? kNoHits : static_cast<std::int8_t>(hits);
}

void TipTable::renumber() {
    std::int32_t n = 0;
    for (Row& r : rows_) r.number = ++n;
}

std::array<QString, 14> InitTipGridHeaders(TipTable& table, const TextWidthFn& textWidth) {
    std::array<QString, 14> headers;
    for (int i = 1; i <= kMatches; ++i) headers[static_cast<size_t>(i)] = PadNumber(i, 20, textWidth);
    headers[0] = PadText(QStringLiteral("Tipp"), kTipGridNumberWidth, textWidth);
    table.renumber();
    return headers;
}

QString exportRowsText(const TipTable& table, QChar separator, int first, int last) {
    if (last < 0 || last >= table.rowCount()) last = table.rowCount() - 1;
    QString text;
    if (last < first) return text;
    text.reserve(static_cast<qsizetype>(last - first + 1) * 27);
    for (int r = first; r <= last; ++r) {
        const TipTable::Row& row = table.rowAt(r);
        for (int m = 1; m <= kMatches; ++m) {
            if (m > 1) text += separator;
            const auto code = static_cast<TipCode>(row.tips[static_cast<size_t>(m - 1)]);
            if (code == kTipOther)
                text += table.oddText(row, m);
            else if (code != kTipEmpty)
                text += QChar(u"?102"[code]);
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

}  // namespace korbisto
