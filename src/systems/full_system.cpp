#include "full_system.h"

#include <algorithm>

namespace korbisto {

long long fullSystemRowCount(const SystemStructure& structure) {
    long long rows = 1;
    for (const SpielTipp& t : structure.SpielTipps) rows *= t.Anzahl > 0 ? t.Anzahl : 0;
    return rows;
}

FullSystemRows::FullSystemRows(const SystemStructure& structure)
    : structure_(structure), count_(fullSystemRowCount(structure)) {
    // An odometer over the matches; a tip code is its outcome column.
    for (size_t m = 0; m < kMatches; ++m) tips_[m] = structure_.SpielTipps[m].Tipp[1];
}

int FullSystemRows::appendTo(TipTable& table, int maxRows) {
    const int take = static_cast<int>(std::min<long long>(maxRows, count_ - next_));
    if (take <= 0) return 0;
    auto& rows = table.rows();
    const size_t base = rows.size();
    rows.resize(base + static_cast<size_t>(take));
    for (int i = 0; i < take; ++i) {
        TipTable::Row& row = rows[base + static_cast<size_t>(i)];
        row.number = static_cast<std::int32_t>(++next_);
        row.tips = tips_;
        for (size_t m = kMatches; m-- > 0;) {
            const SpielTipp& t = structure_.SpielTipps[m];
            if (++position_[m] < t.Anzahl) {
                tips_[m] = t.Tipp[static_cast<size_t>(position_[m] + 1)];
                break;
            }
            position_[m] = 0;
            tips_[m] = t.Tipp[1];
        }
    }
    return take;
}

TipTable expandFullSystem(const SystemStructure& structure) {
    FullSystemRows rows(structure);
    TipTable table;
    table.reserve(static_cast<int>(rows.count()));
    rows.appendTo(table, static_cast<int>(rows.count()));
    return table;
}

}  // namespace korbisto
