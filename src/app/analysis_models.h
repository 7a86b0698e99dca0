#pragma once

#include "analysis/live_chances.h"
#include "analysis/win_plan.h"
#include "core/evaluation.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace korbisto::app {

// The value a test or a sort reads instead of the text shown.
inline constexpr int kNumberRole = Qt::UserRole;

// The win plan's classes: the rows per rank, the results that give them,
// their share and, with quotas, what they win.
class WinPlanModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { RankI, RankII, RankIII, RankIV, Results, Share, Win, kColumns };

    using QAbstractTableModel::QAbstractTableModel;

    void setPlan(const std::optional<WinPlan>& plan);
    void setQuotas(const QuotaTexts& quotas);
    const std::optional<WinPlan>& plan() const { return plan_; }
    bool hasQuotas() const { return anyQuota_; }
    // The texts of a column that may be the widest, found without looking
    // at every class: a view sizes its columns by them.
    QStringList widestTexts(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::optional<WinPlan> plan_;
    RankQuotas quotas_{};
    bool anyQuota_ = false;
    // The largest figures of the plan, and the smallest share.
    RankCounts mostRanks_{};
    std::int64_t mostResults_ = 0;
    double mostWin_ = 0;
};

// The live figures of every row, in the table's order or sorted by a column;
// the sort stays when new figures come.
class LiveRowsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Number, Hits, Best, RankI, RankII, RankIII, RankIV, kColumns };

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<LiveRow> rows);
    const LiveRow& rowAt(int row) const { return rows_[order_[static_cast<size_t>(row)]]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // A column below 0 is the table's order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void applySort();
    double key(const LiveRow& row) const;

    std::vector<LiveRow> rows_;
    std::vector<std::size_t> order_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

// The weights of "1", "0" and "2" for the matches still open, one row each.
// The weights of every match are kept, so a match decided and opened again
// has its old ones. What is typed is kept as typed; a field that is no
// weight (no number, or one of three that are all 0 or too large together)
// is marked, and its match's weights give no chances until it is mended.
class WeightsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Match, One, Zero, Two, kColumns };

    explicit WeightsModel(QObject* parent = nullptr);

    // As entered: not a number where the text is none.
    const std::array<OutcomeWeights, kMatches>& weights() const { return weights_; }
    // The first match shown (1 .. 13) whose weights give no chances.
    std::optional<int> invalidOpenMatch() const;
    // Equal chances for every match.
    void setEqual();
    // The matches open in `result`.
    void showOpen(const LiveResult& result);
    // "Heim – Gast" for the tooltip of match 1..13.
    void setPairingCaptions(const std::array<QString, kMatches>& captions);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void weightsChanged();

private:
    // Why the field of `match` (0 .. 12) and `outcome` (0 .. 2) is marked; empty when it is not.
    QString fault(int match, int outcome) const;

    std::array<OutcomeWeights, kMatches> weights_;
    // The text of a field that is no number, as typed.
    std::array<std::array<QString, 3>, kMatches> typed_;
    std::array<QString, kMatches> pairings_;
    std::vector<int> open_;  // matches 0 .. 12
};

}  // namespace korbisto::app
