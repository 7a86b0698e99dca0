#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace korbisto {

class TipTable;

// Text as it comes from a file: a UTF-8 or UTF-16 (LE, BE) byte-order mark is
// honoured; without one, valid UTF-8 is read as UTF-8 and anything else as
// Windows-1252. Line breaks stay as they are.
QString decodeTextBytes(const QByteArray& bytes);

// Text as it comes from a file: a UTF-8 or UTF-16 (LE, BE) byte-order mark is
// honoured; without one, valid UTF-8 is read as UTF-8 and anything else as
// Windows-1252. Every line break (CR LF, LF or CR) becomes CR LF.
QString decodeTextFile(const QByteArray& bytes);

// Text files larger than this are refused rather than cut short.
inline constexpr qint64 kMaxTextFileBytes = 64LL * 1024 * 1024;

struct LoadedText {
    QString text;
    QString fileName;  // without its folder, for LDatei0
};

enum class LineBreaks { CrLf, AsTheyAre };

// A .txt or .csv file as the entry window loads it into its text field, its
// line breaks made CR LF. The import reads every kind of break alike, so it
// may take them as they are and hold the text once. Throws KorbistoError with
// the German I/O texts.
LoadedText loadTextFile(const QString& path, LineBreaks breaks = LineBreaks::CrLf);

// The rows as the exports write them to a file (exportRowsText, `separator`
// between the tips), in the ANSI code page, replacing the file in one step.
void saveRowsText(const QString& path, const TipTable& table, QChar separator);
// The bytes of that file, handed to `sink` a few thousand rows at a time.
void encodeRowsText(const TipTable& table, QChar separator, const std::function<void(const QByteArray&)>& sink);

}  // namespace korbisto
