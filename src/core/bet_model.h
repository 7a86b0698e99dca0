#pragma once

#include "evaluation.h"
#include "tip_table.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>

namespace korbisto {

// The shared state of the main window: the tip-row table, the winning row, the
// quotas, the results and the labels that go with them. Windows are views of
// it; the command-line tool drives the same operations.
class BetModel : public QObject {
    Q_OBJECT

public:
    static constexpr int kInitialDataRows = 29;

    explicit BetModel(QObject* parent = nullptr);

    const TipTable& table() const { return table_; }
    // Replaces or rearranges the rows; views are told before and after.
    void changeTable(const std::function<void(TipTable&)>& change);

    const WinningRow& winningRow() const { return winning_; }
    const QString& winning(int match) const { return winning_[match - 1]; }
    // A changed text is announced and, with instant evaluation on, evaluated.
    void setWinning(int match, const QString& text);
    void clearWinningRow();

    const QuotaTexts& quotas() const { return quotas_; }
    const QString& quota(int rank) const { return quotas_[rank - 1]; }
    void setQuota(int rank, const QString& text);
    void clearQuotas();  // BQuoDelClick

    bool instantEvaluation() const { return instant_; }
    void setInstantEvaluation(bool on) { instant_ = on; }
    bool sortedByHits() const { return sortedByHits_; }

    // The win table and the total as shown.
    const QString& rankCount(int rank) const { return rankCounts_[rank - 1]; }
    const QString& rankAmount(int rank) const { return rankAmounts_[rank - 1]; }
    const QString& totalText() const { return total_; }

    const QString& fileName() const { return fileName_; }  // LDatei
    void setFileName(const QString& name);
    const QString& rowsText() const { return rowsText_; }  // LReihen
    void setRowsText(const QString& text);

    // The match-day plan: the date label and the 13 pairings.
    const QString& matchDayDate() const { return matchDayDate_; }
    const QString& pairing(int match) const { return pairings_[match - 1]; }
    void setMatchDayPlan(const QString& date, const std::array<QString, kMatches>& pairings);

    void clearTable();    // BGridDelClick
    void evaluate();      // BAuswertenClick
    void sortByHits();    // BSortierClick
    void restoreOrder();  // the restore button

signals:
    void tableAboutToChange();
    void tableChanged();
    void hitsChanged();
    void winningChanged(int match);
    void quotaChanged(int rank);
    void resultsChanged();
    void labelsChanged();
    void matchDayChanged();

private:
    TipTable table_{kInitialDataRows};
    WinningRow winning_;
    QuotaTexts quotas_;
    std::array<QString, kRanks> rankCounts_;
    std::array<QString, kRanks> rankAmounts_;
    QString total_;
    QString fileName_;
    QString rowsText_ = QStringLiteral("0");
    QString matchDayDate_;
    std::array<QString, kMatches> pairings_;
    bool instant_ = true;
    bool sortedByHits_ = false;
};

}  // namespace korbisto
