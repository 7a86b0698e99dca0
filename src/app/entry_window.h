#pragma once

#include "core/tip_document.h"
#include "ui/window_frame.h"

#include <QPointer>

class QLabel;
class QPushButton;

namespace korbisto {
class BetModel;
}

namespace korbisto::ui {
class ElidedLabel;
class TextField;
class TipGridModel;
class TipGridView;
}  // namespace korbisto::ui

namespace korbisto::app {

// "Von Tippreihen zum Spielschein": tip rows pasted, typed or loaded as text
// are read into a grid, which is saved as a bet slip or copied into the main
// window's table. The window lives as long as the main window; closing only
// hides it, so text and rows stay.
class TFEingabe : public ui::WindowFrame {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 585;
    static constexpr int kClientHeight = 695;

    // `evaluation` is the main window's model that the rows are copied into.
    explicit TFEingabe(BetModel& evaluation, QWidget* parent = nullptr);

    const TipDocument& rows() const { return rows_; }

private:
    void FormCreate();
    void buildTopBar();
    void buildTextSide(int top);
    void buildGridSide(int top);
    void setUpGrid();

    void M1Change();
    void BOpenClick();
    void BAuslesenClick();
    void BDelClick();
    void BSaveClick();
    void bsSkinSpeedButton1Click();
    void BGridDelClick();
    void bsSkinSpeedButton13Click();

    QPointer<BetModel> evaluation_;
    TipDocument rows_;
    QString slipFolder_;

    ui::TextField* m1 = nullptr;
    QPushButton* BAuslesen = nullptr;
    QPushButton* BDel = nullptr;
    ui::ElidedLabel* LDatei0 = nullptr;
    QLabel* LZeilen = nullptr;
    ui::ElidedLabel* LDatei = nullptr;
    QLabel* LReihen = nullptr;
    ui::TipGridModel* g1Model_ = nullptr;
    ui::TipGridView* G1 = nullptr;
};

}  // namespace korbisto::app
