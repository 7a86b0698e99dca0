#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace korbisto {

// Windows-1252, the code page of files that come from German Windows systems.
// The five unassigned bytes map to the C1 controls of the same value, as
// Windows itself maps them, so decoding never loses a byte.
QString decodeWindows1252(const char* data, qsizetype size);
inline QString decodeWindows1252(const QByteArray& bytes) { return decodeWindows1252(bytes.constData(), bytes.size()); }

// Empty when a character has no byte in the code page.
std::optional<QByteArray> encodeWindows1252(const QString& text);
// Characters without a byte become "?".
QByteArray encodeWindows1252Lossy(const QString& text);

}  // namespace korbisto
