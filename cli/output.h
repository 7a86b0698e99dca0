#pragma once

#include "core/tip_table.h"

#include <QByteArray>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace korbisto::cli {

// Thrown where the reader of standard output went away (`| head`): the
// command ends at once and quietly, as a pipe's first command does.
struct OutputClosed {};

// Standard output in blocks of bytes. A write that fails (a full disk, a
// closed standard output) throws KorbistoError with a German text, so that a
// command ends with exit code 1 instead of losing the rest of its output
// unnoticed; a reader that went away throws OutputClosed.
class Output {
public:
    static constexpr qsizetype kBlock = 64 * 1024;

    Output();

    // Room for `size` bytes at the end of the block, written in place and
    // kept by advance(); `size` at most kBlock.
    char* room(qsizetype size) {
        if (used_ + size > kCapacity) flush();
        return data_.get() + used_;
    }
    void advance(qsizetype size) {
        used_ += size;
        if (used_ >= kBlock) flush();
    }
    void append(const char* data, qsizetype size);
    void append(const QByteArray& bytes) { append(bytes.constData(), bytes.size()); }
    void text(QStringView text);
    void flush();
    // The last block and the system's own buffer; throws as a write does.
    void finish();

private:
    static constexpr qsizetype kCapacity = 2 * kBlock;
    std::unique_ptr<char[]> data_;
    qsizetype used_ = 0;
};

// All standard output of the tool goes through this one, in order.
Output& standardOutput();

// Text from a file or an argument as a terminal may show it (visibleText).
QString visible(QStringView text);
// Appends `text` as UTF-8 with control characters shown as their pictures.
void appendVisible(QByteArray& out, QStringView text);
// Appends `text` right-justified to `width` characters, as QString pads it.
void appendRightJustified(QByteArray& out, QStringView text, int width);
// Writes `value` right-justified to `width` at `p`; returns the end.
char* putNumber(char* p, long long value, int width);
// The same with the German thousands separator, as formatCount() gives it;
// at most 32 bytes.
char* putCount(char* p, long long value, int width);
// The value in hundredths, rounded half up on its exact binary value as Qt's
// fixed-point text rounds it; none for a value below 0, at or above 10^15 or
// no number.
std::optional<std::uint64_t> hundredths(double value);
// formatAmount(value) as bytes, right-justified to `width`, then `suffix`
// (formatPercent() is formatAmount(100 * share) and " %"); at most 48 bytes
// beside the suffix and the padding.
char* putAmount(char* p, double value, int width, std::string_view suffix = {});

// A row as "Reihen kopieren" gives it, the 13 tips joined by `separator`,
// but ending in a line feed as text on standard output does.
void writeTipsLine(Output& out, const TipTable& table, const TipTable::Row& row, char separator);
// Every row of the table so, a line each.
void printRows(const TipTable& table, char separator);

}  // namespace korbisto::cli
