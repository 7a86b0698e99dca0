#pragma once

#include "core/tip_table.h"

#include <QByteArray>
#include <QStringView>

namespace korbisto::cli {

// Standard output in blocks of bytes. A write that fails (a closed pipe, a
// full disk) throws KorbistoError with a German text, so that a command ends
// with exit code 1 instead of losing the rest of its output unnoticed.
class Output {
public:
    static constexpr qsizetype kBlock = 64 * 1024;

    Output();

    // Bytes are added here, then maybeFlush() hands on full blocks.
    QByteArray& bytes() { return buffer_; }
    void maybeFlush() {
        if (buffer_.size() >= kBlock) flush();
    }
    void text(QStringView text);
    void flush();
    // The last block and the system's own buffer; throws as a write does.
    void finish();

private:
    QByteArray buffer_;
};

// All standard output of the tool goes through this one, in order.
Output& standardOutput();

// Appends the decimal digits of `value`.
void appendNumber(QByteArray& out, long long value);
// Text from a file or an argument as a terminal may show it: control
// characters (below 32, and 127) become the visible pictures of them.
QString visible(QStringView text);
// Appends `text` as UTF-8 with control characters shown as their pictures.
void appendVisible(QByteArray& out, QStringView text);
// Appends `text` right-justified to `width` characters, as QString pads it.
void appendRightJustified(QByteArray& out, QStringView text, int width);

// A row as "Reihen kopieren" gives it: the 13 tips joined by `separator`,
// then CR LF.
void appendTipsLine(QByteArray& out, const TipTable& table, const TipTable::Row& row, char separator);
// Every row of the table so, in blocks.
void printRows(const TipTable& table, char separator);

}  // namespace korbisto::cli
