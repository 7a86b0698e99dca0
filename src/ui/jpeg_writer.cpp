#include "jpeg_writer.h"

#include "core/error.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>

namespace korbisto::ui {

QByteArray encodeJpeg(const QImage& image, int quality) {
    if (image.isNull()) throw KorbistoError(QStringLiteral("Kein Bild im Speicher"));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Qt's JPEG plugin is libjpeg with its standard tables and settings.
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(std::clamp(quality, 1, 100));
    writer.setProgressiveScanWrite(true);
    if (!writer.write(image.convertToFormat(QImage::Format_RGB888)))
        throw KorbistoError(
            QStringLiteral("Das Bild konnte nicht als JPEG gespeichert werden: %1").arg(writer.errorString()));
    return bytes;
}

}  // namespace korbisto::ui
