#pragma once

#include "core/outcomes.h"
#include "core/tip_document.h"
#include "generator/generator.h"
#include "ui/grid_model.h"
#include "ui/window_frame.h"

#include <QColor>
#include <QFont>
#include <QPushButton>
#include <QStringList>

#include <array>
#include <memory>

class QLabel;
class QTimer;
class QToolButton;

namespace korbisto::ui {
class ElidedLabel;
struct FileDialogRequest;
class FilteredLineEdit;
class TipGridModel;
class TipGridView;
}  // namespace korbisto::ui

namespace korbisto::app {

// A pattern button: it answers the press of a mouse button, not a click, and
// shows its level through the style sheet (property "level"). Space counts
// as a left press, Shift+Space as a right one; the arrow keys move to the
// buttons around it.
class TBZahl : public QPushButton {
    Q_OBJECT

public:
    TBZahl(int position, QWidget* parent = nullptr);

    int position() const { return position_; }
    void showLevel(int level);

signals:
    // The buttons held once this one went down.
    void pressedWith(Qt::MouseButtons buttons);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int position_;
};

// The count grid g2: per match and outcome how often the last run drew it,
// each cell on the colour of the outcome's current level.
class OutcomeCountModel : public ui::GridModel {
    Q_OBJECT

public:
    OutcomeCountModel(const PatternLevels& levels, QObject* parent = nullptr);

    // The colour of a level's cells.
    static QColor levelColour(int level);

    void setCounts(const OutcomeCounts& counts);
    // The outcome texts of column 0 centred for `width` pixels in `font`.
    void setPadding(const QFont& font, int width);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const PatternLevels& levels_;
    OutcomeCounts counts_{};
    QStringList outcomes_;
};

// "Fußball ist auch Zufall": the pattern of favourites on the left, the run
// and its rows on the right. The window lives as long as the main window;
// closing only hides it, so pattern and rows stay. A run goes on in slices
// while the window answers clicks.
class TFKick : public ui::WindowFrame {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 645;
    static constexpr int kClientHeight = 534;
    static constexpr int kStopNoticeMs = 5000;

    explicit TFKick(QWidget* parent = nullptr);
    ~TFKick() override;

    const PatternLevels& levels() const { return levels_; }
    const TipDocument& rows() const { return rows_; }
    bool running() const { return run_ != nullptr; }
    // Where the seeds of the next runs come from; the clock unless set.
    void setSeedSource(SeedSource seeds) { seeds_ = std::move(seeds); }

private:
    void FormCreate();
    void buildTopBar();
    void buildPatternPanel();
    void buildRunControls();
    void buildGrids();

    void BMusterMouseDown(TBZahl* button, Qt::MouseButtons buttons);
    void ApplyLevelSkin(int k);
    void KombisAnzeigen();
    void showAllLevels();
    void bsSkinSpeedButton3Click();
    void bsSkinSpeedButton1Click();
    void BQOpen13Click();
    void bsSkinSpeedButton2Click();
    void BStopClick();
    void Timer1Timer();
    void runSlice();
    void endRun();
    void exportRows(const ui::FileDialogRequest& request, QChar separator);
    void bsSkinSpeedButton7Click();
    void bsSkinSpeedButton4Click();
    void bsSkinSpeedButton11Click();
    void bsSkinSpeedButton9Click();
    void bsSkinSpeedButton5Click();
    void bsSkinSpeedButton13Click();

    PatternLevels levels_{};
    TipDocument rows_;
    std::unique_ptr<GeneratorRun> run_;
    SeedSource seeds_;
    QString slipFolder_;

    QWidget* PFoto = nullptr;
    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    std::array<TBZahl*, kOutcomeCrosses> PatternButton{};
    QLabel* LKombis = nullptr;
    QLabel* LZW = nullptr;
    QLabel* LDW = nullptr;
    QLabel* LBaenke = nullptr;
    QToolButton* BQOpen13 = nullptr;
    ui::FilteredLineEdit* eAnz = nullptr;
    QPushButton* bsSkinSpeedButton2 = nullptr;
    QToolButton* BStop = nullptr;
    QLabel* LHinweis = nullptr;
    ui::ElidedLabel* LDatei2 = nullptr;
    ui::TipGridModel* g1Model_ = nullptr;
    ui::TipGridView* g1 = nullptr;
    OutcomeCountModel* g2Model_ = nullptr;
    ui::TipGridView* g2 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* slicer_ = nullptr;
};

}  // namespace korbisto::app
