#include "full_system.h"

namespace korbisto {

long long fullSystemRowCount(const SystemStructure& structure) {
    long long rows = 1;
    for (const SpielTipp& t : structure.SpielTipps) rows *= t.Anzahl > 0 ? t.Anzahl : 0;
    return rows;
}

TipTable expandFullSystem(const SystemStructure& structure) {
    const long long count = fullSystemRowCount(structure);
    TipTable table(static_cast<int>(count));
    if (count == 0) return table;

    // An odometer over the matches; a tip code is its outcome column.
    std::array<int, kMatches> position{};
    std::array<std::uint8_t, kMatches> tips{};
    for (size_t m = 0; m < kMatches; ++m) tips[m] = structure.SpielTipps[m].Tipp[1];
    std::vector<TipTable::Row>& rows = table.rows();
    for (long long k = 0; k < count; ++k) {
        TipTable::Row& row = rows[static_cast<size_t>(k)];
        row.number = static_cast<std::int32_t>(k + 1);
        row.tips = tips;
        for (size_t m = kMatches; m-- > 0;) {
            const SpielTipp& t = structure.SpielTipps[m];
            if (++position[m] < t.Anzahl) {
                tips[m] = t.Tipp[static_cast<size_t>(position[m] + 1)];
                break;
            }
            position[m] = 0;
            tips[m] = t.Tipp[1];
        }
    }
    return table;
}

}  // namespace korbisto
