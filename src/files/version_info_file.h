#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace korbisto {

// A record of the version-information file: 8 bytes the program does not
// read, a length byte, then up to 15 characters of the version text.
inline constexpr int kVersionRecordSize = 24;
inline constexpr int kMaxVersionText = 15;

// The version text of the last whole record; none without a whole record.
// A length byte above 15 reads as 15, so no text reaches past its record.
std::optional<QString> lastVersionOf(const QByteArray& bytes);
// Why `bytes` are no version file, in German; empty when they are: at least
// one whole record, every record's text of at most 15 printable ASCII
// characters, the last one not empty.
QString versionFileProblem(QByteArrayView bytes);

std::optional<QString> readVersionInfoFile(const QString& path);  // throws KorbistoError

// One record offering `version`: printable ASCII, at most 15 characters.
// Throws KorbistoError for another text.
QByteArray encodeVersionRecord(const QString& version);
void writeVersionInfoFile(const QString& path, const QString& version);

}  // namespace korbisto
