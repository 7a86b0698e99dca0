#include "output.h"

#include "core/error.h"
#include "core/text_helpers.h"

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace korbisto::cli {

namespace {

[[noreturn]] void writeFailed(int error) {
    const QString reason = error == EPIPE ? QStringLiteral("Der Empfänger nimmt nichts mehr an.")
                                          : ioError(error).message();
    throw KorbistoError(QStringLiteral("Die Ausgabe ließ sich nicht schreiben: %1").arg(reason));
}

}  // namespace

Output::Output() : data_(std::make_unique<char[]>(static_cast<size_t>(kCapacity))) {}

void Output::append(const char* data, qsizetype size) {
    while (size > 0) {
        const qsizetype part = std::min(size, kBlock);
        std::memcpy(room(part), data, static_cast<size_t>(part));
        advance(part);
        data += part;
        size -= part;
    }
}

void Output::text(QStringView text) { append(text.toUtf8()); }

void Output::flush() {
    if (used_ == 0) return;
    const size_t size = static_cast<size_t>(used_);
    used_ = 0;
    if (std::fwrite(data_.get(), 1, size, stdout) != size) writeFailed(errno);
}

void Output::finish() {
    flush();
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) writeFailed(errno);
}

Output& standardOutput() {
    static Output output;
    return output;
}

QString visible(QStringView text) { return visibleText(text); }

void appendVisible(QByteArray& out, QStringView text) {
    bool plain = true;
    for (QChar c : text) plain = plain && c.unicode() >= 32 && c.unicode() < 127;
    out += plain ? text.toLatin1() : visible(text).toUtf8();
}

void appendRightJustified(QByteArray& out, QStringView text, int width) {
    for (qsizetype pad = width - text.size(); pad > 0; --pad) out += ' ';
    appendVisible(out, text);
}

char* putNumber(char* p, long long value, int width) {
    if (value < 0) {
        // No row number or hit count of a slip is negative; the slow way for a table that has one.
        const QByteArray text = QByteArray::number(value).rightJustified(width);
        return std::copy(text.begin(), text.end(), p);
    }
    if (value > 0xFFFFFFFFLL) {
        const QByteArray text = QByteArray::number(value).rightJustified(width);
        return std::copy(text.begin(), text.end(), p);
    }
    // Row numbers and hits fit 32 bits, whose arithmetic is the cheaper.
    auto v = static_cast<std::uint32_t>(value);
    // The number of digits from the number of bits, corrected by one comparison.
    static constexpr std::uint32_t kPowers[] = {1,      10,      100,      1000,      10000,
                                                100000, 1000000, 10000000, 100000000, 1000000000};
    const int estimate = (std::bit_width(v | 1) * 1233) >> 12;
    const int n = estimate + 1 - ((v | 1) < kPowers[estimate] ? 1 : 0);
    const int places = std::max(width, n);
    // Two digits at a time, from the right end of the field.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char* q = p + places;
    while (v >= 100) {
        q -= 2;
        const std::uint32_t rest = v / 100;
        std::memcpy(q, kPairs + 2 * (v - rest * 100), 2);
        v = rest;
    }
    if (v >= 10) {
        q -= 2;
        std::memcpy(q, kPairs + 2 * v, 2);
    } else {
        *--q = static_cast<char>('0' + v);
    }
    while (q > p) *--q = ' ';
    return p + places;
}

void writeTipsLine(Output& out, const TipTable& table, const TipTable::Row& row, char separator,
                   std::string_view lineEnd) {
    static constexpr char kDigit[] = {0, '1', '0', '2'};
    if (row.odd == 0 && lineEnd.size() <= 2) {
        // Tips only: the whole line in place.
        char* const start = out.room(2 * kMatches + 2);
        char* p = start;
        for (int m = 0; m < kMatches; ++m) {
            if (m > 0) *p++ = separator;
            if (const std::uint8_t code = row.tips[static_cast<size_t>(m)]; code != kTipEmpty) *p++ = kDigit[code];
        }
        p = std::copy(lineEnd.begin(), lineEnd.end(), p);
        out.advance(p - start);
        return;
    }
    QByteArray line;
    for (int m = 1; m <= kMatches; ++m) {
        if (m > 1) line += separator;
        const auto code = static_cast<TipCode>(row.tips[static_cast<size_t>(m - 1)]);
        if (code == kTipOther)
            appendVisible(line, table.oddText(row, m));
        else if (code != kTipEmpty)
            line += kDigit[code];
    }
    line.append(lineEnd.data(), static_cast<qsizetype>(lineEnd.size()));
    out.append(line);
}

void printRows(const TipTable& table, char separator) {
    Output& output = standardOutput();
    for (const TipTable::Row& row : table.rows()) writeTipsLine(output, table, row, separator);
}

}  // namespace korbisto::cli
