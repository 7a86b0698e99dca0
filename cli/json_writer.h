#pragma once

#include "core/outcomes.h"

#include <QByteArray>
#include <QStringView>

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korbisto::cli {

// JSON text written as it is produced and handed on in blocks: the largest
// outputs (every row of a full system) never sit in memory as a whole.
// Compact, keys in the order written; strings escape `"`, `\`, \n, \r, \t and
// other control characters as \u00XX, everything else goes out as UTF-8.
class JsonWriter {
public:
    using Sink = std::function<void(const char* data, qsizetype size)>;
    static constexpr qsizetype kBlock = 64 * 1024;

    JsonWriter();  // to stdout
    explicit JsonWriter(Sink sink);
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(QStringView name);
    JsonWriter& string(QStringView text);
    JsonWriter& number(long long value);
    // The shortest text that reads back as the same double; null for one
    // that is no finite number.
    JsonWriter& real(double value);
    // A chance from 0 to 1: what rounding put a hair outside is put back.
    JsonWriter& share(double value);
    // Euros to the cent, half a cent up, as a number: 1234.5.
    JsonWriter& amount(double euros);
    JsonWriter& null();
    JsonWriter& boolean(bool value);
    // A value already written as JSON, such as a whole row.
    JsonWriter& raw(std::string_view json);
    // A row of tip codes as 13 characters, "1021...": "-" for an empty cell,
    // "?" for one holding other text.
    JsonWriter& tips(const std::array<std::uint8_t, kMatches>& codes);
    // The same written at `p`, quotes included; returns the end.
    static char* putTips(char* p, const std::array<std::uint8_t, kMatches>& codes);

    template <typename Texts>
    JsonWriter& strings(const Texts& texts) {
        beginArray();
        for (const auto& text : texts) string(text);
        return endArray();
    }

    // Ends the output with a line break and hands everything on.
    void finish();

private:
    void beginValue();
    void appendEscaped(QStringView text);
    void flushIfFull();
    void flush();

    Sink sink_;
    std::string buffer_;
    // Per open bracket: whether it holds an item yet, for the commas.
    std::vector<bool> filled_;
    bool afterKey_ = false;
};

}  // namespace korbisto::cli
