#pragma once

#include "core/error.h"
#include "core/tip_table.h"
#include "support/test_env.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <ostream>
#include <vector>

// Readable cell texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace korbisto::test {

// The 13 tip cells of a grid row as text.
inline QStringList tipTexts(const TipTable& table, int row) {
    QStringList cells;
    for (int m = 1; m <= 13; ++m) cells << table.cellText(row, m);
    return cells;
}

inline QList<QStringList> rows(const TipTable& table) {
    QList<QStringList> all;
    for (int r = 1; r < table.rowCount(); ++r) all << tipTexts(table, r);
    return all;
}

// "1|0|2" -> "1", "0", "2" and ten empty cells.
inline QStringList cells(const char* row) {
    QStringList cells = QString::fromUtf8(row).split(u'|');
    while (cells.size() < 13) cells << QString();
    return cells;
}

// The grid after an import; without rows it keeps one empty row.
inline QList<QStringList> expectedRows(const std::vector<const char*>& texts) {
    QList<QStringList> all;
    for (const char* row : texts) all << cells(row);
    if (all.isEmpty()) all << QStringList(13, QString());
    return all;
}


}  // namespace korbisto::test
