#pragma once

#include "analysis/live_chances.h"
#include "analysis/win_plan.h"
#include "core/outcomes.h"
#include "core/tip_table.h"
#include "ui/window_frame.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <memory>
#include <optional>

class QButtonGroup;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;

namespace korbisto::ui {
class BarChart;
}

namespace korbisto::app {

class LatestRun;
class LiveRowsModel;
class TFGewonnen;
class WeightsModel;
class WinPlanModel;
template <typename T>
struct Computed;

// Where a window of `size` (frame included) goes beside the frame `main` on
// `screen`: right of it, else left of it, else at the screen's right edge.
QPoint besideWindow(const QRect& main, QSize size, const QRect& screen);

// "Gewinnplan & Chancen": what the rows of the main window's table win over
// every result the cross sheet allows, and, while the results come in, each
// row's chances and the slip's. It follows the table, the sheet, the quotas
// and the winning row as they change; the figures are worked out off the GUI
// thread on a copy of the rows, the latest input only. Closing hides it and
// stops the work.
class TFAnalyse : public ui::WindowFrame {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 720;
    static constexpr int kClientHeight = 600;
    static constexpr int kMinimumWidth = 600;
    static constexpr int kMinimumHeight = 480;

    explicit TFAnalyse(TFGewonnen* main);
    ~TFAnalyse() override;

    bool computingPlan() const;
    bool computingLive() const;
    // Runs started for the plan and for the live figures.
    quint64 planRuns() const;
    quint64 liveRuns() const;

signals:
    // New figures are on screen.
    void planShown();
    void liveShown();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The rows the figures are worked out on: the tip rows, numbers and tips only.
    struct PlanInput {
        TipTable rows;
        OutcomeCrosses crosses{};
    };
    struct LiveInput {
        TipTable rows;
        LiveResult result{};
        std::array<OutcomeWeights, kMatches> weights{};
    };

    void buildTabs();
    bool showing(const QWidget* page) const;
    void buildPlanTab(QWidget* page);
    void buildLiveTab(QWidget* page);
    void schedulePlan();
    void scheduleLive();
    void refresh();
    void startPlan();
    void startLive();
    void showPlan(const Computed<WinPlan>& computed);
    void showLive(const Computed<LiveChances>& computed);
    void showPlanFigures();
    void showLiveFigures();
    void showPairings();
    void bsPositionClick();
    void buildReduceTab(QWidget* page);
    int chosenGuarantee() const;
    void showReduce();
    void showReducePlan(const std::optional<WinPlan>& plan);
    void BKuerzenPlanClick();
    void BKuerzenAbwickelnClick();

    TFGewonnen* main_;
    QTimer* refreshTimer_ = nullptr;
    bool planDue_ = true;
    bool liveDue_ = true;
    // The input of the figures awaited or shown.
    std::shared_ptr<const PlanInput> planInput_;
    std::shared_ptr<const LiveInput> liveInput_;
    std::optional<LiveChances> live_;

    QTabWidget* tabs_ = nullptr;
    QWidget* planPage_ = nullptr;
    QWidget* livePage_ = nullptr;
    LatestRun* planRun_ = nullptr;
    LatestRun* liveRun_ = nullptr;
    LatestRun* reduceRun_ = nullptr;

    QLabel* LPlanStatus = nullptr;
    QProgressBar* PBPlan = nullptr;
    QLabel* LSicher = nullptr;
    QLabel* LGewinnMin = nullptr;
    QLabel* LGewinnMax = nullptr;
    QLabel* LGewinnMittel = nullptr;
    WinPlanModel* planModel_ = nullptr;
    QTableView* GPlan = nullptr;
    ui::BarChart* ChartPlan = nullptr;

    QLabel* LLiveStatus = nullptr;
    QProgressBar* PBLive = nullptr;
    std::array<QLabel*, kRanks> atLeastLabels_{};
    std::array<QLabel*, kRanks> expectedLabels_{};
    QLabel* LErwarteterGewinn = nullptr;
    ui::BarChart* ChartLive = nullptr;
    LiveRowsModel* liveModel_ = nullptr;
    QTableView* GLive = nullptr;
    WeightsModel* weightsModel_ = nullptr;
    QTableView* GGewichte = nullptr;

    QLabel* LKuerzenStatus = nullptr;
    QProgressBar* PBKuerzen = nullptr;
    QButtonGroup* guaranteeGroup_ = nullptr;
    std::array<QLabel*, 3> reduceRows_{};    // guarantee 12, 11, 10
    std::array<QLabel*, 3> reduceShares_{};
    QLabel* LVollReihen = nullptr;
    QPushButton* BKuerzenPlan = nullptr;
    QPushButton* BKuerzenAbwickeln = nullptr;
    QLabel* LKuerzenSicher = nullptr;
    WinPlanModel* reducePlanModel_ = nullptr;
    QTableView* GKuerzenPlan = nullptr;
};

}  // namespace korbisto::app
