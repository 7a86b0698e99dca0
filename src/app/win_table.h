#pragma once

#include "ui/grid_model.h"

#include <QFont>
#include <QPointer>
#include <QStringList>

namespace korbisto {
class BetModel;
}

namespace korbisto::app {

// The win table G2: per rank its numeral, the count and the amount of the
// last evaluation; empty before the first. Counts are centred and amounts
// right-aligned, both bold on white.
class WinTableModel : public ui::GridModel {
    Q_OBJECT

public:
    explicit WinTableModel(BetModel& model, QObject* parent = nullptr);

    // Headers and numerals centred by blanks for the column widths in `font`.
    void setPadding(const QFont& font, const QList<int>& widths);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QString cellText(int rank, int column) const;

    QPointer<BetModel> model_;
    QStringList numerals_;
};

}  // namespace korbisto::app
