#include "slip_file.h"

#include "binary_io.h"

#include "core/error.h"
#include "core/german.h"
#include "core/text_helpers.h"

#include <QFileInfo>

#include <cstring>
#include <memory>

namespace korbisto {

namespace {

constexpr qint64 kChunkRecords = 32768;
// Ten times the largest full system; a larger file is no slip of ours and
// would only exhaust the memory.
constexpr qint64 kMaxSlipRows = 16777216;

KorbistoError tooManyRows() {
    return KorbistoError(refusal(QStringLiteral("Die Datei ist zu groß für einen Spielschein: Es können höchstens "
                                                "%1 Tippreihen eingelesen werden.")
                                     .arg(formatCount(kMaxSlipRows))));
}

// The digit of a tip cell as the slip stores it, or -1.
int slipDigit(const TipTable& table, const TipTable::Row& row, int match) {
    const auto code = static_cast<TipCode>(row.tips[static_cast<size_t>(match - 1)]);
    if (code == kTipOne) return 1;
    if (code == kTipZero) return 0;
    if (code == kTipTwo) return 2;
    if (code == kTipOther) {
        // Cells the runtime would read as 0, 1 or 2 (" 1", "+2", "01") are fine.
        const auto v = StrToIntOpt(table.oddText(row, match));
        if (v && *v >= 0 && *v <= 2) return *v;
    }
    return -1;
}

}  // namespace

std::array<std::uint8_t, kMatches> tipsOfRecord(const char* record) {
    std::array<std::uint8_t, kMatches> tips{};
    const char* ja = record + 1;
    for (int m = 0; m < kMatches; ++m) {
        const char* b = ja + 3 * m;
        tips[static_cast<size_t>(m)] = b[0] ? kTipOne : b[1] ? kTipZero : b[2] ? kTipTwo : kTipEmpty;
    }
    return tips;
}

int readSlipFile(const QString& path, TipTable& table) {
    InputFile file(path);
    table.clearAll();
    const qint64 expected = file.size() / TScheinOffen::kSize;
    if (expected > kMaxSlipRows) throw tooManyRows();
    table.reserve(static_cast<int>(expected));
    auto buffer = std::make_unique<char[]>(static_cast<size_t>(kChunkRecords * TScheinOffen::kSize));
    qint64 carry = 0;
    std::int32_t number = 0;
    for (;;) {
        const qint64 got = file.read(buffer.get() + carry, kChunkRecords * TScheinOffen::kSize - carry);
        const qint64 available = carry + got;
        const qint64 whole = available / TScheinOffen::kSize;
        for (qint64 i = 0; i < whole; ++i) {
            if (number == kMaxSlipRows) throw tooManyRows();
            table.appendRow(++number, tipsOfRecord(buffer.get() + i * TScheinOffen::kSize));
        }
        carry = available - whole * TScheinOffen::kSize;
        if (got == 0) break;
        if (carry > 0) std::memmove(buffer.get(), buffer.get() + whole * TScheinOffen::kSize, static_cast<size_t>(carry));
    }
    return number;
}

void SpielscheinEinlesen(TipDocument& document, const QString& path) {
    document.clear();
    TipTable rows;
    const int n = readSlipFile(path, rows);
    document.replaceRows(std::move(rows));
    document.setFileName(QFileInfo(path).fileName());
    document.setTipRowCount(n);
}

namespace {

[[noreturn]] void refuseTip(const TipTable& table, int row, int match) {
    const QString text = table.cellText(row, match);
    const QString what = text.isEmpty() ? QStringLiteral("ist leer") : QStringLiteral("lautet „%1“").arg(text);
    throw KorbistoError(refusal(QStringLiteral("Der Tipp in Reihe %1, Spiel %2 %3. Ein Spielschein kann nur die Tipps "
                                               "1, 0 und 2 speichern; es wurde nichts gespeichert.")
                                    .arg(row)
                                    .arg(match)
                                    .arg(what)));
}

// Encodes the tip rows in blocks and hands each block to `sink`; a tip that
// is not 0, 1 or 2 stops it with the refusal before the block is handed on.
template <typename Sink>
void encodeTipRows(const TipTable& table, Sink&& sink) {
    constexpr int kBlockRecords = 16384;
    QByteArray block(kBlockRecords * TScheinOffen::kSize, Qt::Uninitialized);
    int inBlock = 0;
    const auto& rows = table.rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const TipTable::Row& row = rows[i];
        if (row.tips[0] == kTipEmpty) continue;
        char* out = block.data() + inBlock * TScheinOffen::kSize;
        std::memset(out, 0, TScheinOffen::kSize);
        for (int m = 0; m < kMatches; ++m) {
            int column = row.tips[static_cast<size_t>(m)];
            if (column == kTipEmpty || column == kTipOther) {
                const int d = slipDigit(table, row, m + 1);
                if (d < 0) refuseTip(table, static_cast<int>(i) + 1, m + 1);
                column = TippSpalte[static_cast<size_t>(d)];
            }
            out[3 * m + column] = 1;
        }
        if (++inBlock == kBlockRecords) {
            sink(block.constData(), static_cast<qint64>(inBlock) * TScheinOffen::kSize);
            inBlock = 0;
        }
    }
    if (inBlock > 0) sink(block.constData(), static_cast<qint64>(inBlock) * TScheinOffen::kSize);
}

}  // namespace

void validateSlipRows(const TipTable& table) {
    encodeTipRows(table, [](const char*, qint64) {});
}

QByteArray encodeSlip(const TipTable& table) {
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(table.dataRowCount()) * TScheinOffen::kSize);
    encodeTipRows(table, [&](const char* data, qint64 size) { bytes.append(data, size); });
    return bytes;
}

void WriteSlipFile(const TipTable& table, const QString& path) {
    // Refused rows are found before the file is touched; the atomic file
    // drops everything it got when encoding stops half-way.
    AtomicFile file(path);
    encodeTipRows(table, [&](const char* data, qint64 size) { file.write(data, size); });
    file.commit();
}

void checkCanSave(const TipDocument& document) {
    if (document.isEmpty()) throw KorbistoError(refusal(QStringLiteral("Es gibt nichts zu speichern.")));
}

void saveSlip(TipDocument& document, const QString& path) {
    checkCanSave(document);
    WriteSlipFile(document.table(), path);
    document.setFileName(QFileInfo(path).fileName());
}

}  // namespace korbisto
