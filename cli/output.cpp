#include "output.h"

#include "core/error.h"

#include <cerrno>
#include <cstdio>

namespace korbisto::cli {

namespace {

[[noreturn]] void writeFailed(int error) {
    const QString reason = error == EPIPE ? QStringLiteral("Der Empfänger nimmt nichts mehr an.")
                                          : ioError(error).message();
    throw KorbistoError(QStringLiteral("Die Ausgabe ließ sich nicht schreiben: %1").arg(reason));
}

}  // namespace

void appendNumber(QByteArray& out, long long value) {
    char digits[24];
    int n = 0;
    unsigned long long v = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v);
    if (value < 0) digits[n++] = '-';
    while (n) out += digits[--n];
}

Output::Output() { buffer_.reserve(kBlock + 4096); }

void Output::text(QStringView text) {
    buffer_ += text.toUtf8();
    maybeFlush();
}

void Output::flush() {
    if (buffer_.isEmpty()) return;
    const size_t size = static_cast<size_t>(buffer_.size());
    const size_t written = std::fwrite(buffer_.constData(), 1, size, stdout);
    buffer_.resize(0);
    if (written != size) writeFailed(errno);
}

void Output::finish() {
    flush();
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) writeFailed(errno);
}

Output& standardOutput() {
    static Output output;
    return output;
}

QString visible(QStringView text) {
    QString shown;
    shown.reserve(text.size());
    for (QChar c : text)
        shown += c.unicode() < 32 ? QChar(0x2400 + c.unicode()) : c.unicode() == 127 ? QChar(0x2421) : c;
    return shown;
}

void appendVisible(QByteArray& out, QStringView text) {
    bool plain = true;
    for (QChar c : text) plain = plain && c.unicode() >= 32 && c.unicode() < 127;
    if (plain) {
        // Most texts are printable ASCII: straight through, byte for byte.
        const qsizetype at = out.size();
        out.resize(at + text.size());
        char* p = out.data() + at;
        for (QChar c : text) *p++ = static_cast<char>(c.unicode());
        return;
    }
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 32 && c != 127) continue;
        out += text.sliced(from, i - from).toUtf8();
        // U+2400 .. U+241F picture the codes 0 .. 31, U+2421 the DEL.
        out += QString(QChar(c == 127 ? 0x2421 : 0x2400 + c)).toUtf8();
        from = i + 1;
    }
    out += text.sliced(from).toUtf8();
}

void appendRightJustified(QByteArray& out, QStringView text, int width) {
    for (qsizetype pad = width - text.size(); pad > 0; --pad) out += ' ';
    appendVisible(out, text);
}

void appendTipsLine(QByteArray& out, const TipTable& table, const TipTable::Row& row, char separator) {
    static constexpr char kDigit[] = {0, '1', '0', '2'};
    if (row.odd == 0) {
        // Tips only: the whole line in one go.
        char line[2 * kMatches + 2];
        char* p = line;
        for (int m = 0; m < kMatches; ++m) {
            if (m > 0) *p++ = separator;
            if (const std::uint8_t code = row.tips[static_cast<size_t>(m)]; code != kTipEmpty) *p++ = kDigit[code];
        }
        *p++ = '\r';
        *p++ = '\n';
        out.append(line, p - line);
        return;
    }
    for (int m = 1; m <= kMatches; ++m) {
        if (m > 1) out += separator;
        const auto code = static_cast<TipCode>(row.tips[static_cast<size_t>(m - 1)]);
        if (code == kTipOther)
            appendVisible(out, table.oddText(row, m));
        else if (code != kTipEmpty)
            out += kDigit[code];
    }
    out += "\r\n";
}

void printRows(const TipTable& table, char separator) {
    Output& output = standardOutput();
    for (const TipTable::Row& row : table.rows()) {
        appendTipsLine(output.bytes(), table, row, separator);
        output.maybeFlush();
    }
}

}  // namespace korbisto::cli
