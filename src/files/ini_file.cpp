#include "ini_file.h"

#include "text_file.h"

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

}  // namespace

IniFile IniFile::fromBytes(const QByteArray& bytes) {
    IniFile ini;
    QString text = decodeTextBytes(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    ini.lines_ = text.split(u'\n');
    if (!ini.lines_.isEmpty() && ini.lines_.last().isEmpty()) ini.lines_.removeLast();
    return ini;
}

QByteArray IniFile::toBytes() const {
    QByteArray bytes;
    for (const QString& line : lines_) bytes += line.toUtf8() + "\r\n";
    return bytes;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    bool inSection = false;
    for (const QString& line : lines_) {
        const QString trimmed = line.trimmed();
        if (isSectionLine(trimmed)) {
            inSection = sameName(sectionName(trimmed), section);
            continue;
        }
        QString k, v;
        if (inSection && keyOfLine(line, k, v) && sameName(k, key)) return unquote(v);
    }
    return std::nullopt;
}

bool IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    if (!fitsOnALine(value) || !fitsOnALine(section) || !fitsOnALine(key) || key.contains(u'=') ||
        section.contains(u']') || key.trimmed().isEmpty())
        return false;
    const QString line = key + u'=' + quoteIfNeeded(value);
    bool inSection = false;
    qsizetype insertAt = -1;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const QString trimmed = lines_[i].trimmed();
        if (isSectionLine(trimmed)) {
            if (inSection) break;
            inSection = sameName(sectionName(trimmed), section);
            if (inSection) insertAt = i + 1;
            continue;
        }
        if (!inSection) continue;
        QString k, v;
        if (keyOfLine(lines_[i], k, v)) {
            if (sameName(k, key)) {
                lines_[i] = line;
                return true;
            }
            insertAt = i + 1;
        }
    }
    if (insertAt >= 0) {
        lines_.insert(insertAt, line);
    } else {
        lines_ << u'[' + section + u']' << line;
    }
    return true;
}

}  // namespace korbisto
