#include "error.h"

#include "text_helpers.h"

#include <cerrno>

namespace korbisto {

KorbistoError::KorbistoError(QString message)
    : message_(std::move(message)), utf8_(message_.toStdString()) {}

KorbistoError ioError(int systemError) {
    switch (systemError) {
    case ENOENT:
    case ENOTDIR:
        return KorbistoError(QString::fromUtf8(messages::fileNotFound));
    case EACCES:
    case EPERM:
    case EROFS:
        return KorbistoError(QString::fromUtf8(messages::accessDenied));
    case ENOSPC:
        return KorbistoError(QString::fromUtf8(messages::diskFull));
    case EMFILE:
    case ENFILE:
        return KorbistoError(QString::fromUtf8(messages::tooManyOpenFiles));
    default:
        return KorbistoError(QStringLiteral("E/A-Fehler %1").arg(systemError));
    }
}

KorbistoError endOfFileError() {
    return KorbistoError(QString::fromUtf8(messages::endOfFile));
}

KorbistoError integerConversionError(const QString& text) {
    return KorbistoError(QStringLiteral("''%1'' ist kein gültiger Integer-Wert").arg(quotedInput(text)));
}

KorbistoError floatConversionError(const QString& text) {
    return KorbistoError(QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(quotedInput(text)));
}

QString refusal(const QString& reason) {
    return reason + QStringLiteral("\n\n") + QString::fromUtf8(messages::abortLine);
}

}  // namespace korbisto
