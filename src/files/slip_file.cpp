#include "slip_file.h"

#include "binary_io.h"

#include "core/error.h"
#include "core/german.h"
#include "core/text_helpers.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

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

// A row of outcomes only, the usual case, needs no look at texts.
bool plainOutcomes(const TipTable::Row& row) {
    bool plain = true;
    for (std::uint8_t code : row.tips) plain &= code >= kTipOne && code <= kTipTwo;
    return plain;
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

void SpielscheinEinlesen(BetModel& model, const QString& path) {
    model.clearTable();
    TipTable rows;
    const int n = readSlipFile(path, rows);
    model.changeTable([&](TipTable& t) { t = std::move(rows); });
    model.setFileName(QFileInfo(path).fileName());
    model.setRowsText(QString::number(n));
}

void validateSlipRows(const TipTable& table) {
    for (int r = 1; r < table.rowCount(); ++r) {
        const TipTable::Row& row = table.rowAt(r);
        if (row.tips[0] == kTipEmpty || plainOutcomes(row)) continue;
        for (int m = 1; m <= kMatches; ++m) {
            if (slipDigit(table, row, m) >= 0) continue;
            const QString text = table.cellText(r, m);
            const QString what = text.isEmpty() ? QStringLiteral("ist leer")
                                                : QStringLiteral("lautet „%1“").arg(text);
            throw KorbistoError(refusal(
                QStringLiteral("Der Tipp in Reihe %1, Spiel %2 %3. Ein Spielschein kann nur die Tipps 1, 0 und 2 "
                               "speichern; es wurde nichts gespeichert.")
                    .arg(r)
                    .arg(m)
                    .arg(what)));
        }
    }
}

namespace {

// The records of the tip rows among `rows`, into `out`; returns the end.
char* encodeRecords(const TipTable& table, const TipTable::Row* rows, size_t count, char* out) {
    for (size_t i = 0; i < count; ++i) {
        const TipTable::Row& row = rows[i];
        if (row.tips[0] == kTipEmpty) continue;
        std::memset(out, 0, TScheinOffen::kSize);
        if (plainOutcomes(row)) {
            // The code of an outcome is its column.
            for (int m = 0; m < kMatches; ++m) out[3 * m + row.tips[static_cast<size_t>(m)]] = 1;
            out += TScheinOffen::kSize;
            continue;
        }
        for (int m = 1; m <= kMatches; ++m) {
            const int d = slipDigit(table, row, m);
            out[3 * (m - 1) + TippSpalte[static_cast<size_t>(d)]] = 1;
        }
        out += TScheinOffen::kSize;
    }
    return out;
}

}  // namespace

QByteArray encodeSlip(const TipTable& table) {
    validateSlipRows(table);
    qsizetype tipRows = 0;
    for (const TipTable::Row& row : table.rows()) tipRows += row.tips[0] != kTipEmpty;
    QByteArray bytes(tipRows * TScheinOffen::kSize, '\0');
    encodeRecords(table, table.rows().data(), table.rows().size(), bytes.data());
    return bytes;
}

void WriteSlipFile(const TipTable& table, const QString& path) {
    validateSlipRows(table);
    AtomicFile file(path);
    // Written in blocks: a slip of millions of rows never sits in memory twice.
    std::vector<char> block(static_cast<size_t>(kChunkRecords * TScheinOffen::kSize));
    const std::vector<TipTable::Row>& rows = table.rows();
    for (size_t first = 0; first < rows.size(); first += kChunkRecords) {
        const size_t count = std::min(rows.size() - first, static_cast<size_t>(kChunkRecords));
        const char* end = encodeRecords(table, rows.data() + first, count, block.data());
        file.write(block.data(), end - block.data());
    }
    file.commit();
}

}  // namespace korbisto
