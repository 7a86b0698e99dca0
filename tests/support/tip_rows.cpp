#include "tip_rows.h"

#include "files/slip_file.h"

namespace korbisto::test {

WinningRow rowOf(const char* digits) {
    WinningRow w;
    for (int m = 0; m < kMatches; ++m) w[static_cast<size_t>(m)] = tipText(digits[m]);
    return w;
}

void setWinningRow(BetModel& model, const char* digits) {
    for (int m = 1; m <= kMatches; ++m) model.setWinning(m, tipText(digits[m - 1]));
}

void setRow(TipTable& table, int r, const char* digits, int number) {
    for (int m = 1; m <= kMatches; ++m) table.setCellText(r, m, tipText(digits[m - 1]));
    table.setNumber(r, number < 0 ? r : number);
}

TipTable tableOf(const std::vector<const char*>& rows) {
    TipTable table(static_cast<int>(rows.size()));
    for (int r = 1; r <= static_cast<int>(rows.size()); ++r) setRow(table, r, rows[static_cast<size_t>(r - 1)]);
    return table;
}

QString rowDigits(const TipTable& table, int row) {
    QString s;
    for (int m = 1; m <= kMatches; ++m) s += table.cellEmpty(row, m) ? QStringLiteral("-") : table.cellText(row, m);
    return s;
}

QStringList tipTexts(const TipTable& table, int row) {
    QStringList cells;
    for (int m = 1; m <= kMatches; ++m) cells << table.cellText(row, m);
    return cells;
}

QList<QStringList> rows(const TipTable& table) {
    QList<QStringList> all;
    for (int r = 1; r < table.rowCount(); ++r) all << tipTexts(table, r);
    return all;
}

QStringList cells(const char* row) {
    QStringList cells = QString::fromUtf8(row).split(u'|');
    while (cells.size() < kMatches) cells << QString();
    return cells;
}

QList<QStringList> expectedRows(const std::vector<const char*>& texts) {
    QList<QStringList> all;
    for (const char* row : texts) all << cells(row);
    if (all.isEmpty()) all << QStringList(kMatches, QString());
    return all;
}

QByteArray slipRecord(const char* tips, char sys) {
    QByteArray r(TScheinOffen::kSize, '\0');
    r[0] = sys;
    for (int m = 0; m < kMatches; ++m) {
        const int column = tips[m] == '1' ? 1 : tips[m] == '0' ? 2 : tips[m] == '2' ? 3 : 0;
        if (column) r[3 * m + column] = 1;
    }
    return r;
}

void writeSlip(const QString& path, const std::vector<const char*>& rows) { WriteSlipFile(tableOf(rows), path); }

}  // namespace korbisto::test
