#pragma once

#include "core/bet_model.h"
#include "core/outcomes.h"
#include "systems/cross_sheet.h"
#include "ui/accessibility.h"

#include <QString>

#include <QLabel>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QPushButton;
class QToolButton;

namespace korbisto::app {

// Pixel positions of the boxes on the sheet's picture: columns 1..5, matches 1..13.
inline constexpr std::array<int, 6> KreuzX = {0, 32, 55, 78, 112, 136};
inline constexpr std::array<int, 14> KreuzY = {0, 12, 38, 64, 90, 115, 140, 166, 191, 218, 242, 267, 293, 319};

inline constexpr const char* kMarkerHinweis = "Diese \"X\" werden automatisch gesetzt und gelöscht";

// What a press on the bare picture at (x, y) means: an outcome box, the
// column of marks, which explains itself, or nothing.
struct SheetPress {
    enum Kind { Nothing, Toggle, ShowInfo };
    Kind kind = Nothing;
    int match = 0;
    int column = 0;
};
SheetPress KreuzTreffer(int x, int y);

// One box's cross: a blue "X" that is shown exactly when the box is crossed.
// A press on it never reaches the sheet below; a left click is reported with
// the box's tag (match × 10 + column).
class TKreuz : public QLabel {
    Q_OBJECT

public:
    explicit TKreuz(QWidget* parent = nullptr);

    // Tag of a box: match × 10 + column.
    static constexpr int kreuzTag(int match, int column) { return match * 10 + column; }
    int Tag = 0;

signals:
    void clicked(int tag);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The picture of one bet-slip column under the crosses: 13 numbered rows with
// the boxes 1, 0, 2 and, set apart, the two marker boxes 2 and 3. Every press
// on the bare picture, whatever the button, is passed on with its position.
// The keys reach the 39 outcome boxes too: Tab and Shift+Tab visit them in
// screen order before they leave the sheet, the arrow keys move between
// them, Space crosses or uncrosses the framed one.
class PKreuzPanel : public QWidget, public ui::PaintedBoxes {
    Q_OBJECT

public:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 350;
    // The picture leaves the last two rows of pixels to the window, which
    // the match-day picture no longer takes.
    static constexpr int kPictureHeight = 348;
    static constexpr int kOutcomeBoxes = kMatches * 3;

    explicit PKreuzPanel(CrossSheet& sheet, QWidget* parent = nullptr);

    // The drawn box of match 1..13, column 1..5, centred on where its cross
    // appears and within the part of the sheet that answers for the box.
    QRect boxRect(int match, int column) const;
    // The outcome box the keys act on next.
    void setCurrentBox(int match, int column);

    // The outcome boxes, match by match, each named like "Spiel 3: 0".
    int boxCount() const override { return kOutcomeBoxes; }
    QString boxName(int box) const override;
    bool boxChecked(int box) const override;
    QRect boxRect(int box) const override;
    int currentBox() const override { return current_; }
    void toggleBox(int box) override;

    std::function<void(int x, int y)> onPress;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void moveTo(int box);

    CrossSheet& sheet_;
    int current_ = 0;
    QPoint crossCentre_;  // centre of the "X" within its label
};

// The cross-sheet column of the main window: the counters, the development
// buttons, the sheet and the buttons that clear, save and load it. It shows
// its CrossSheet and develops into the window's rows.
class CrossSheetColumn : public QWidget {
    Q_OBJECT

public:
    // The match-day picture takes the window from x = 5 to 415, so the sheet
    // sits far enough left to be in it whole.
    static constexpr int kSheetLeft = 4;
    // Where the sheet starts in the column; the window puts the column so
    // that the sheet's rows lie beside the pairings of the match-day plan.
    static constexpr int kSheetTop = 128;

    // `structurePath` is where the cross structure is saved.
    CrossSheetColumn(TipDocument& rows, const QString& structurePath, QWidget* parent = nullptr);

    CrossSheet& sheet() { return sheet_; }
    PKreuzPanel* PKreuz = nullptr;
    TKreuz* kreuz(int match, int column) const {
        return Kreuze[static_cast<size_t>(match - 1)][static_cast<size_t>(column - 1)];
    }

    // The controls of the column in the order they stand on screen.
    std::vector<QWidget*> focusOrder() const;

    void KreuzKlickClick(int tag);
    void PKreuzMouseDown(int x, int y);
    void BKreuzeDelClick();
    void BVollClick();
    void BVEWClick();
    void BQSaveClick();
    void BQOpenClick();

private:
    void buildCounters();
    void buildSheet();
    void buildButtons();
    void showCounts();
    // Message boxes belong to the window once it is on screen.
    QWidget* boxParent();

    TipDocument& rows_;
    QString structurePath_;
    CrossSheet sheet_;
    std::array<std::array<TKreuz*, kKreuzSpalten>, kMatches> Kreuze{};

    QLabel* PB = nullptr;
    QLabel* PZW = nullptr;
    QLabel* PDW = nullptr;
    QLabel* PAnz = nullptr;
    QLabel* LVEW = nullptr;
    QLabel* LVEW2 = nullptr;
    QPushButton* BVoll = nullptr;
    QPushButton* BVEW = nullptr;
    QToolButton* BKreuzeDel = nullptr;
    QToolButton* BQSave = nullptr;
    QToolButton* BQOpen = nullptr;
};

}  // namespace korbisto::app
