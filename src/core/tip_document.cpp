#include "tip_document.h"

namespace korbisto {

TipDocument::TipDocument(int dataRows, QObject* parent) : QObject(parent), table_(dataRows) {}

void TipDocument::changeTable(const std::function<void(TipTable&)>& change) {
    emit tableAboutToChange();
    change(table_);
    emit tableChanged();
}

void TipDocument::replaceRows(TipTable rows) {
    changeTable([&](TipTable& t) { t = std::move(rows); });
}

void TipDocument::changeCells(const std::function<void(TipTable&)>& change) {
    change(table_);
    emit cellsChanged();
}

void TipDocument::setFileName(const QString& name) {
    fileName_ = name;
    emit labelsChanged();
}

void TipDocument::setTipRowCount(long long count, CountStyle style) {
    tipRowCount_ = count;
    countStyle_ = style;
    emit labelsChanged();
}

void TipDocument::clear() {
    if (isEmpty()) return;
    changeTable([](TipTable& t) { t.clearCells(); });
    fileName_.clear();
    tipRowCount_ = 0;
    countStyle_ = CountStyle::Plain;
    emit labelsChanged();
}

}  // namespace korbisto
