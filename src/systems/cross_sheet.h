#pragma once

#include "structure.h"

#include "files/structure_file.h"

#include <QObject>
#include <QString>

#include <array>

namespace korbisto {

inline constexpr int kKreuzSpalten = 5;
inline constexpr int kZWSpalte = 4;
inline constexpr int kDWSpalte = 5;
// The largest full system the window develops.
inline constexpr long long kMaxVollsystemReihen = 96000;

inline constexpr const char* kMarkerHinweis = "Diese \"X\" werden automatisch gesetzt und gelöscht";

// What the window does after a press on the bare sheet.
struct SheetPress {
    enum Kind { Nothing, Toggled, ShowInfo };
    Kind kind = Nothing;
    int match = 0;   // the toggled box
    int column = 0;
    QString info;    // text of the information box
};

// The cross sheet without widgets: the 13 × 5 boxes, their counts, the offered
// VEW system and the state of every control that shows them. Each change of a
// box is announced by crossChanged, each change of the rest by displayChanged,
// so the window only mirrors this object.
class CrossSheet : public QObject {
    Q_OBJECT

public:
    // The captions and states of the controls beside the sheet.
    struct Display {
        QString PB = QStringLiteral("0");
        QString PZW = QStringLiteral("0");
        QString PDW = QStringLiteral("0");
        QString PAnz = QStringLiteral("0");
        bool LVEWVisible = false;
        bool LVEW2Visible = false;
        QString LVEW2;
        bool BVollEnabled = false;
        bool BVEWEnabled = false;
        bool BQOpenEnabled = false;
    };

    // The structure file lives in the data folder.
    explicit CrossSheet(QObject* parent = nullptr);
    CrossSheet(const QString& structurePath, QObject* parent = nullptr);

    // Box `column` (1..5) of `match` (1..13) shows its cross.
    bool crossed(int match, int column) const { return kreuze_[static_cast<size_t>(index(match, column))]; }
    // Tag of a box label: match × 10 + column.
    static constexpr int kreuzTag(int match, int column) { return match * 10 + column; }

    int AnzZW() const { return anzZW_; }
    int AnzDW() const { return anzDW_; }
    bool AlleGetippt() const { return alleGetippt_; }
    int vewTag() const { return vewTag_; }  // BVEW.Tag
    // Rows of the full system of the counted structure: 2^AnzZW × 3^AnzDW.
    long long fullSystemRows() const;
    const Display& display() const { return display_; }
    const QString& structurePath() const { return structurePath_; }

    // A click on the cross label with this tag (columns 1 to 3).
    void KreuzKlickClick(int tag);
    // Toggles box (match, column 1..3) and evaluates the sheet.
    void KreuzVerwerten(int match, int column);
    // A press at panel pixel (x, y) where no cross label lies.
    SheetPress KreuzTreffer(int x, int y);
    // Clears every box; the counts go blank, nothing can be developed.
    void BKreuzeDelClick();

    // Copies the sheet into the tables the developments read and returns them.
    const SystemStructure& StrukturErfassen();
    const SystemStructure& structure() const { return structure_; }

    // The crosses of columns 1 to 3 as the structure file stores them.
    StructureRecord crossRecord() const;
    // Saves the crosses; throws KorbistoError, and then leaves BQOpen as it was.
    void BQSaveClick();
    // Reads the file first, then clears the sheet and sets each saved cross.
    // Throws KorbistoError with the sheet unchanged.
    void BQOpenClick();

signals:
    void crossChanged(int match, int column, bool visible);
    void displayChanged();

private:
    static int index(int match, int column) { return (match - 1) * kKreuzSpalten + (column - 1); }
    void setCross(int match, int column, bool visible);
    void showIncomplete();

    std::array<bool, kMatches * kKreuzSpalten> kreuze_{};
    int anzZW_ = 0;
    int anzDW_ = 0;
    bool alleGetippt_ = false;
    int vewTag_ = 0;
    Display display_;
    SystemStructure structure_;
    QString structurePath_;
};

}  // namespace korbisto
