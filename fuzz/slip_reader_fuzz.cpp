#include "fuzz_support.h"

#include "core/bet_model.h"
#include "core/error.h"
#include "files/slip_file.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdlib>
#include <vector>

using namespace korbisto;

namespace {

using Tips = std::array<std::uint8_t, kMatches>;

// The record read straight from the format: per match the first non-zero of
// its three bytes names the column, which is the cell code.
Tips expectedTips(const std::uint8_t* record) {
    Tips tips{};
    for (int m = 0; m < kMatches; ++m)
        for (int c = 0; c < 3; ++c)
            if (record[1 + 3 * m + c] != 0) {
                tips[static_cast<size_t>(m)] = static_cast<std::uint8_t>(c + 1);
                break;
            }
    return tips;
}

using fuzz::check;

// The winning row 1, 0, 2, 1, 0, 2, ...: its cell codes.
std::uint8_t winningCode(int m) { return static_cast<std::uint8_t>(m % 3 + 1); }

int expectedHits(const Tips& tips) {
    int hits = 0;
    for (int m = 0; m < kMatches; ++m) hits += tips[static_cast<size_t>(m)] == winningCode(m);
    return hits;
}

void checkRows(const TipTable& table, const std::vector<Tips>& expected) {
    check(table.dataRowCount() == static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        const TipTable::Row& row = table.rows()[i];
        check(row.number == static_cast<std::int32_t>(i + 1) && row.tips == expected[i] && row.odd == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QString path = fuzz::inputFile(data, size);
    std::vector<Tips> expected(size / TScheinOffen::kSize);
    for (size_t i = 0; i < expected.size(); ++i) expected[i] = expectedTips(data + i * TScheinOffen::kSize);

    BetModel model;
    model.setInstantEvaluation(false);
    // Far below the row limit, a real file always reads.
    SpielscheinEinlesen(model.rows(), path);
    checkRows(model.table(), expected);
    for (const TipTable::Row& row : model.table().rows()) check(row.hits == TipTable::kNoHits);

    // Read in blocks of a few rows, the same rows come out.
    {
        SlipReader reader(path);
        check(reader.records() == static_cast<qint64>(expected.size()));
        const int block = 1 + static_cast<int>(size % 53);
        TipTable blocks;
        int added = 0;
        while ((added = reader.readInto(blocks, block)) > 0) check(added <= block);
        checkRows(blocks, expected);
    }

    for (int m = 1; m <= kMatches; ++m) model.setWinning(m, textOfTipCode(static_cast<TipCode>(winningCode(m - 1))));
    model.evaluate();
    for (size_t i = 0; i < expected.size(); ++i)
        check(model.table().rows()[i].hits == (expected[i][0] == kTipEmpty ? TipTable::kNoHits : expectedHits(expected[i])));
    model.sortByHits();
    if (!expected.empty() && expected[0][0] != kTipEmpty) {
        // Most hits first, rows without hits last, each group in file order.
        const auto& rows = model.table().rows();
        check(rows.size() == expected.size());
        const auto key = [](const TipTable::Row& r) { return r.hits < 0 ? -1 : static_cast<int>(r.hits); };
        for (size_t i = 1; i < rows.size(); ++i)
            check(key(rows[i - 1]) > key(rows[i]) || (key(rows[i - 1]) == key(rows[i]) && rows[i - 1].number < rows[i].number));
    }
    model.restoreOrder();
    checkRows(model.table(), expected);

    QString text;
    text.reserve(static_cast<qsizetype>(expected.size()) * 27);
    for (const Tips& tips : expected) {
        for (int m = 0; m < kMatches; ++m) {
            if (m > 0) text += u';';
            text += textOfTipCode(static_cast<TipCode>(tips[static_cast<size_t>(m)]));
        }
        text += QStringLiteral("\r\n");
    }
    check(exportRowsText(model.table(), u';') == text);

    // The writer refuses a tip row with an empty match; otherwise it writes
    // each tip row with exactly its first true byte per match, rows without
    // a first tip left out.
    bool refused = false;
    QByteArray written;
    for (size_t i = 0; i < expected.size(); ++i) {
        if (expected[i][0] == kTipEmpty) continue;
        char record[TScheinOffen::kSize] = {};
        for (int m = 0; m < kMatches; ++m) {
            const std::uint8_t code = expected[i][static_cast<size_t>(m)];
            if (code == kTipEmpty) refused = true;
            else record[1 + 3 * m + code - 1] = 1;
        }
        written.append(record, TScheinOffen::kSize);
    }
    try {
        const QByteArray again = encodeSlip(model.table());
        check(!refused && again == written);
    } catch (const KorbistoError&) {
        check(refused);
    }
    return 0;
}
