#pragma once

#include "systems/cross_sheet.h"

#include "core/tip_document.h"
#include "support/tip_rows.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace korbisto::test {

// Clicks the crosses of "1,10,102,..." (per match the crossed outcomes, X
// for 0) match by match, column by column.
inline void clickCrosses(CrossSheet& sheet, const QString& spec) {
    const QStringList groups = spec.split(u',');
    for (int m = 1; m <= groups.size(); ++m) {
        const QString& g = groups[m - 1];
        for (int c = 1; c <= 3; ++c)
            if (g.contains(QChar(u"?102"[c])) || (c == 2 && g.contains(u'X'))) sheet.toggle(m, c);
    }
}

// A sheet with the crosses of `spec` clicked in.
struct Sheet : CrossSheet {
    explicit Sheet(const QString& spec = QString()) { clickCrosses(*this, spec); }
};

// The counters as "bankers|zw|dw|rows"; empty when they are blank.
inline QString countsOf(const CrossSheet& sheet) {
    const auto& c = sheet.counts();
    return c ? QStringLiteral("%1|%2|%3|%4").arg(c->bankers).arg(c->zw).arg(c->dw).arg(c->rows) : QString();
}

// A development shows its row count grouped ("78.732").
inline void expectGroupedCount(const TipDocument& rows, long long count) {
    EXPECT_EQ(rows.tipRowCount(), count);
    EXPECT_EQ(rows.countStyle(), TipDocument::CountStyle::Grouped);
}

}  // namespace korbisto::test
