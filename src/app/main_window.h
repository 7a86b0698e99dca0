#pragma once

#include "core/bet_model.h"
#include "core/outcomes.h"
#include "ui/window_frame.h"

#include <QPointer>

#include <array>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

namespace korbisto::ui {
class ElidedLabel;
struct FileDialogRequest;
class FilteredLineEdit;
class TipGridModel;
class TipGridView;
}  // namespace korbisto::ui

namespace korbisto::app {

class CrossSheetColumn;
class TFEingabe;
class TFKick;
class TFfrAnzeigeGew;
class WinTableModel;

// The main window: match day, cross sheet and evaluation side by side. It
// holds the shared state (the bet model) and opens every other window.
class TFGewonnen : public ui::WindowFrame {
    Q_OBJECT

public:
    // A slip or match day named when the program is started (a file
    // manager's "open"), read as if chosen with its open button.
    void openFile(const QString& path);
    static constexpr int kClientWidth = 834;
    static constexpr int kClientHeight = 695;

    // Reads the settings and the stored match day and slip, as at start-up.
    explicit TFGewonnen(QWidget* parent = nullptr);
    ~TFGewonnen() override;

    BetModel& model() { return model_; }
    CrossSheetColumn& crossColumn() { return *crossColumn_; }
    // The entry window, which belongs to this one; made on first use.
    TFEingabe& entryWindow();
    // The generator window, which belongs to this one; made on first use.
    TFKick& generatorWindow();

    // Reading a match day or a slip into the window; file errors are thrown.
    void SpieltagEinlesen(const QString& path);
    // The label under "Stand in €", as the server's status file says it.
    void setDonationStatus(const QString& status);
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
    void buildWinningRow();
    void setUpGrids();
    void setUpTabOrder();
    void connectModel();
    QWidget* boxParent();
    // An open dialog, then `read` with the chosen file, whose path is then
    // stored under `key` to be read at the next start.
    void openAndRemember(const ui::FileDialogRequest& request, const char* key,
                         void (TFGewonnen::*read)(const QString&));

    void bsSkinSpeedButton6Click();
    void bsSkinSpeedButton7Click();
    void bsSkinSpeedButton8Click();
    void BSpendeClick();
    void bsSkinSpeedButton4Click();
    void BOpenSpTagClick();
    void bsSkinSpeedButton18Click();
    void Image2Click();
    void bsSkinSpeedButton5Click();
    void BFSpTagVerwClick();
    void bsSkinSpeedButton12Click();
    void BGewinnplanClick();
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
    QPointer<TFEingabe> entry_;
    QPointer<TFKick> generator_;

    CrossSheetColumn* crossColumn_ = nullptr;
    QLabel* leur = nullptr;
    QWidget* matchDayStrip_ = nullptr;
    QLabel* LTag = nullptr;
    std::array<QLabel*, kMatches> pairingPanels_{};
    QLabel* Image2 = nullptr;
    QWidget* PFoto = nullptr;
    QWidget* PAnzeige = nullptr;
    QCheckBox* cbSofort = nullptr;
    ui::ElidedLabel* LDatei = nullptr;
    QLabel* LReihen = nullptr;
    QLabel* LGesGewinn = nullptr;
    ui::TipGridModel* g1Model_ = nullptr;
    ui::TipGridView* G1 = nullptr;
    WinTableModel* g2Model_ = nullptr;
    ui::TipGridView* G2 = nullptr;
    // The controls in the order Tab visits them: as they stand on screen.
    std::vector<QWidget*> focusOrder_;
};

}  // namespace korbisto::app
