#pragma once

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace korbisto {

// Pixel width of a text in the font of the grid that will show it.
using TextWidthFn = std::function<int(const QString&)>;

// Round half to even, as the original's Round does (2.5 -> 2, 3.5 -> 4).
long long roundHalfEven(double value);

// Leading blanks that centre a text within the left seven tenths of a cell
// `width` pixels wide.
QString PadText(const QString& text, int width, const TextWidthFn& textWidth);
QString PadNumber(long long value, int width, const TextWidthFn& textWidth);

// Replaces occurrences of `oldPattern` case-sensitively, from the left;
// matches never overlap. Only the first one unless `replaceAll`.
QString XStringReplace(const QString& source, const QString& oldPattern, const QString& newPattern,
                       bool replaceAll = true);

// The runtime's integer conversion: leading blanks, an optional sign, decimal
// digits or a hexadecimal number ("$1F", "0x1F"); nothing may follow. Empty
// on anything else or on overflow of 32 bits.
std::optional<int> StrToIntOpt(const QString& text);
// As StrToIntOpt, but raises the runtime's conversion error.
int StrToInt(const QString& text);

// A grid cell that may hold a dash: "", "-" and "---" read as 0.
int DashToInt(const QString& text);

// Text as a message or a terminal may show it: the characters below 32 and
// 127 become their pictures (␀, ␛, ␡), other control and format characters
// (C1 controls, direction overrides, line separators, lone surrogates) "�".
QString visibleText(QStringView text);

// Input quoted in a message: at most this many characters of it, then "…"
// where it goes on; made visible. A line of a file may be a megabyte long.
inline constexpr qsizetype kQuotedInputLength = 40;
QString quotedInput(QStringView text);

}  // namespace korbisto
