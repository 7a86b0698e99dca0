#pragma once

#include <QByteArray>
#include <QImage>

namespace korbisto::ui {

// A progressive JPEG of the image, as 24-bit RGB with the encoder's standard
// settings and the given quality (clamped to 1..100). Throws KorbistoError
// for an empty image or when the encoder fails.
QByteArray encodeJpeg(const QImage& image, int quality);

}  // namespace korbisto::ui
