#include "text_helpers.h"

#include "error.h"

#include <cmath>
#include <limits>

namespace korbisto {

long long roundHalfEven(double value) {
    const double floor = std::floor(value);
    const double diff = value - floor;
    double result = floor;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(floor, 2.0) != 0.0)) result = floor + 1.0;
    return static_cast<long long>(result);
}

QString PadText(const QString& text, int width, const TextWidthFn& textWidth) {
    // Round(width * 0.7) on the exact value, so widths ending in 5 are not at
    // the mercy of the binary form of 0.7.
    const long long target = roundHalfEven(static_cast<double>(width) * 7.0 / 10.0);
    const int blank = textWidth(QStringLiteral(" "));
    if (blank <= 0) return text;
    const long long n = roundHalfEven(static_cast<double>(target - textWidth(text)) / (2.0 * blank));
    if (n <= 0) return text;
    return QString(static_cast<qsizetype>(n), u' ') + text;
}

QString PadNumber(long long value, int width, const TextWidthFn& textWidth) {
    return PadText(QString::number(value), width, textWidth);
}

QString XStringReplace(const QString& source, const QString& oldPattern, const QString& newPattern,
                       bool replaceAll) {
    // An empty pattern would put the new text between every two characters.
    if (oldPattern.isEmpty()) return source;
    QString result = source;
    if (replaceAll && oldPattern.size() == 1 && newPattern.size() == 1) return result.replace(oldPattern[0], newPattern[0]);
    if (replaceAll) return result.replace(oldPattern, newPattern);
    if (const qsizetype at = source.indexOf(oldPattern); at >= 0) result.replace(at, oldPattern.size(), newPattern);
    return result;
}

std::optional<int> StrToIntOpt(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i < n && (text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n) return std::nullopt;
    long long value = 0;
    const long long limit = base == 10 ? (negative ? 2147483648LL : 2147483647LL) : 0xFFFFFFFFLL;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > limit) return std::nullopt;
    }
    if (base == 16) {
        // Hexadecimal literals wrap into the signed range, as in the runtime.
        const auto bits = static_cast<quint32>(value);
        return static_cast<int>(negative ? 0u - bits : bits);
    }
    return static_cast<int>(negative ? -value : value);
}

int StrToInt(const QString& text) {
    if (auto v = StrToIntOpt(text)) return *v;
    throw integerConversionError(text);
}

QString visibleText(QStringView text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        const bool pair = QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(u, text[i + 1].unicode()) : u;
        if (c < 32) {
            shown += QChar(static_cast<char16_t>(0x2400 + c));
        } else if (c == 127) {
            shown += QChar(0x2421);
        } else {
            switch (QChar::category(c)) {
            case QChar::Other_Control:
            case QChar::Other_Format:  // also the tag characters that hide text
            case QChar::Other_Surrogate:
            case QChar::Separator_Line:
            case QChar::Separator_Paragraph:
                shown += QChar(QChar::ReplacementCharacter);
                break;
            default:
                shown += text.sliced(i, pair ? 2 : 1);
            }
        }
        if (pair) ++i;
    }
    return shown;
}

QString quotedInput(QStringView text) {
    // Counted in characters, so that a pair of surrogates is never cut in two.
    qsizetype end = 0;
    for (qsizetype characters = 0; end < text.size() && characters < kQuotedInputLength; ++characters)
        end += QChar::isHighSurrogate(text[end].unicode()) && end + 1 < text.size() && text[end + 1].isLowSurrogate()
                   ? 2
                   : 1;
    QString shown = visibleText(text.left(end));
    if (end < text.size()) shown += QChar(0x2026);
    return shown;
}

int DashToInt(const QString& text) {
    if (text.isEmpty() || text == QLatin1String("---") || text == QLatin1String("-")) return 0;
    return StrToInt(text);
}

}  // namespace korbisto
