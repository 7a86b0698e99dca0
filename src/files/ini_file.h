#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace korbisto {

// An INI text read and changed the way the Windows profile functions do it:
// sections and keys match without regard to case, values are trimmed and lose
// one pair of enclosing quotes, a changed key keeps its place, a new key goes
// to the end of its section, a new section to the end of the file. Everything
// else in the file (comments, unknown keys, order) stays as it was.
class IniFile {
public:
    // Decodes the bytes (byte-order mark, else UTF-8 if valid, else Windows-1252).
    static IniFile fromBytes(const QByteArray& bytes);
    // UTF-8 without byte-order mark, CR LF after every line.
    QByteArray toBytes() const;

    std::optional<QString> value(const QString& section, const QString& key) const;
    // Returns false, changing nothing, for a value that a line cannot hold
    // (line breaks) or a section or key name that would break the file.
    bool setValue(const QString& section, const QString& key, const QString& value);

private:
    QStringList lines_;
};

}  // namespace korbisto
