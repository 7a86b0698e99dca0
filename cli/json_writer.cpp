#include "json_writer.h"

#include "output.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace korbisto::cli {

JsonWriter::JsonWriter()
    : JsonWriter([](const char* data, qsizetype size) {
          standardOutput().append(data, size);
      }) {}

JsonWriter::JsonWriter(Sink sink) : sink_(std::move(sink)) { buffer_.reserve(kBlock + 4096); }

// Nothing written is lost, even when an error ends the output early.
JsonWriter::~JsonWriter() {
    try {
        flush();
    } catch (...) {
        // The write that failed has been reported already, or is about to be.
    }
}

void JsonWriter::beginValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (filled_.empty()) return;
    if (filled_.back()) buffer_ += ',';
    filled_.back() = true;
}

JsonWriter& JsonWriter::beginObject() {
    beginValue();
    buffer_ += '{';
    filled_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    filled_.pop_back();
    buffer_ += '}';
    flushIfFull();
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    beginValue();
    buffer_ += '[';
    filled_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    filled_.pop_back();
    buffer_ += ']';
    flushIfFull();
    return *this;
}

JsonWriter& JsonWriter::key(QStringView name) {
    beginValue();
    appendEscaped(name);
    buffer_ += ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::string(QStringView text) {
    beginValue();
    appendEscaped(text);
    flushIfFull();
    return *this;
}

JsonWriter& JsonWriter::number(long long value) {
    beginValue();
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    buffer_.append(digits, end - digits);
    flushIfFull();
    return *this;
}

JsonWriter& JsonWriter::raw(std::string_view json) {
    beginValue();
    buffer_ += json;
    flushIfFull();
    return *this;
}

JsonWriter& JsonWriter::real(double value) {
    if (!std::isfinite(value)) return null();
    // A whole number as one, not as the shorter 1e+06.
    if (value == std::trunc(value) && std::abs(value) < 1e15) return number(static_cast<long long>(value));
    beginValue();
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    buffer_.append(digits, end - digits);
    flushIfFull();
    return *this;
}

JsonWriter& JsonWriter::share(double value) { return real(std::isnan(value) ? value : std::clamp(value, 0.0, 1.0)); }

JsonWriter& JsonWriter::amount(double euros) {
    // Rounded as the text of the same figure is; from the whole cents, so
    // that 0.1 + 0.2 euros are 0.3, not 0.30000000000000004.
    const std::optional<std::uint64_t> cents = hundredths(std::abs(euros));
    if (!cents) return real(euros);
    char digits[32];
    char* p = digits;
    if (euros < 0 && *cents != 0) *p++ = '-';
    p = std::to_chars(p, digits + 24, *cents / 100).ptr;
    if (const std::uint64_t rest = *cents % 100; rest != 0) {
        *p++ = '.';
        *p++ = static_cast<char>('0' + rest / 10);
        if (rest % 10 != 0) *p++ = static_cast<char>('0' + rest % 10);
    }
    return raw(std::string_view(digits, static_cast<size_t>(p - digits)));
}

char* JsonWriter::putTips(char* p, const std::array<std::uint8_t, kMatches>& codes) {
    static constexpr char kCell[] = {'-', '1', '0', '2', '?'};
    *p++ = '"';
    for (const std::uint8_t code : codes) *p++ = kCell[std::min<std::uint8_t>(code, 4)];
    *p++ = '"';
    return p;
}

JsonWriter& JsonWriter::tips(const std::array<std::uint8_t, kMatches>& codes) {
    // The tips need no escaping.
    char line[kMatches + 2];
    return raw(std::string_view(line, static_cast<size_t>(putTips(line, codes) - line)));
}

JsonWriter& JsonWriter::null() {
    beginValue();
    buffer_ += "null";
    flushIfFull();
    return *this;
}

JsonWriter& JsonWriter::boolean(bool value) {
    beginValue();
    buffer_ += value ? "true" : "false";
    flushIfFull();
    return *this;
}

void JsonWriter::finish() {
    buffer_ += '\n';
    flush();
}

void JsonWriter::appendEscaped(QStringView text) {
    static constexpr char kHex[] = "0123456789abcdef";
    buffer_ += '"';
    qsizetype i = 0;
    while (i < text.size()) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80) {
            // Whole runs, so that a surrogate pair is converted together.
            qsizetype end = i + 1;
            while (end < text.size() && text[end].unicode() >= 0x80) ++end;
            const QByteArray utf8 = text.sliced(i, end - i).toUtf8();
            buffer_.append(utf8.constData(), static_cast<size_t>(utf8.size()));
            i = end;
            continue;
        }
        switch (c) {
        case u'"':
            buffer_ += "\\\"";
            break;
        case u'\\':
            buffer_ += "\\\\";
            break;
        case u'\n':
            buffer_ += "\\n";
            break;
        case u'\r':
            buffer_ += "\\r";
            break;
        case u'\t':
            buffer_ += "\\t";
            break;
        default:
            if (c < 0x20) {
                buffer_ += "\\u00";
                buffer_ += kHex[c >> 4];
                buffer_ += kHex[c & 0xF];
            } else {
                buffer_ += static_cast<char>(c);
            }
        }
        ++i;
    }
    buffer_ += '"';
}

void JsonWriter::flushIfFull() {
    if (buffer_.size() >= static_cast<size_t>(kBlock)) flush();
}

void JsonWriter::flush() {
    if (buffer_.empty()) return;
    sink_(buffer_.data(), static_cast<qsizetype>(buffer_.size()));
    buffer_.clear();  // keeps the block's memory
}

}  // namespace korbisto::cli
