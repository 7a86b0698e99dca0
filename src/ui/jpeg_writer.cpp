#include "jpeg_writer.h"

#include "core/error.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace korbisto::ui {

namespace {

struct Encoder {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

[[noreturn]] void onError(j_common_ptr info) {
    auto* encoder = static_cast<Encoder*>(info->client_data);
    (*info->err->format_message)(info, encoder->message);
    std::longjmp(encoder->jump, 1);
}

void onMessage(j_common_ptr, int) {}

// The encoder's errors come back through longjmp; the state lives in the
// caller's frame so that it stays valid across the jump.
bool compress(Encoder& e, const QImage& rgb, int quality) {
    e.info.err = jpeg_std_error(&e.errors);
    e.errors.error_exit = onError;
    e.errors.emit_message = onMessage;
    e.info.client_data = &e;
    if (setjmp(e.jump)) return false;
    jpeg_create_compress(&e.info);
    jpeg_mem_dest(&e.info, &e.buffer, &e.size);
    e.info.image_width = static_cast<JDIMENSION>(rgb.width());
    e.info.image_height = static_cast<JDIMENSION>(rgb.height());
    e.info.input_components = 3;
    e.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&e.info);
    jpeg_set_quality(&e.info, quality, TRUE);
    jpeg_simple_progression(&e.info);
    jpeg_start_compress(&e.info, TRUE);
    while (e.info.next_scanline < e.info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(e.info.next_scanline)));
        jpeg_write_scanlines(&e.info, &row, 1);
    }
    jpeg_finish_compress(&e.info);
    return true;
}

}  // namespace

QByteArray encodeJpeg(const QImage& image, int quality) {
    if (image.isNull()) throw KorbistoError(QStringLiteral("Kein Bild im Speicher"));
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    Encoder encoder;
    const bool ok = compress(encoder, rgb, std::clamp(quality, 1, 100));
    QByteArray bytes;
    if (ok) bytes = QByteArray(reinterpret_cast<const char*>(encoder.buffer), static_cast<qsizetype>(encoder.size));
    jpeg_destroy_compress(&encoder.info);
    std::free(encoder.buffer);
    if (!ok)
        throw KorbistoError(QStringLiteral("Das Bild konnte nicht als JPEG gespeichert werden: %1")
                                .arg(QString::fromLocal8Bit(encoder.message)));
    return bytes;
}

}  // namespace korbisto::ui
