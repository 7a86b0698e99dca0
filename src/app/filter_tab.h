#pragma once

#include "systems/row_filters.h"

#include <QWidget>

#include <array>
#include <atomic>
#include <memory>
#include <optional>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QVBoxLayout;
class QTimer;

namespace korbisto::app {

class LatestRun;
class TFGewonnen;
class WeightsModel;
template <typename T>
struct Computed;

// The tab "Filter" of the analysis window: the rows of the sheet's full
// system, or of the table, that pass the player's filters, how many and how
// likely (with the Live tab's weights), counted anew off the GUI thread after
// every change. "Filtern" develops those rows into the table; "Abdecken"
// develops few of them that guarantee a rank whenever the result is one of
// them, with what they win over the filtered results and over all results of
// the crosses. Filter lists are kept as *.krfilter files.
class FilterTab : public QWidget {
    Q_OBJECT

public:
    FilterTab(TFGewonnen* main, const WeightsModel* weights, QWidget* parent = nullptr);
    ~FilterTab() override;

    const FilterList& filters() const { return list_; }
    bool counting() const;
    // "Filtern" or "Abdecken" under way.
    bool working() const;

signals:
    // A count, or why there is none, is on screen.
    void countShown();
    // "Filtern" or "Abdecken" has ended: developed, refused or stopped.
    void workEnded();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Input;
    struct Developed;

    void buildCandidates(QVBoxLayout* column);
    void buildFilterList(QVBoxLayout* column);
    void buildSettings(QVBoxLayout* column);
    void buildActions(QVBoxLayout* column);
    void buildCoverFigures(QVBoxLayout* column);

    // The list and the editor show list_; the editor the current filter.
    void showList();
    void showEditor();
    // Which controls take input: the editor with a filter chosen, none while
    // "Filtern" or "Abdecken" runs.
    void showEnabled();
    void editorChanged();
    void BFilterNeuClick();
    void BFilterEntfernenClick();
    void levelsEdited();
    void probabilityEdited();
    void BStufenGeneratorClick();
    void BFilterOeffnenClick();
    void BFilterSpeichernClick();

    // What a count, "Filtern" and "Abdecken" read; none with the reason why
    // there is nothing to count.
    std::optional<Input> input(QString& why);
    // Why the list as the editor shows it is none; empty when it is one.
    QString listError() const;
    void scheduleCount();
    void startCount();
    void showCount(const Computed<FilterOutcome>& computed, const std::shared_ptr<const Input>& input);
    void clearCount(const QString& why);

    // The input of "Filtern" and "Abdecken"; none after the user was told why not.
    std::shared_ptr<const Input> inputOrRefusal();
    // Filters in a worker, noting how many rows were tried and passed.
    static std::optional<FilterOutcome> filterWithCounts(const Input& input, Developed& developed,
                                                         const std::atomic<bool>& stop);
    void BFilternClick();
    void BAbdeckenClick();
    void BAbdeckenStoppClick();
    // The run of "Filtern" or "Abdecken" under way ends without its rows.
    void stopWork(const QString& why);
    void setWorking(bool working);
    void showDeveloped(const Computed<Developed>& computed, int guarantee);
    void clearCoverFigures();

    TFGewonnen* main_;
    const WeightsModel* weights_;
    FilterList list_;
    // Why a field of the editor holds no value; empty while it does.
    QString editorError_;
    QString levelsError_;
    QString probabilityError_;
    // The table's rows as candidates, made again after the table changed.
    std::shared_ptr<const Candidates> tableCandidates_;
    bool countDue_ = true;

    QTimer* countTimer_ = nullptr;
    QTimer* progressTimer_ = nullptr;
    LatestRun* countRun_ = nullptr;
    LatestRun* workRun_ = nullptr;
    // How far the cover under way has come, written by its thread.
    struct CoverProgress;
    std::shared_ptr<CoverProgress> progress_;

    QLabel* LFilterStatus = nullptr;
    QProgressBar* PBFilter = nullptr;
    QButtonGroup* candidatesGroup_ = nullptr;
    QPushButton* BFilterOeffnen = nullptr;
    QPushButton* BFilterSpeichern = nullptr;
    QListWidget* LBFilter = nullptr;
    QPushButton* BFilterNeu = nullptr;
    QPushButton* BFilterEntfernen = nullptr;
    QComboBox* CBArt = nullptr;
    QComboBox* CBZeichen = nullptr;
    QComboBox* CBStufe = nullptr;
    QLineEdit* eSpiele = nullptr;
    QSpinBox* SEMin = nullptr;
    QSpinBox* SEMax = nullptr;
    QSpinBox* SEToleranz = nullptr;
    QLineEdit* eStufen = nullptr;
    QPushButton* BStufenGenerator = nullptr;
    QComboBox* CBWahrscheinlichkeit = nullptr;
    QLineEdit* eWahrscheinlichkeit = nullptr;
    QLabel* LFilterAnzahl = nullptr;
    QLabel* LFilterChance = nullptr;
    QPushButton* BFiltern = nullptr;
    QComboBox* CBGarantie = nullptr;
    QPushButton* BAbdecken = nullptr;
    QPushButton* BAbdeckenStopp = nullptr;
    QProgressBar* PBAbdecken = nullptr;
    QLabel* LAbdeckenStatus = nullptr;
    // Per best rank I .. IV and none: the results over the filtered ones and
    // over all of the crosses; then the rank sure over each.
    std::array<QLabel*, 5> filteredResults_{};
    std::array<QLabel*, 5> allResults_{};
    QLabel* LSicherGefiltert = nullptr;
    QLabel* LSicherAlle = nullptr;
    // The controls that change what is counted: still while work goes on.
    QList<QWidget*> inputs_;
};

}  // namespace korbisto::app
