#pragma once

#include "structure.h"

#include "core/outcomes.h"

#include <QObject>

#include <array>
#include <optional>

namespace korbisto {

inline constexpr int kKreuzSpalten = 5;
inline constexpr int kZWSpalte = 4;
inline constexpr int kDWSpalte = 5;
// The largest full system the window develops.
inline constexpr long long kMaxVollsystemReihen = 96000;

// The counters beside the sheet.
struct SheetCounts {
    int bankers = 0;
    int zw = 0;
    int dw = 0;
    long long rows = 0;  // of the full system
};

// The cross sheet: the 13 × 5 boxes (three outcome columns, then the marks
// of two-way and three-way matches), their counts, the VEW system they offer
// and what can be developed. Each change of a box is announced by
// crossChanged, each change of the rest by changed.
class CrossSheet : public QObject {
    Q_OBJECT

public:
    explicit CrossSheet(QObject* parent = nullptr);

    // Box `column` (1..5) of `match` (1..13) shows its cross.
    bool crossed(int match, int column) const { return kreuze_[static_cast<size_t>(index(match, column))]; }

    // Crosses or uncrosses outcome `column` (1..3) of `match`; the marks and
    // counts follow. Other boxes are set by the sheet alone.
    void toggle(int match, int column);
    // Every box empty; the counters go blank and nothing can be developed.
    void clear();
    // The sheet cleared, then each given cross set as by toggle.
    void setCrosses(const OutcomeCrosses& crosses);
    OutcomeCrosses crosses() const;

    // Blank after clear(); zeros before the first cross.
    const std::optional<SheetCounts>& counts() const { return counts_; }
    int AnzZW() const { return anzZW_; }
    int AnzDW() const { return anzDW_; }
    bool AlleGetippt() const { return alleGetippt_; }
    // Rows of the full system of the counted structure: 2^AnzZW × 3^AnzDW.
    long long fullSystemRows() const;
    // The full system may be developed: every match crossed, at most 96,000 rows.
    bool fullSystemAllowed() const { return fullAllowed_; }
    // The VEW system with the sheet's structure, 0 for none.
    int offeredVew() const { return offeredVew_; }

    // The crosses as the developments read them.
    SystemStructure structure() const;

signals:
    void crossChanged(int match, int column, bool visible);
    void changed();

private:
    static int index(int match, int column) { return (match - 1) * kKreuzSpalten + (column - 1); }
    void setCross(int match, int column, bool visible);
    void recount();

    std::array<bool, kMatches * kKreuzSpalten> kreuze_{};
    std::optional<SheetCounts> counts_ = SheetCounts{};
    int anzZW_ = 0;
    int anzDW_ = 0;
    bool alleGetippt_ = false;
    bool fullAllowed_ = false;
    int offeredVew_ = 0;
};

}  // namespace korbisto
