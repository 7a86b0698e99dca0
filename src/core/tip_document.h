#pragma once

#include "tip_table.h"

#include <QObject>
#include <QString>

#include <functional>

namespace korbisto {

// A table of tip rows as a window shows it: the rows, the name of the file
// they belong to (LDatei) and the number of rows shown beside them (LReihen).
// Every grid of rows is a view of one of these; views learn of each change
// through the signals.
class TipDocument : public QObject {
    Q_OBJECT

public:
    // How the row count is written: as read from a slip or an import
    // ("1500"), or grouped as the developments write it ("1.500").
    enum class CountStyle { Plain, Grouped };

    explicit TipDocument(int dataRows = 0, QObject* parent = nullptr);

    const TipTable& table() const { return table_; }
    // Match 1 of row 1 is empty.
    bool isEmpty() const { return table_.isEmpty(); }

    // Replaces or rearranges the rows; views are told before and after.
    void changeTable(const std::function<void(TipTable&)>& change);
    void replaceRows(TipTable rows);
    // Changes cells where they stand (hit counts): no row moves, none comes or goes.
    void changeCells(const std::function<void(TipTable&)>& change);

    const QString& fileName() const { return fileName_; }
    void setFileName(const QString& name);
    long long tipRowCount() const { return tipRowCount_; }
    CountStyle countStyle() const { return countStyle_; }
    void setTipRowCount(long long count, CountStyle style = CountStyle::Plain);

    // "Reihen löschen": empties every cell of every row, the file name and
    // the count; the number of rows stays. Nothing happens when it is empty.
    void clear();

signals:
    void tableAboutToChange();
    void tableChanged();
    void cellsChanged();
    void labelsChanged();

private:
    TipTable table_;
    QString fileName_;
    long long tipRowCount_ = 0;
    CountStyle countStyle_ = CountStyle::Plain;
};

}  // namespace korbisto
