#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace korbisto {

// An INI text read and changed the way the Windows profile functions do it:
// sections and keys match without regard to case, values are trimmed and lose
// one pair of enclosing quotes, a changed key keeps its place, a new key goes
// to the end of its section, a new section to the end of the file. Every byte
// of the lines that a change does not touch stays as it was: comments,
// unknown keys, order, line breaks, the byte-order mark.
class IniFile {
public:
    // With a UTF-16 byte-order mark the file is UTF-16. Otherwise each line is
    // decoded on its own: UTF-8 where it is valid UTF-8, else Windows-1252, so
    // that one line from an old program does not change how the others read.
    static IniFile fromBytes(QByteArray bytes);
    // A changed or new line is written in the file's encoding (UTF-8 unless it
    // is UTF-16) with CR LF after it; a new file has no byte-order mark.
    const QByteArray& toBytes() const { return bytes_; }

    std::optional<QString> value(const QString& section, const QString& key) const;
    // Returns false, changing nothing, for a value that a line cannot hold
    // (line breaks) or a section or key name that would break the file.
    bool setValue(const QString& section, const QString& key, const QString& value);

private:
    enum class Encoding { Bytes, Utf16LE, Utf16BE };
    struct Line {
        qsizetype start = 0;  // byte offsets in bytes_
        qsizetype end = 0;    // where the line break begins
        qsizetype next = 0;   // after the line break
    };

    template <typename Visit>
    void forEachLine(Visit visit) const;
    QString decode(const Line& line) const;
    QByteArray encode(const QString& text) const;
    bool maybeSection(const Line& line) const;
    bool endsWithLineBreak() const;

    QByteArray bytes_;
    Encoding encoding_ = Encoding::Bytes;
    qsizetype bomSize_ = 0;
};

}  // namespace korbisto
