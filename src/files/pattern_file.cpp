#include "pattern_file.h"

#include "binary_io.h"
#include "text_file.h"

#include "core/error.h"
#include "core/paths.h"
#include "core/text_helpers.h"

#include <QRegularExpression>

namespace korbisto {

namespace {

// Thirty-nine short lines; a file beyond this is no pattern.
constexpr qint64 kMaxPatternBytes = 1 << 20;

}  // namespace

QString patternFilePath() { return appPaths().SettingsFolder + QStringLiteral("Quick.wh13"); }

QByteArray encodePattern(const PatternLevels& levels) {
    QByteArray bytes;
    for (const std::int32_t level : levels) bytes += QByteArray::number(level) + "\r\n";
    return bytes;
}

void SavePattern(const QString& path, const PatternLevels& levels) { writeFileAtomically(path, encodePattern(levels)); }

void LoadPattern(const QString& path, PatternLevels& levels) {
    const std::optional<QByteArray> bytes = readFileBytes(path, kMaxPatternBytes);
    if (!bytes)
        throw KorbistoError(
            refusal(QStringLiteral("Die Datei ist kein Muster der Favoriten: Sie ist größer als 1 MB.")));
    const QString text = decodeTextBytes(*bytes);
    // Lines as a string list reads them: CR LF, LF or CR ends a line, and a
    // break at the very end starts none.
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    for (qsizetype a = 0; a < lines.size() && a < kOutcomeCrosses; ++a) {
        const int value = StrToInt(lines[a]);
        levels[static_cast<size_t>(a)] = value >= 0 && value <= kMaxLevel ? value : 0;
    }
}

}  // namespace korbisto
