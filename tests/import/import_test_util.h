#pragma once

#include "core/tip_table.h"

#include <QStringList>

#include <ostream>

// Readable cell texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace korbisto::test {

// The 13 tip cells of a grid row as text.
inline QStringList tipTexts(const TipTable& table, int row) {
    QStringList cells;
    for (int m = 1; m <= 13; ++m) cells << table.cellText(row, m);
    return cells;
}

// "1,0,2" -> {"1", "0", "2"}; the cells of a row written with commas.
inline QStringList cells(const char* commaSeparated) {
    return QString::fromUtf8(commaSeparated).split(u',');
}

}  // namespace korbisto::test
