#include "slip_file.h"

#include "binary_io.h"

#include "core/error.h"
#include "core/german.h"
#include "core/text_helpers.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <memory>

namespace korbisto {

namespace {

constexpr qint64 kChunkBytes = SlipReader::kBlockRows * TScheinOffen::kSize;

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

// Bit i set where byte i of the 40-byte record is not 0.
std::uint64_t trueBytes(const char* record) {
#if defined(__SSE2__)
    // Three loads of 16 bytes cover the record; the last one overlaps the
    // second, which does no harm to an OR.
    const __m128i zero = _mm_setzero_si128();
    const auto nonZero = [&](const char* at) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        return static_cast<std::uint64_t>(~_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zero)) & 0xFFFF);
    };
    return nonZero(record) | nonZero(record + 16) << 16 | nonZero(record + 24) << 24;
#else
    std::uint64_t bits = 0;
    for (int i = 0; i < TScheinOffen::kSize; ++i) bits |= static_cast<std::uint64_t>(record[i] != 0) << i;
    return bits;
#endif
}

// The first true byte of a match's three decides its tip: indexed by which
// of them are true.
constexpr std::uint8_t kFirstTrue[8] = {kTipEmpty, kTipOne, kTipZero, kTipOne, kTipTwo, kTipOne, kTipZero, kTipOne};

// The tips of two matches at once, indexed by their six bytes' truth.
constexpr std::array<std::array<std::uint8_t, 2>, 64> kTwoTips = [] {
    std::array<std::array<std::uint8_t, 2>, 64> pairs{};
    for (int i = 0; i < 64; ++i) pairs[static_cast<size_t>(i)] = {kFirstTrue[i & 7], kFirstTrue[i >> 3]};
    return pairs;
}();

inline void decodeRecord(const char* record, std::uint8_t* tips) {
    const std::uint64_t ja = trueBytes(record) >> 1;
    for (int m = 0; m + 1 < kMatches; m += 2) std::memcpy(tips + m, kTwoTips[(ja >> (3 * m)) & 63].data(), 2);
    tips[kMatches - 1] = kFirstTrue[(ja >> (3 * (kMatches - 1))) & 7];
}

}  // namespace

std::array<std::uint8_t, kMatches> tipsOfRecord(const char* record) {
    std::array<std::uint8_t, kMatches> tips;
    decodeRecord(record, tips.data());
    return tips;
}

SlipReader::SlipReader(const QString& path) : file_(std::make_unique<InputFile>(path)) {
    const qint64 size = file_->size();
    records_ = std::max<qint64>(size, 0) / TScheinOffen::kSize;
    if (records_ > kMaxSlipRows) throw tooManyRows();
    // A small slip needs no large buffer; what it holds is read over anyway. A
    // pipe's size is not known: it may be large.
    capacity_ = size < 0 ? kChunkBytes : std::min<qint64>(kChunkBytes, size + TScheinOffen::kSize);
    buffer_.reset(new char[static_cast<size_t>(capacity_)]);
}

SlipReader::~SlipReader() = default;

int SlipReader::readInto(TipTable& table, int maxRows) {
    int added = 0;
    while (added < maxRows) {
        if (held_ < TScheinOffen::kSize) {
            if (atEnd_) break;
            // The part of a record left over goes to the front, the rest is refilled.
            if (held_ > 0) std::memmove(buffer_.get(), buffer_.get() + offset_, static_cast<size_t>(held_));
            offset_ = 0;
            const qint64 got = file_->read(buffer_.get() + held_, capacity_ - held_);
            if (got == 0) atEnd_ = true;
            held_ += got;
            continue;
        }
        // The whole records held, up to the rows still wanted, in one go.
        const int take = static_cast<int>(std::min<qint64>(held_ / TScheinOffen::kSize, maxRows - added));
        // A file that grew since it was opened is held to the same limit.
        if (number_ + static_cast<qint64>(take) > kMaxSlipRows) throw tooManyRows();
        auto& rows = table.rows();
        const size_t base = rows.size();
        rows.resize(base + static_cast<size_t>(take));
        const char* record = buffer_.get() + offset_;
        for (int i = 0; i < take; ++i, record += TScheinOffen::kSize) {
            TipTable::Row& row = rows[base + static_cast<size_t>(i)];
            row.number = ++number_;
            decodeRecord(record, row.tips.data());
        }
        offset_ += static_cast<qint64>(take) * TScheinOffen::kSize;
        held_ -= static_cast<qint64>(take) * TScheinOffen::kSize;
        added += take;
    }
    return added;
}

