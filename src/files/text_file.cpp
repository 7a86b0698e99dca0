#include "text_file.h"

#include "binary_io.h"

#include "core/codepage.h"
#include "core/error.h"
#include "core/tip_table.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace korbisto {

namespace {

bool startsWith(const QByteArray& bytes, std::initializer_list<unsigned char> mark) {
    if (bytes.size() < static_cast<qsizetype>(mark.size())) return false;
    qsizetype i = 0;
    for (unsigned char b : mark)
        if (static_cast<unsigned char>(bytes[i++]) != b) return false;
    return true;
}

QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes, bool* valid = nullptr) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (valid) *valid = !decoder.hasError();
    return text;
}

QString withCrLf(const QString& text) {
    const QChar* s = text.constData();
    const qsizetype n = text.size();
    qsizetype lone = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        if (c == u'\r') {
            if (i + 1 < n && s[i + 1] == u'\n')
                ++i;
            else
                ++lone;
        } else if (c == u'\n') {
            ++lone;
        }
    }
    if (lone == 0) return text;
    QString result(n + lone, Qt::Uninitialized);
    QChar* out = result.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        if (c == u'\r' || c == u'\n') {
            *out++ = u'\r';
            *out++ = u'\n';
            if (c == u'\r' && i + 1 < n && s[i + 1] == u'\n') ++i;
        } else {
            *out++ = s[i];
        }
    }
    return result;
}

}  // namespace

QString decodeTextBytes(const QByteArray& bytes) {
    const QByteArrayView view(bytes);
    QString text;
    if (startsWith(bytes, {0xEF, 0xBB, 0xBF})) {
        text = decodeWith(QStringConverter::Utf8, view.sliced(3));
    } else if (startsWith(bytes, {0xFF, 0xFE})) {
        text = decodeWith(QStringConverter::Utf16LE, view.sliced(2));
    } else if (startsWith(bytes, {0xFE, 0xFF})) {
        text = decodeWith(QStringConverter::Utf16BE, view.sliced(2));
    } else {
        bool valid = false;
        text = decodeWith(QStringConverter::Utf8, view, &valid);
        if (!valid) text = decodeWindows1252(bytes);
    }
    return text;
}

QString decodeTextFile(const QByteArray& bytes) { return withCrLf(decodeTextBytes(bytes)); }

LoadedText loadTextFile(const QString& path, LineBreaks breaks) {
    std::optional<QByteArray> bytes = readFileBytes(path, kMaxTextFileBytes);
    if (!bytes)
        throw KorbistoError(refusal(QStringLiteral("Die Datei ist zu groß für das Textfeld: Es können höchstens "
                                                   "%1 MB Text eingelesen werden.")
                                        .arg(kMaxTextFileBytes / (1024 * 1024))));
    QString text = decodeTextBytes(*bytes);
    bytes.reset();  // the bytes go before the text is copied once more
    if (breaks == LineBreaks::CrLf) text = withCrLf(text);
    return {std::move(text), QFileInfo(path).fileName()};
}

void encodeRowsText(const TipTable& table, QChar separator, const std::function<void(const QByteArray&)>& sink) {
    // A few thousand rows at a time: the text of all of them is never held.
    constexpr int kRowsAtATime = 4096;
    for (int first = 1; first < table.rowCount(); first += kRowsAtATime)
        sink(encodeWindows1252Lossy(exportRowsText(table, separator, first, first + kRowsAtATime - 1)));
}

void saveRowsText(const QString& path, const TipTable& table, QChar separator) {
    AtomicFile file(path);
    encodeRowsText(table, separator, [&](const QByteArray& bytes) { file.write(bytes); });
    file.commit();
}

}  // namespace korbisto
