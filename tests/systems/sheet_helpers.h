#pragma once

#include "systems/cross_sheet.h"

#include "core/tip_table.h"

#include <QString>
#include <QStringList>

namespace korbisto::test {

// Clicks the crosses of "1,10,102,..." (per match the crossed outcomes, X
// for 0) match by match, column by column.
inline void clickCrosses(CrossSheet& sheet, const QString& spec) {
    const QStringList groups = spec.split(u',');
    for (int m = 1; m <= groups.size(); ++m) {
        const QString& g = groups[m - 1];
        for (int c = 1; c <= 3; ++c)
            if (g.contains(QChar(u"?102"[c])) || (c == 2 && g.contains(u'X'))) sheet.KreuzVerwerten(m, c);
    }
}

// A sheet with the crosses of `spec` clicked in.
struct Sheet : CrossSheet {
    explicit Sheet(const QString& spec) : CrossSheet(QString()) { clickCrosses(*this, spec); }
};

// The tips of a table row as one text, "1102..." .
inline QString rowDigits(const TipTable& table, int row) {
    QString s;
    for (int m = 1; m <= kMatches; ++m) s += table.cellText(row, m);
    return s;
}

}  // namespace korbisto::test
