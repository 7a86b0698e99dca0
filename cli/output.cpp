#include "output.h"

#include "core/error.h"
#include "core/german.h"
#include "core/text_helpers.h"

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <cmath>
#include <cstring>

namespace korbisto::cli {

namespace {

[[noreturn]] void writeFailed(int error) {
    if (error == EPIPE) throw OutputClosed();
    const QString reason = error == EBADF ? QStringLiteral("Die Standardausgabe ist geschlossen.")
                                          : ioError(error).message();
    throw KorbistoError(QStringLiteral("Die Ausgabe ließ sich nicht schreiben: %1").arg(reason));
}

// `text` right-justified to `width` at `p`; returns the end.
char* putPadded(char* p, const char* text, std::size_t size, int width) {
    for (auto pad = static_cast<std::ptrdiff_t>(width) - static_cast<std::ptrdiff_t>(size); pad > 0; --pad) *p++ = ' ';
    std::memcpy(p, text, size);
    return p + size;
}

char* putPadded(char* p, const QString& text, int width) {
    const QByteArray bytes = text.toUtf8();
    return putPadded(p, bytes.constData(), static_cast<std::size_t>(bytes.size()), width);
}

// The digits of `value` ending at `end`, a dot before every third from the
// right; returns where they begin.
char* groupedDigits(char* end, std::uint64_t value) {
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0) *--end = '.';
        *--end = static_cast<char>('0' + value % 10);
        value /= 10;
        ++digits;
    } while (value > 0);
    return end;
}

}  // namespace

std::optional<std::uint64_t> hundredths(double value) {
    if (!(value >= 0) || value >= 1e15) return std::nullopt;
    if (value == 0) return 0;
    int exponent = 0;
    const double fraction = std::frexp(value, &exponent);
    // value = mantissa / 2^shift exactly, with shift above 3 below 10^15.
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = 53 - exponent;
    const std::uint64_t scaled = mantissa * 100;  // below 2^60
    if (shift > 61) return 0;                     // below half a hundredth
    const std::uint64_t whole = scaled >> shift;
    const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
    return whole + (rest >= std::uint64_t{1} << (shift - 1) ? 1 : 0);
}

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

char* putCount(char* p, long long value, int width) {
    if (value < 0) return putPadded(p, formatCount(value), width);
    char text[32];
    char* const end = text + sizeof text;
    const char* start = groupedDigits(end, static_cast<std::uint64_t>(value));
    return putPadded(p, start, static_cast<std::size_t>(end - start), width);
}

char* putAmount(char* p, double value, int width, std::string_view suffix) {
    const std::optional<std::uint64_t> cents = hundredths(value);
    if (!cents) {
        QString text = formatAmount(value);
        text += QLatin1String(suffix.data(), static_cast<qsizetype>(suffix.size()));
        return putPadded(p, text, width);
    }
    char text[48];
    char* const end = text + sizeof text;
    char* start = end - suffix.size();
    std::memcpy(start, suffix.data(), suffix.size());
    const std::uint64_t fraction = *cents % 100;
    *--start = static_cast<char>('0' + fraction % 10);
    *--start = static_cast<char>('0' + fraction / 10);
    *--start = ',';
    start = groupedDigits(start, *cents / 100);
    return putPadded(p, start, static_cast<std::size_t>(end - start), width);
}

void writeTipsLine(Output& out, const TipTable& table, const TipTable::Row& row, char separator) {
    static constexpr char kDigit[] = {0, '1', '0', '2'};
    if (row.odd == 0) {
        // Tips only: the whole line in place.
        char* const start = out.room(2 * kMatches + 2);
        char* p = start;
        for (int m = 0; m < kMatches; ++m) {
            if (m > 0) *p++ = separator;
            if (const std::uint8_t code = row.tips[static_cast<size_t>(m)]; code != kTipEmpty) *p++ = kDigit[code];
        }
        *p++ = '\n';
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
    line += '\n';
    out.append(line);
}

void printRows(const TipTable& table, char separator) {
    Output& output = standardOutput();
    for (const TipTable::Row& row : table.rows()) writeTipsLine(output, table, row, separator);
}

}  // namespace korbisto::cli
