#include "development.h"

#include "cross_sheet.h"
#include "full_system.h"
#include "reduced_catalogue.h"
#include "vew_expansion.h"

namespace korbisto {

void showDevelopedRows(TipDocument& document, TipTable rows) {
    const long long count = rows.dataRowCount();
    document.clear();
    document.replaceRows(std::move(rows));
    document.setTipRowCount(count, TipDocument::CountStyle::Grouped);
}

long long developFullSystem(const CrossSheet& sheet, TipDocument& document) {
    if (!sheet.AlleGetippt()) return 0;
    TipTable rows = expandFullSystem(sheet.structure());
    const long long count = rows.dataRowCount();
    showDevelopedRows(document, std::move(rows));
    return count;
}

int developVew(const CrossSheet& sheet, TipDocument& document) {
    if (sheet.offeredVew() == 0) return 0;
    std::optional<TipTable> rows = expandVew(sheet.structure(), sheet.offeredVew());
    if (!rows) return 0;
    const int count = rows->dataRowCount();
    showDevelopedRows(document, std::move(*rows));
    return count;
}

long long developReduced(const CrossSheet& sheet, int guarantee, TipDocument& document) {
    if (!sheet.AlleGetippt()) return 0;
    std::optional<TipTable> rows = expandReduced(sheet.structure(), guarantee);
    if (!rows) return 0;
    const long long count = rows->dataRowCount();
    showDevelopedRows(document, std::move(*rows));
    return count;
}

}  // namespace korbisto
