#pragma once

#include "core/bet_model.h"
#include "core/outcomes.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QToolButton;
class QPushButton;

namespace korbisto::ui {
class FilteredLineEdit;
class TipGridModel;
class TipGridView;
}  // namespace korbisto::ui

namespace korbisto::app {

class CrossSheetColumn;
class TFfrAnzeigeGew;
class WinTableModel;

// The main window: match day, cross sheet and evaluation side by side. It
// holds the shared state (the bet model) and opens every other window.
class TFGewonnen : public QWidget {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 834;
    static constexpr int kClientHeight = 695;

    // Reads the settings and the stored match day and slip, as at start-up.
    explicit TFGewonnen(QWidget* parent = nullptr);
    ~TFGewonnen() override;

    BetModel& model() { return model_; }
    CrossSheetColumn& crossColumn() { return *crossColumn_; }

    // Reading a match day or a slip into the window; file errors are thrown.
    void SpieltagEinlesen(const QString& path);
    void SpielscheinEinlesen(const QString& path);

    std::array<TFfrAnzeigeGew*, kMatches> AnzeigeFrames{};
    std::array<ui::FilteredLineEdit*, kMatches> GewinnFelder{};
    std::array<ui::FilteredLineEdit*, kRanks> QuotenFelder{};

signals:
    // The window has closed; the program ends with it.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void buildToolbar();
    void buildMatchDayColumn();
    void buildCrossColumn();
    void buildEvaluationColumn();
    void setUpGrids();
    void createWinningFrames();
    void connectModel();
    QWidget* boxParent();

    void bsSkinSpeedButton6Click();
    void bsSkinSpeedButton7Click();
    void BSpendeClick();
    void bsSkinSpeedButton4Click();
    void BOpenSpTagClick();
    void bsSkinSpeedButton18Click();
    void Image2Click();
    void bsSkinSpeedButton3Click();
    void BQuoDelClick();
    void BAuswertenClick();
    void bsSkinSpeedButton1Click();
    void BSaveClick();
    void BCopyClick();
    void bsSkinSpeedButton11Click();
    void BGridDelClick();
    void BSortierClick();
    void bsSkinSpeedButton2Click();
    void bsSkinSpeedButton9Click();

    BetModel model_;
    QString matchDayFolder_;
    QString slipFolder_;

    CrossSheetColumn* crossColumn_ = nullptr;
    QWidget* toolbar_ = nullptr;
    QLabel* leur = nullptr;
    QWidget* matchDayStrip_ = nullptr;
    QLabel* LTag = nullptr;
    std::array<QLabel*, kMatches> pairingPanels_{};
    QLabel* Image2 = nullptr;
    QWidget* PFoto = nullptr;
    QWidget* PAnzeige = nullptr;
    QCheckBox* cbSofort = nullptr;
    QLabel* LDatei = nullptr;
    QLabel* LReihen = nullptr;
    QLabel* LGesGewinn = nullptr;
    ui::TipGridModel* g1Model_ = nullptr;
    ui::TipGridView* G1 = nullptr;
    WinTableModel* g2Model_ = nullptr;
    ui::TipGridView* G2 = nullptr;
};

}  // namespace korbisto::app
