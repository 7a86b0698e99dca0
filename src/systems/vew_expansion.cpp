#include "vew_expansion.h"

namespace korbisto {

WegeNummern WegeNummerieren(const SystemStructure& structure) {
    WegeNummern wege;
    std::int32_t zw = 0;
    std::int32_t dw = structure.AnzZW;
    for (size_t m = 0; m < kMatches; ++m) {
        const std::int32_t n = structure.SpielTipps[m].Anzahl;
        if (n == 2) wege.ZWNr[m] = ++zw;
        if (n == 3) wege.DWNr[m] = ++dw;
    }
    return wege;
}

std::optional<TipTable> expandVew(const SystemStructure& structure, const VewReihen& rows) {
    // Each position of the system needs exactly one match of its kind.
    int zw = 0;
    int dw = 0;
    for (const SpielTipp& t : structure.SpielTipps) {
        if (t.Anzahl < 1 || t.Anzahl > 3) return std::nullopt;
        zw += t.Anzahl == 2;
        dw += t.Anzahl == 3;
    }
    if (zw != structure.AnzZW || zw != rows.zw() || zw + dw != rows.width()) return std::nullopt;
    const WegeNummern wege = WegeNummerieren(structure);

    TipTable table(rows.rows());
    for (int r = 0; r < rows.rows(); ++r) {
        TipTable::Row& row = table.rows()[static_cast<size_t>(r)];
        row.number = r + 1;
        for (size_t m = 0; m < kMatches; ++m) {
            int slot = 0;
            if (wege.ZWNr[m] > 0)
                slot = rows.at(r, wege.ZWNr[m] - 1);
            else if (wege.DWNr[m] > 0)
                slot = rows.at(r, wege.DWNr[m] - 1);
            // The tip code of a cell is the outcome column of the slot.
            row.tips[m] = structure.SpielSlots[m][static_cast<size_t>(slot)];
        }
    }
    return table;
}

std::optional<TipTable> expandVew(const SystemStructure& structure, int number) {
    return expandVew(structure, VewLaden(number));
}

}  // namespace korbisto
