#include "ini_file.h"

#include "core/codepage.h"

#include <QByteArrayView>
#include <QStringDecoder>
#include <QStringEncoder>

namespace korbisto {

namespace {

bool isSectionLine(const QString& trimmed) { return trimmed.startsWith(u'[') && trimmed.endsWith(u']'); }

QString sectionName(const QString& trimmed) { return trimmed.mid(1, trimmed.size() - 2).trimmed(); }

bool keyOfLine(const QString& line, QString& key, QString& value) {
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u';') || isSectionLine(trimmed)) return false;
    const qsizetype eq = trimmed.indexOf(u'=');
    if (eq < 0) return false;
    key = trimmed.left(eq).trimmed();
    value = trimmed.mid(eq + 1).trimmed();
    return true;
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString unquote(const QString& value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// Values that the reader would trim or unquote are written in quotes.
QString quoteIfNeeded(const QString& value) {
    if (value.isEmpty()) return value;
    const bool edges = value.front().isSpace() || value.back().isSpace();
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                        value.back() == value.front();
    return edges || quoted ? u'"' + value + u'"' : value;
}

bool fitsOnALine(const QString& text) { return !text.contains(u'\n') && !text.contains(u'\r'); }

bool startsWith(const QByteArray& bytes, const char* mark) { return bytes.startsWith(QByteArrayView(mark)); }

}  // namespace

IniFile IniFile::fromBytes(QByteArray bytes) {
    IniFile ini;
    ini.bytes_ = std::move(bytes);
    if (startsWith(ini.bytes_, "\xEF\xBB\xBF")) {
        ini.bomSize_ = 3;
    } else if (startsWith(ini.bytes_, "\xFF\xFE")) {
        ini.encoding_ = Encoding::Utf16LE;
        ini.bomSize_ = 2;
    } else if (startsWith(ini.bytes_, "\xFE\xFF")) {
        ini.encoding_ = Encoding::Utf16BE;
        ini.bomSize_ = 2;
    }
    return ini;
}

// Calls visit(line) for every line until it returns false. A line ends at
// CR LF, LF or a lone CR.
template <typename Visit>
void IniFile::forEachLine(Visit visit) const {
    const char* s = bytes_.constData();
    if (encoding_ == Encoding::Bytes) {
        const qsizetype n = bytes_.size();
        for (qsizetype start = bomSize_; start < n;) {
            qsizetype end = start;
            while (end < n && s[end] != '\n' && s[end] != '\r') ++end;
            qsizetype next = end;
            if (next < n) next += s[next] == '\r' && next + 1 < n && s[next + 1] == '\n' ? 2 : 1;
            if (!visit(Line{start, end, next})) return;
            start = next;
        }
        return;
    }
    const int high = encoding_ == Encoding::Utf16LE ? 1 : 0;
    const auto unitAt = [&](qsizetype at) {
        return static_cast<char16_t>(static_cast<unsigned char>(s[at + high]) << 8 |
                                     static_cast<unsigned char>(s[at + 1 - high]));
    };
    const qsizetype n = bytes_.size() & ~qsizetype{1};
    for (qsizetype start = bomSize_; start < n;) {
        qsizetype end = start;
        while (end < n && unitAt(end) != u'\n' && unitAt(end) != u'\r') end += 2;
        qsizetype next = end;
        if (next < n) next += unitAt(next) == u'\r' && next + 2 < n && unitAt(next + 2) == u'\n' ? 4 : 2;
        if (!visit(Line{start, end, next})) return;
        start = next;
    }
}

QString IniFile::decode(const Line& line) const {
    const QByteArrayView bytes = QByteArrayView(bytes_).sliced(line.start, line.end - line.start);
    if (encoding_ != Encoding::Bytes) {
        QStringDecoder decoder(encoding_ == Encoding::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless);
        return decoder.decode(bytes);
    }
    return bytes.isValidUtf8() ? QString::fromUtf8(bytes) : decodeWindows1252(bytes.data(), bytes.size());
}

QByteArray IniFile::encode(const QString& text) const {
    if (encoding_ == Encoding::Bytes) return text.toUtf8();
    QStringEncoder encoder(encoding_ == Encoding::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                           QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

// Only a line with a bracket can be a section line, so outside the section
// sought the others need no decoding; that keeps a large file quick to read.
bool IniFile::maybeSection(const Line& line) const {
    return encoding_ != Encoding::Bytes ||
           QByteArrayView(bytes_).sliced(line.start, line.end - line.start).contains('[');
}

bool IniFile::endsWithLineBreak() const {
    if (bytes_.size() <= bomSize_) return true;  // no line yet
    const char last = bytes_.back();
    if (encoding_ == Encoding::Bytes) return last == '\n' || last == '\r';
    const char other = bytes_[bytes_.size() - 2];
    const char low = encoding_ == Encoding::Utf16LE ? other : last;
    const char high = encoding_ == Encoding::Utf16LE ? last : other;
    return high == 0 && (low == '\n' || low == '\r');
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    std::optional<QString> found;
    bool inSection = false;
    forEachLine([&](const Line& line) {
        if (!inSection && !maybeSection(line)) return true;
        const QString text = decode(line);
        const QString trimmed = text.trimmed();
        if (isSectionLine(trimmed)) {
            inSection = sameName(sectionName(trimmed), section);
            return true;
        }
        QString k, v;
        if (inSection && keyOfLine(text, k, v) && sameName(k, key)) {
            found = unquote(v);
            return false;
        }
        return true;
    });
    return found;
}

bool IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    if (!fitsOnALine(value) || !fitsOnALine(section) || !fitsOnALine(key) || key.contains(u'=') ||
        section.contains(u']') || key.trimmed().isEmpty())
        return false;
    // Half a UTF-16 character at the end would shift everything written after it.
    if (encoding_ != Encoding::Bytes && bytes_.size() % 2 != 0) return false;
    const QByteArray line = encode(key + u'=' + quoteIfNeeded(value));
    const QByteArray lineBreak = encode(QStringLiteral("\r\n"));
    bool inSection = false;
    std::optional<Line> replace;
    qsizetype insertAt = -1;
    forEachLine([&](const Line& l) {
        if (!inSection && !maybeSection(l)) return true;
        const QString text = decode(l);
        const QString trimmed = text.trimmed();
        if (isSectionLine(trimmed)) {
            if (inSection) return false;
            inSection = sameName(sectionName(trimmed), section);
            if (inSection) insertAt = l.next;
            return true;
        }
        if (!inSection) return true;
        QString k, v;
        if (keyOfLine(text, k, v)) {
            if (sameName(k, key)) {
                replace = l;
                return false;
            }
            insertAt = l.next;
        }
        return true;
    });
    if (replace) {
        bytes_.replace(replace->start, replace->end - replace->start, line);
        return true;
    }
    // The last line may lack its line break; it gets one before anything follows it.
    const QByteArray lead = endsWithLineBreak() ? QByteArray() : lineBreak;
    if (insertAt >= 0) {
        bytes_.insert(insertAt, (insertAt == bytes_.size() ? lead : QByteArray()) + line + lineBreak);
    } else {
        bytes_ += lead + encode(u'[' + section + u']') + lineBreak + line + lineBreak;
    }
    return true;
}

}  // namespace korbisto
