#pragma once

#include "evaluation.h"
#include "tip_document.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <array>
#include <optional>

namespace korbisto {

// One match of the match-day plan.
struct Pairing {
    QString home;
    QString away;
};

// The shared state of the main window: the tip rows, the winning row, the
// quotas, the results and the match-day plan. Windows are views of it; the
// command-line tool drives the same operations.
class BetModel : public QObject {
    Q_OBJECT

public:
    static constexpr int kInitialDataRows = 29;

    explicit BetModel(QObject* parent = nullptr);

    TipDocument& rows() { return rows_; }
    const TipDocument& rows() const { return rows_; }
    const TipTable& table() const { return rows_.table(); }

    const WinningRow& winningRow() const { return winning_; }
    const QString& winning(int match) const { return winning_[match - 1]; }
    // A changed text is announced and, with instant evaluation on, evaluated.
    void setWinning(int match, const QString& text);
    void clearWinningRow();

    const QuotaTexts& quotas() const { return quotas_; }
    const QString& quota(int rank) const { return quotas_[rank - 1]; }
    void setQuota(int rank, const QString& text);
    void clearQuotas();

    bool instantEvaluation() const { return instant_; }
    void setInstantEvaluation(bool on) { instant_ = on; }
    bool sortedByHits() const { return sortedByHits_; }

    // The counts, amounts and total of the last evaluation; none before the first.
    const std::optional<EvaluationResult>& results() const { return results_; }

    // The match-day plan: the day (none when the file held no date) and the 13 pairings.
    const std::optional<QDate>& matchDayDate() const { return matchDayDate_; }
    const Pairing& pairing(int match) const { return pairings_[match - 1]; }
    void setMatchDayPlan(const std::optional<QDate>& date, const std::array<Pairing, kMatches>& pairings);

    void evaluate();
    void sortByHits();
    void restoreOrder();

signals:
    void winningChanged(int match);
    void quotaChanged(int rank);
    void resultsChanged();
    void matchDayChanged();

private:
    TipDocument rows_{kInitialDataRows};
    WinningRow winning_;
    QuotaTexts quotas_;
    std::optional<EvaluationResult> results_;
    std::optional<QDate> matchDayDate_;
    std::array<Pairing, kMatches> pairings_;
    bool instant_ = true;
    bool sortedByHits_ = false;
};

}  // namespace korbisto
