#include "version_info_file.h"

#include "binary_io.h"

#include "core/codepage.h"
#include "core/error.h"

#include <algorithm>

namespace korbisto {

namespace {

// Version files are a few records; an answer beyond this is none.
constexpr qint64 kMaxVersionFileBytes = 64 * 1024;

}  // namespace

std::optional<QString> lastVersionOf(const QByteArray& bytes) {
    const qsizetype records = bytes.size() / kVersionRecordSize;
    if (records == 0) return std::nullopt;
    const char* record = bytes.constData() + (records - 1) * kVersionRecordSize;
    const int length = std::min<int>(static_cast<unsigned char>(record[8]), kMaxVersionText);
    return decodeWindows1252(record + 9, length);
}

QString versionFileProblem(QByteArrayView bytes) {
    const qsizetype records = bytes.size() / kVersionRecordSize;
    if (records == 0)
        return QStringLiteral("Die Versionsdatei hat %1 Bytes und damit keinen ganzen Eintrag von %2 Bytes.")
            .arg(bytes.size())
            .arg(kVersionRecordSize);
    for (qsizetype r = 0; r < records; ++r) {
        const char* record = bytes.data() + r * kVersionRecordSize;
        const int length = static_cast<unsigned char>(record[8]);
        if (length > kMaxVersionText)
            return QStringLiteral("Eintrag %1 der Versionsdatei wäre %2 Zeichen lang, erlaubt sind %3.")
                .arg(r + 1)
                .arg(length)
                .arg(kMaxVersionText);
        if (!std::all_of(record + 9, record + 9 + length, [](char c) { return c >= ' ' && c < '\x7f'; }))
            return QStringLiteral("Eintrag %1 der Versionsdatei enthält Zeichen, die keine Versionsangabe bilden.")
                .arg(r + 1);
        if (r == records - 1 && length == 0) return QStringLiteral("Der letzte Eintrag der Versionsdatei ist leer.");
    }
    return QString();
}

std::optional<QString> readVersionInfoFile(const QString& path) {
    const std::optional<QByteArray> bytes = readFileBytes(path, kMaxVersionFileBytes);
    if (!bytes) return std::nullopt;
    return lastVersionOf(*bytes);
}

QByteArray encodeVersionRecord(const QString& version) {
    const bool printable =
        std::all_of(version.begin(), version.end(), [](QChar c) { return c >= u' ' && c < u'\x7f'; });
    if (version.isEmpty() || version.size() > kMaxVersionText || !printable)
        throw KorbistoError(refusal(QStringLiteral("„%1“ ist keine Versionsangabe: Erlaubt sind 1 bis 15 Zeichen "
                                                   "wie 1.3.0.0.")
                                        .arg(version)));
    QByteArray record(kVersionRecordSize, '\0');
    record[8] = static_cast<char>(version.size());
    const QByteArray text = version.toLatin1();
    std::copy(text.begin(), text.end(), record.begin() + 9);
    return record;
}

void writeVersionInfoFile(const QString& path, const QString& version) {
    writeFileAtomically(path, encodeVersionRecord(version));
}

}  // namespace korbisto