int readSlipFile(const QString& path, TipTable& table) {
    SlipReader reader(path);
    table.clearAll();
    table.reserve(static_cast<int>(reader.records()));
    int n = 0;
    while (const int added = reader.readInto(table)) n += added;
    return n;
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

[[noreturn]] void refuseTip(const TipTable& table, int row, int match, int rowsBefore) {
    const QString text = table.cellText(row, match);
    row += rowsBefore;
    const QString what =
        text.isEmpty() ? QStringLiteral("ist leer") : QStringLiteral("lautet „%1“").arg(quotedInput(text));
    throw KorbistoError(refusal(QStringLiteral("Der Tipp in Reihe %1, Spiel %2 %3. Ein Spielschein kann nur die Tipps "
                                               "1, 0 und 2 speichern; es wurde nichts gespeichert.")
                                    .arg(row)
                                    .arg(match)
                                    .arg(what)));
}

constexpr int kBlockRecords = 16384;

// Encodes the tip rows in blocks of `block` and hands each block to `sink`; a
// tip that is not 0, 1 or 2 stops it with the refusal before the block is
// handed on. Rows are named counting on from `rowsBefore`. The block's memory
// is the caller's, so that a writer fills the same pages block after block.
template <typename Sink>
void encodeTipRows(const TipTable& table, Sink&& sink, QByteArray& block, int rowsBefore = 0) {
    // A small table needs no whole block; a block was a large allocation per save.
    const int blockRecords = std::clamp(table.dataRowCount(), 1, kBlockRecords);
    if (block.size() < blockRecords * TScheinOffen::kSize) block.resize(blockRecords * TScheinOffen::kSize);
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
                if (d < 0) refuseTip(table, static_cast<int>(i) + 1, m + 1, rowsBefore);
                column = TippSpalte[static_cast<size_t>(d)];
            }
            out[3 * m + column] = 1;
        }
        if (++inBlock == blockRecords) {
            sink(block.constData(), static_cast<qint64>(inBlock) * TScheinOffen::kSize);
            inBlock = 0;
        }
    }
    if (inBlock > 0) sink(block.constData(), static_cast<qint64>(inBlock) * TScheinOffen::kSize);
}

}  // namespace

void validateSlipRows(const TipTable& table) {
    QByteArray block;
    encodeTipRows(table, [](const char*, qint64) {}, block);
}

QByteArray encodeSlip(const TipTable& table) {
    QByteArray bytes;
    QByteArray block;
    bytes.reserve(static_cast<qsizetype>(table.dataRowCount()) * TScheinOffen::kSize);
    encodeTipRows(table, [&](const char* data, qint64 size) { bytes.append(data, size); }, block);
    return bytes;
}

void WriteSlipFile(const TipTable& table, const QString& path) {
    SlipWriter writer(path);
    writer.write(table);
    writer.commit();
}

SlipWriter::SlipWriter(const QString& path) : file_(std::make_unique<AtomicFile>(path)) {}

SlipWriter::~SlipWriter() = default;

void SlipWriter::write(const TipTable& block) {
    // The atomic file drops everything it got when encoding stops half-way.
    encodeTipRows(block, [&](const char* data, qint64 size) { file_->write(data, size); }, buffer_, rowsBefore_);
    rowsBefore_ += block.dataRowCount();
}

void SlipWriter::commit() { file_->commit(); }

void checkCanSave(const TipDocument& document) {
    if (document.isEmpty()) throw KorbistoError(refusal(QStringLiteral("Es gibt nichts zu speichern.")));
}

void saveSlip(TipDocument& document, const QString& path) {
    checkCanSave(document);
    WriteSlipFile(document.table(), path);
    document.setFileName(QFileInfo(path).fileName());
}

}  // namespace korbisto
