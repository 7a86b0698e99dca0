#include "filter_tab.h"

#include "analysis_models.h"
#include "generator_window.h"
#include "latest_run.h"
#include "main_window.h"
#include "sheet_view.h"

#include "analysis/live_chances.h"
#include "analysis/win_plan.h"
#include "core/bet_model.h"
#include "core/error.h"
#include "core/german.h"
#include "core/paths.h"
#include "files/binary_io.h"
#include "systems/development.h"
#include "systems/filter_list.h"
#include "systems/reduced_catalogue.h"
#include "systems/row_cover.h"
#include "ui/file_dialogs.h"
#include "ui/message_boxes.h"
#include "ui/style.h"
#include "ui/wrap_button.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace korbisto::app {

namespace {

constexpr std::array kKinds{FilterKind::Signs, FilterKind::Run, FilterKind::Changes, FilterKind::Level};
// The levels in the order the editor offers them: the favourites first.
constexpr std::array kLevels{1, 2, 3, 0};
// A filter list is a few hundred bytes; anything near this is no list.
constexpr qint64 kMostFilterFileBytes = 1 << 20;

QString levelName(int level) {
    return level == 0 ? QStringLiteral("out")
                      : QStringLiteral("Fav ") + QString::fromLatin1(RangNamen[static_cast<size_t>(level)]);
}

QString rankName(int rank) {
    return rank == 0 ? QStringLiteral("keiner") : QString::fromLatin1(RangNamen[static_cast<size_t>(rank)]);
}

// "2 bis 6", "höchstens 4", "mindestens 3", "genau 5"; no count exceeds 13.
QString rangeCaption(const CountRange& range) {
    if (range.min == range.max) return QStringLiteral("genau %1").arg(range.min);
    if (range.max >= kMatches)
        return range.min == 0 ? QStringLiteral("beliebig") : QStringLiteral("mindestens %1").arg(range.min);
    if (range.min == 0) return QStringLiteral("höchstens %1").arg(range.max);
    return QStringLiteral("%1 bis %2").arg(range.min).arg(range.max);
}

// A filter as the list shows it.
QString filterCaption(const RowFilter& f) {
    const QString range = rangeCaption(f.range);
    switch (f.kind) {
    case FilterKind::Signs:
        return QStringLiteral("Zeichen „%1“: %2 mal%3")
            .arg(QString::fromLatin1(TippText[f.sign]), range,
                 f.matches == kAllMatches ? QString() : QStringLiteral(" in Spiel ") + matchSetText(f.matches));
    case FilterKind::Run: return QStringLiteral("Längste Folge gleicher Zeichen: %1").arg(range);
    case FilterKind::Changes: return QStringLiteral("Wechsel des Zeichens: %1").arg(range);
    case FilterKind::Level: return QStringLiteral("%1: in %2 Spielen").arg(levelName(f.level), range);
    }
    return QString();
}

// "1 Reihe", "2.000 Reihen"
QString rowsText(long long n) {
    return formatCount(n) + (n == 1 ? QStringLiteral(" Reihe") : QStringLiteral(" Reihen"));
}

QLabel* boldLabel(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(ui::tahomaFont(8, true));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption) {
    QPushButton* b = ui::makeButton(parent, name, caption, QRect());
    b->setFixedHeight(26);
    b->setMinimumWidth(b->sizeHint().width() + 4);
    return b;
}

// A field whose text is no value: a warning sign at its end and the reason
// as its tooltip.
void markField(QLineEdit* field, const QString& error) {
    const QList<QAction*> actions = field->actions();
    if (!actions.isEmpty()) actions.front()->setVisible(!error.isEmpty());
    field->setToolTip(error);
    field->setAccessibleDescription(error);
}

QLineEdit* field(QWidget* parent, const QString& name, const QString& spoken) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(spoken);
    QAction* sign =
        edit->addAction(edit->style()->standardIcon(QStyle::SP_MessageBoxWarning), QLineEdit::TrailingPosition);
    sign->setText(QStringLiteral("Fehler in der Eingabe"));
    sign->setVisible(false);
    return edit;
}

}  // namespace

struct FilterTab::Input {
    std::shared_ptr<const Candidates> candidates;
    FilterList list;
    // The chances of every match; none when an open match's weights give none.
    std::optional<MatchWeights> weights;
    std::optional<int> weightless;
    // The sheet's crosses, when every match has one.
    std::optional<OutcomeCrosses> crosses;
};

struct FilterTab::Developed {
    std::int64_t candidates = 0;
    std::int64_t passed = 0;
    // The rows that go into the table; none when no row passed.
    std::shared_ptr<TipTable> table;
    bool fromCatalogue = false;
    std::optional<WinPlan> overFiltered;
    std::optional<WinPlan> overAll;
};

struct FilterTab::CoverProgress {
    std::atomic<std::int64_t> covered{0};
    std::atomic<std::int64_t> total{0};
};

FilterTab::FilterTab(TFGewonnen* main, const WeightsModel* weights, QWidget* parent)
    : QWidget(parent), main_(main), weights_(weights), progress_(std::make_shared<CoverProgress>()) {
    setObjectName(QStringLiteral("TabFilter"));
    countRun_ = new LatestRun(this);
    workRun_ = new LatestRun(this);
    // Changes that come together are counted once.
    countTimer_ = new QTimer(this);
    countTimer_->setSingleShot(true);
    countTimer_->setInterval(0);
    connect(countTimer_, &QTimer::timeout, this, &FilterTab::startCount);
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(100);
    connect(progressTimer_, &QTimer::timeout, this, [this] {
        const std::int64_t total = progress_->total.load();
        if (total > 0) PBAbdecken->setValue(static_cast<int>(progress_->covered.load() * 1000 / total));
    });

    // The controls scroll where the window is made smaller than they need.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("SFilter"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* content = new QWidget(scroll);
    content->setObjectName(QStringLiteral("PFilter"));
    scroll->setWidget(content);
    outer->addWidget(scroll);
    auto* column = new QVBoxLayout(content);
    auto* status = new QHBoxLayout;
    LFilterStatus = boldLabel(this, QStringLiteral("LFilterStatus"));
    status->addWidget(LFilterStatus, 1);
    PBFilter = new QProgressBar(this);
    PBFilter->setObjectName(QStringLiteral("PBFilter"));
    PBFilter->setAccessibleName(QStringLiteral("Die Filter werden angewandt"));
    PBFilter->setRange(0, 0);
    PBFilter->setTextVisible(false);
    PBFilter->setFixedSize(120, 12);
    PBFilter->hide();
    status->addWidget(PBFilter, 0, Qt::AlignTop);
    column->addLayout(status);
    // The bar only for counts long enough to be seen.
    auto* busyDelay = new QTimer(this);
    busyDelay->setSingleShot(true);
    busyDelay->setInterval(150);
    connect(busyDelay, &QTimer::timeout, PBFilter, &QWidget::show);
    connect(countRun_, &LatestRun::busyChanged, this, [this, busyDelay](bool busy) {
        if (busy) {
            busyDelay->start();
            return;
        }
        busyDelay->stop();
        PBFilter->hide();
    });

    buildCandidates(column);
    buildFilterList(column);
    buildSettings(column);
    buildActions(column);
    buildCoverFigures(column);

    // The figures of a cover shown belong to the sheet and the table it was
    // made for; rows worked out for them never replace new ones.
    const CrossSheet& sheet = main_->crossColumn().sheet();
    const auto crossesChanged = [this] {
        clearCoverFigures();
        stopWork(QStringLiteral("Abgebrochen: Der Kreuzschein hat sich geändert. Die Tabelle ist unverändert."));
        if (candidatesGroup_->checkedId() == 0) scheduleCount();
    };
    connect(&sheet, &CrossSheet::crossChanged, this, crossesChanged);
    connect(&sheet, &CrossSheet::changed, this, crossesChanged);
    const auto cellsChanged = [this] {
        tableCandidates_.reset();
        if (candidatesGroup_->checkedId() == 1) scheduleCount();
    };
    TipDocument& rows = main_->model().rows();
    connect(&rows, &TipDocument::tableChanged, this, [this, cellsChanged] {
        clearCoverFigures();
        stopWork(QStringLiteral("Abgebrochen: Die Tabelle hat sich geändert und bleibt, wie sie jetzt ist."));
        cellsChanged();
    });
    connect(&rows, &TipDocument::cellsChanged, this, cellsChanged);
    connect(&main_->model(), &BetModel::winningChanged, this, &FilterTab::scheduleCount);
    connect(weights_, &WeightsModel::weightsChanged, this, &FilterTab::scheduleCount);

    showList();
    setWorking(false);
}

FilterTab::~FilterTab() = default;

void FilterTab::buildCandidates(QVBoxLayout* column) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Reihen:"), this));
    candidatesGroup_ = new QButtonGroup(this);
    for (const auto& [id, name, caption] : {std::tuple{0, "RBVollsystem", "&Vollsystem des Kreuzscheins"},
                                            std::tuple{1, "RBTabelle", "&Reihen der Tabelle"}}) {
        auto* choice = new QRadioButton(QString::fromUtf8(caption), this);
        choice->setObjectName(QString::fromLatin1(name));
        candidatesGroup_->addButton(choice, id);
        row->addWidget(choice);
        inputs_ << choice;
    }
    candidatesGroup_->button(0)->setChecked(true);
    connect(candidatesGroup_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) scheduleCount();
    });
    row->addStretch();
    BFilterOeffnen = button(this, QStringLiteral("BFilterOeffnen"), QStringLiteral("Liste &öffnen …"));
    BFilterSpeichern = button(this, QStringLiteral("BFilterSpeichern"), QStringLiteral("Liste &speichern …"));
    row->addWidget(BFilterOeffnen);
    row->addWidget(BFilterSpeichern);
    inputs_ << BFilterOeffnen << BFilterSpeichern;
    connect(BFilterOeffnen, &QPushButton::clicked, this, &FilterTab::BFilterOeffnenClick);
    connect(BFilterSpeichern, &QPushButton::clicked, this, &FilterTab::BFilterSpeichernClick);
    column->addLayout(row);
}

void FilterTab::buildFilterList(QVBoxLayout* column) {
    auto* row = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* caption = new QLabel(QStringLiteral("F&ilter (alle müssen erfüllt sein, bis auf die Toleranz)"), this);
    left->addWidget(caption);
    LBFilter = new QListWidget(this);
    LBFilter->setObjectName(QStringLiteral("LBFilter"));
    LBFilter->setAccessibleName(QStringLiteral("Filter"));
    // As high as the room left: the tab's wrapped texts ask the scroll area
    // for preferred heights, and the list's would push the rest out of view.
    LBFilter->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    LBFilter->setMinimumHeight(80);
    caption->setBuddy(LBFilter);
    left->addWidget(LBFilter, 1);
    auto* buttons = new QHBoxLayout;
    BFilterNeu = button(this, QStringLiteral("BFilterNeu"), QStringLiteral("&Neuer Filter"));
    BFilterEntfernen = button(this, QStringLiteral("BFilterEntfernen"), QStringLiteral("Filter &entfernen"));
    buttons->addWidget(BFilterNeu);
    buttons->addWidget(BFilterEntfernen);
    buttons->addStretch();
    left->addLayout(buttons);
    row->addLayout(left, 3);
    inputs_ << BFilterNeu << BFilterEntfernen;
    connect(LBFilter, &QListWidget::currentRowChanged, this, &FilterTab::showEditor);
    connect(BFilterNeu, &QPushButton::clicked, this, &FilterTab::BFilterNeuClick);
    connect(BFilterEntfernen, &QPushButton::clicked, this, &FilterTab::BFilterEntfernenClick);

    // The editor of the filter chosen in the list: each change counts at once.
    auto* editor = new QGridLayout;
    // Two controls a line where they are short: the list keeps its room.
    const auto add = [&](int r, int c, const QString& text, QWidget* control, int span = 1) {
        auto* label = new QLabel(text, this);
        label->setBuddy(control);
        editor->addWidget(label, r, 2 * c);
        editor->addWidget(control, r, 2 * c + 1, 1, span);
        control->setAccessibleName(QString(text).remove(u'&').remove(u':'));
        inputs_ << control;
    };
    CBArt = new QComboBox(this);
    CBArt->setObjectName(QStringLiteral("CBArt"));
    CBArt->addItems({QStringLiteral("Anzahl eines Zeichens"), QStringLiteral("Längste Folge gleicher Zeichen"),
                     QStringLiteral("Wechsel des Zeichens"), QStringLiteral("Spiele einer Favoritenstufe")});
    add(0, 0, QStringLiteral("&Art:"), CBArt, 3);
    CBZeichen = new QComboBox(this);
    CBZeichen->setObjectName(QStringLiteral("CBZeichen"));
    CBZeichen->addItems({QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("2")});
    add(1, 0, QStringLiteral("&Zeichen:"), CBZeichen);
    CBStufe = new QComboBox(this);
    CBStufe->setObjectName(QStringLiteral("CBStufe"));
    for (const int level : kLevels) CBStufe->addItem(levelName(level));
    add(1, 1, QStringLiteral("St&ufe:"), CBStufe);
    eSpiele = field(this, QStringLiteral("eSpiele"), QString());
    eSpiele->setPlaceholderText(QStringLiteral("etwa 1-6 oder 1,3,5-7"));
    add(2, 0, QStringLiteral("in &den Spielen:"), eSpiele, 3);
    const auto spin = [this](const QString& name) {
        auto* s = new QSpinBox(this);
        s->setObjectName(name);
        s->setRange(0, kMatches);
        return s;
    };
    SEMin = spin(QStringLiteral("SEMin"));
    SEMax = spin(QStringLiteral("SEMax"));
    add(3, 0, QStringLiteral("&Mindestens:"), SEMin);
    add(3, 1, QStringLiteral("&Höchstens:"), SEMax);
    editor->setColumnStretch(1, 1);
    editor->setColumnStretch(3, 1);
    editor->setRowStretch(4, 1);
    row->addLayout(editor, 2);
    column->addLayout(row, 1);

    connect(CBArt, &QComboBox::currentIndexChanged, this, &FilterTab::editorChanged);
    connect(CBZeichen, &QComboBox::currentIndexChanged, this, &FilterTab::editorChanged);
    connect(CBStufe, &QComboBox::currentIndexChanged, this, &FilterTab::editorChanged);
    connect(eSpiele, &QLineEdit::textEdited, this, &FilterTab::editorChanged);
    connect(SEMin, &QSpinBox::valueChanged, this, &FilterTab::editorChanged);
    connect(SEMax, &QSpinBox::valueChanged, this, &FilterTab::editorChanged);
}

void FilterTab::buildSettings(QVBoxLayout* column) {
    auto* grid = new QGridLayout;
    auto* tolerance = new QLabel(QStringLiteral("T&oleranz:"), this);
    grid->addWidget(tolerance, 0, 0);
    SEToleranz = new QSpinBox(this);
    SEToleranz->setObjectName(QStringLiteral("SEToleranz"));
    SEToleranz->setRange(0, kMostFilters);
    SEToleranz->setAccessibleName(QStringLiteral("Toleranz: so viele Filter darf eine Reihe verfehlen"));
    tolerance->setBuddy(SEToleranz);
    auto* toleranceRow = new QHBoxLayout;
    toleranceRow->addWidget(SEToleranz);
    toleranceRow->addWidget(new QLabel(QStringLiteral("Filter darf eine Reihe verfehlen"), this), 1);
    grid->addLayout(toleranceRow, 0, 1);
    connect(SEToleranz, &QSpinBox::valueChanged, this, [this](int k) {
        list_.tolerance = k;
        scheduleCount();
    });

    auto* levels = new QLabel(QStringLiteral("Stufen &je Ausgang:"), this);
    grid->addWidget(levels, 1, 0);
    auto* levelsRow = new QHBoxLayout;
    eStufen = field(this, QStringLiteral("eStufen"), QStringLiteral("Favoritenstufen je Spiel"));
    eStufen->setPlaceholderText(QStringLiteral("je Spiel die Stufen von 1, 0, 2: 310,111,003,…"));
    levels->setBuddy(eStufen);
    levelsRow->addWidget(eStufen, 1);
    BStufenGenerator =
        button(this, QStringLiteral("BStufenGenerator"), QStringLiteral("Muster des Generators &übernehmen"));
    BStufenGenerator->setToolTip(
        QStringLiteral("Die Stufen Fav I, Fav II, Fav III und out aus dem Fenster des Zufallsgenerators"));
    levelsRow->addWidget(BStufenGenerator);
    grid->addLayout(levelsRow, 1, 1);
    connect(eStufen, &QLineEdit::textEdited, this, &FilterTab::levelsEdited);
    connect(BStufenGenerator, &QPushButton::clicked, this, &FilterTab::BStufenGeneratorClick);

    auto* probability = new QLabel(QStringLiteral("&Wahrscheinlichkeit:"), this);
    grid->addWidget(probability, 2, 0);
    auto* probabilityRow = new QHBoxLayout;
    CBWahrscheinlichkeit = new QComboBox(this);
    CBWahrscheinlichkeit->setObjectName(QStringLiteral("CBWahrscheinlichkeit"));
    CBWahrscheinlichkeit->setAccessibleName(QStringLiteral("Filter der Wahrscheinlichkeit"));
    CBWahrscheinlichkeit->setToolTip(QStringLiteral("Mit den Gewichten des Reiters „Live“"));
    CBWahrscheinlichkeit->addItems({QStringLiteral("kein Filter"), QStringLiteral("Reihen mit mindestens"),
                                    QStringLiteral("nur die wahrscheinlichsten Reihen, Anzahl")});
    probability->setBuddy(CBWahrscheinlichkeit);
    probabilityRow->addWidget(CBWahrscheinlichkeit);
    eWahrscheinlichkeit =
        field(this, QStringLiteral("eWahrscheinlichkeit"), QStringLiteral("Wert des Filters der Wahrscheinlichkeit"));
    probabilityRow->addWidget(eWahrscheinlichkeit, 1);
    grid->addLayout(probabilityRow, 2, 1);
    connect(CBWahrscheinlichkeit, &QComboBox::currentIndexChanged, this, &FilterTab::probabilityEdited);
    connect(eWahrscheinlichkeit, &QLineEdit::textEdited, this, &FilterTab::probabilityEdited);
    inputs_ << SEToleranz << eStufen << BStufenGenerator << CBWahrscheinlichkeit << eWahrscheinlichkeit;
    column->addLayout(grid);

    LFilterAnzahl = boldLabel(this, QStringLiteral("LFilterAnzahl"));
    LFilterChance = boldLabel(this, QStringLiteral("LFilterChance"));
    LFilterChance->setToolTip(
        QStringLiteral("Mit den Gewichten des Reiters „Live“; ein Spiel mit Ergebnis in der "
                       "Gewinnreihe zählt mit diesem Ergebnis."));
    column->addWidget(LFilterAnzahl);
    column->addWidget(LFilterChance);
}

void FilterTab::buildActions(QVBoxLayout* column) {
    auto* row = new QHBoxLayout;
    BFiltern = button(this, QStringLiteral("BFiltern"), QStringLiteral("Fil&tern"));
    BFiltern->setToolTip(QStringLiteral("Die Reihen, die die Filter erfüllen, in die Tabelle"));
    row->addWidget(BFiltern);
    row->addSpacing(12);
    auto* guarantee = new QLabel(QStringLiteral("&Garantie:"), this);
    row->addWidget(guarantee);
    CBGarantie = new QComboBox(this);
    CBGarantie->setObjectName(QStringLiteral("CBGarantie"));
    CBGarantie->setAccessibleName(QStringLiteral("Garantie der Abdeckung"));
    for (int g = kHighestGuarantee; g >= kLowestGuarantee; --g)
        CBGarantie->addItem(QStringLiteral("%1 Richtige (Rang %2)").arg(g).arg(rankName(kMatches + 1 - g)), g);
    guarantee->setBuddy(CBGarantie);
    row->addWidget(CBGarantie);
    BAbdecken = button(this, QStringLiteral("BAbdecken"), QStringLiteral("A&bdecken"));
    BAbdecken->setToolTip(
        QStringLiteral("Wenige der gefilterten Reihen in die Tabelle, die die Garantie geben, "
                       "wann immer das Ergebnis die Filter erfüllt"));
    row->addWidget(BAbdecken);
    BAbdeckenStopp = button(this, QStringLiteral("BAbdeckenStopp"), QStringLiteral("Abbre&chen"));
    row->addWidget(BAbdeckenStopp);
    PBAbdecken = new QProgressBar(this);
    PBAbdecken->setObjectName(QStringLiteral("PBAbdecken"));
    PBAbdecken->setAccessibleName(QStringLiteral("Fortschritt"));
    PBAbdecken->setFixedHeight(14);
    PBAbdecken->setMinimumWidth(40);
    PBAbdecken->setTextVisible(false);
    row->addWidget(PBAbdecken, 1);
    inputs_ << BFiltern << CBGarantie << BAbdecken;
    connect(BFiltern, &QPushButton::clicked, this, &FilterTab::BFilternClick);
    connect(BAbdecken, &QPushButton::clicked, this, &FilterTab::BAbdeckenClick);
    connect(BAbdeckenStopp, &QPushButton::clicked, this, &FilterTab::BAbdeckenStoppClick);
    column->addLayout(row);
    LAbdeckenStatus = new QLabel(this);
    LAbdeckenStatus->setObjectName(QStringLiteral("LAbdeckenStatus"));
    LAbdeckenStatus->setWordWrap(true);
    column->addWidget(LAbdeckenStatus);
}

void FilterTab::buildCoverFigures(QVBoxLayout* column) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(2);
    const auto header = [&](int col, const QString& text) {
        auto* label = new QLabel(text, this);
        label->setFont(ui::tahomaFont(8, true));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, 0, col);
    };
    header(1, QStringLiteral("über die gefilterten Ergebnisse"));
    header(2, QStringLiteral("über alle Ergebnisse der Kreuze"));
    const auto value = [&](int row, int col, const QString& name) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(label, row, col);
        return label;
    };
    for (int k = 1; k <= kRanks + 1; ++k) {
        grid->addWidget(
            new QLabel(k <= kRanks ? QStringLiteral("Bester Rang %1").arg(rankName(k)) : QStringLiteral("Kein Rang"),
                       this),
            k, 0);
        filteredResults_[static_cast<size_t>(k - 1)] = value(k, 1, QStringLiteral("LGefiltert%1").arg(k));
        allResults_[static_cast<size_t>(k - 1)] = value(k, 2, QStringLiteral("LAlle%1").arg(k));
    }
    grid->addWidget(new QLabel(QStringLiteral("Sicherer Rang"), this), kRanks + 2, 0);
    LSicherGefiltert = value(kRanks + 2, 1, QStringLiteral("LSicherGefiltert"));
    LSicherAlle = value(kRanks + 2, 2, QStringLiteral("LSicherAlle"));
    for (QLabel* label : {LSicherGefiltert, LSicherAlle}) label->setFont(ui::tahomaFont(8, true));
    grid->setColumnStretch(3, 1);
    column->addLayout(grid);
}

bool FilterTab::counting() const { return countRun_->busy(); }
bool FilterTab::working() const { return workRun_->busy(); }

void FilterTab::showList() {
    const int current = LBFilter->currentRow();
    {
        const QSignalBlocker block(LBFilter);
        LBFilter->clear();
        for (const RowFilter& f : list_.filters) LBFilter->addItem(filterCaption(f));
        LBFilter->setCurrentRow(std::min(current, LBFilter->count() - 1));
        if (LBFilter->currentRow() < 0 && LBFilter->count() > 0) LBFilter->setCurrentRow(0);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{SEToleranz, eStufen, CBWahrscheinlichkeit, eWahrscheinlichkeit})
        w->blockSignals(true);
    SEToleranz->setValue(list_.tolerance);
    eStufen->setText(list_.levels ? levelPatternText(*list_.levels) : QString());
    const ProbabilityFilter& p = list_.probability;
    CBWahrscheinlichkeit->setCurrentIndex(static_cast<int>(p.mode));
    // The share as the file holds it, German: nothing rounded away.
    eWahrscheinlichkeit->setText(p.mode == ProbabilityFilter::Mode::AtLeast
                                     ? shareText(p.share).replace(u'.', u',')
                                 : p.mode == ProbabilityFilter::Mode::Best ? QString::number(p.best)
                                                                           : QString());
    for (QWidget* w : std::initializer_list<QWidget*>{SEToleranz, eStufen, CBWahrscheinlichkeit, eWahrscheinlichkeit})
        w->blockSignals(false);
    levelsError_.clear();
    probabilityError_.clear();
    markField(eStufen, QString());
    markField(eWahrscheinlichkeit, QString());
    showEditor();
}

void FilterTab::showEditor() {
    const int row = LBFilter->currentRow();
    editorError_.clear();
    markField(eSpiele, QString());
    for (QSpinBox* spin : {SEMin, SEMax}) spin->setToolTip(QString());
    const QList<QWidget*> fields{CBArt, CBZeichen, CBStufe, eSpiele, SEMin, SEMax};
    for (QWidget* w : fields) w->blockSignals(true);
    if (row >= 0 && row < static_cast<int>(list_.filters.size())) {
        const RowFilter& f = list_.filters[static_cast<size_t>(row)];
        CBArt->setCurrentIndex(static_cast<int>(std::find(kKinds.begin(), kKinds.end(), f.kind) - kKinds.begin()));
        CBZeichen->setCurrentIndex(f.sign - kTipOne);
        CBStufe->setCurrentIndex(
            static_cast<int>(std::find(kLevels.begin(), kLevels.end(), f.level) - kLevels.begin()));
        eSpiele->setText(matchSetText(f.matches));
        SEMin->setValue(std::min(f.range.min, kMatches));
        SEMax->setValue(std::min(f.range.max, kMatches));
    }
    for (QWidget* w : fields) w->blockSignals(false);
    showEnabled();
}

void FilterTab::showEnabled() {
    const int row = LBFilter->currentRow();
    const bool editable = row >= 0 && row < static_cast<int>(list_.filters.size()) && !working();
    const FilterKind kind = kKinds[static_cast<size_t>(CBArt->currentIndex())];
    for (QWidget* w : std::initializer_list<QWidget*>{CBArt, SEMin, SEMax, BFilterEntfernen}) w->setEnabled(editable);
    CBZeichen->setEnabled(editable && kind == FilterKind::Signs);
    eSpiele->setEnabled(editable && kind == FilterKind::Signs);
    CBStufe->setEnabled(editable && kind == FilterKind::Level);
    BFilterNeu->setEnabled(!working() && list_.filters.size() < static_cast<size_t>(kMostFilters));
    eWahrscheinlichkeit->setEnabled(!working() && CBWahrscheinlichkeit->currentIndex() != 0);
}

void FilterTab::editorChanged() {
    const int row = LBFilter->currentRow();
    if (row < 0 || row >= static_cast<int>(list_.filters.size())) return;
    RowFilter& f = list_.filters[static_cast<size_t>(row)];
    f.kind = kKinds[static_cast<size_t>(CBArt->currentIndex())];
    f.sign = static_cast<std::uint8_t>(kTipOne + CBZeichen->currentIndex());
    f.level = kLevels[static_cast<size_t>(CBStufe->currentIndex())];
    const Parsed<MatchSet> matches = parseMatchSet(eSpiele->text().trimmed());
    markField(eSpiele, matches.value ? QString() : matches.error);
    if (matches.value) f.matches = *matches.value;
    // Left as typed: a MAX of 12 is typed through 1.
    const bool crossed = SEMin->value() > SEMax->value();
    const QString range = crossed ? QStringLiteral("Mindestens ist größer als Höchstens.") : QString();
    for (QSpinBox* spin : {SEMin, SEMax}) spin->setToolTip(range);
    if (!crossed) {
        f.range.min = SEMin->value();
        // A MAX left open stays open while it shows 13: no count goes beyond.
        if (SEMax->value() < kMatches || f.range.max < kMatches) f.range.max = SEMax->value();
    }
    editorError_ = !matches.value ? QStringLiteral("Die Spiele: ") + matches.error
                   : crossed      ? QStringLiteral("Im gewählten Filter: ") + range
                                  : QString();
    LBFilter->item(row)->setText(filterCaption(f));
    showEnabled();
    scheduleCount();
}

void FilterTab::BFilterNeuClick() {
    if (list_.filters.size() >= static_cast<size_t>(kMostFilters)) return;
    // The draws of all matches, any count: the filter most players set first.
    RowFilter f;
    f.sign = kTipZero;
    list_.filters.push_back(f);
    LBFilter->addItem(filterCaption(f));
    LBFilter->setCurrentRow(LBFilter->count() - 1);
    CBArt->setFocus();
    scheduleCount();
}

void FilterTab::BFilterEntfernenClick() {
    const int row = LBFilter->currentRow();
    if (row < 0 || row >= static_cast<int>(list_.filters.size())) return;
    list_.filters.erase(list_.filters.begin() + row);
    delete LBFilter->takeItem(row);
    showEditor();
    scheduleCount();
}

void FilterTab::levelsEdited() {
    const QString text = eStufen->text().trimmed();
    levelsError_.clear();
    if (text.isEmpty()) {
        list_.levels.reset();
    } else {
        const Parsed<PatternLevels> levels = parseLevelPattern(text);
        if (levels.value)
            list_.levels = levels.value;
        else
            levelsError_ = QStringLiteral("Die Stufen: ") + levels.error;
    }
    markField(eStufen, levelsError_);
    scheduleCount();
}

void FilterTab::BStufenGeneratorClick() {
    list_.levels = main_->generatorWindow().levels();
    eStufen->setText(levelPatternText(*list_.levels));
    levelsError_.clear();
    markField(eStufen, QString());
    scheduleCount();
}

void FilterTab::probabilityEdited() {
    const auto mode = static_cast<ProbabilityFilter::Mode>(CBWahrscheinlichkeit->currentIndex());
    const QString text = eWahrscheinlichkeit->text().trimmed();
    eWahrscheinlichkeit->setPlaceholderText(mode == ProbabilityFilter::Mode::AtLeast ? QStringLiteral("etwa 0,1 %")
                                            : mode == ProbabilityFilter::Mode::Best  ? QStringLiteral("etwa 500")
                                                                                     : QString());
    probabilityError_.clear();
    list_.probability = {};
    if (mode == ProbabilityFilter::Mode::AtLeast) {
        const Parsed<double> share = parseShare(text);
        if (share.value)
            list_.probability = {mode, *share.value, 0};
        else
            probabilityError_ = QStringLiteral("Die Wahrscheinlichkeit: ") + share.error;
    } else if (mode == ProbabilityFilter::Mode::Best) {
        const std::optional<int> best = parseCount(text);
        if (best && *best > 0)
            list_.probability = {mode, 0, *best};
        else
            probabilityError_ =
                QStringLiteral("„%1“ ist keine Anzahl von Reihen (eine ganze Zahl ab 1).").arg(quotedInput(text));
    }
    markField(eWahrscheinlichkeit, probabilityError_);
    showEnabled();
    scheduleCount();
}

std::optional<FilterTab::Input> FilterTab::input(QString& why) {
    Input in;
    in.list = list_;
    const OutcomeCrosses crosses = main_->crossColumn().sheet().crosses();
    std::optional<Candidates> full = Candidates::ofCrosses(crosses);
    if (full) in.crosses = crosses;
    if (candidatesGroup_->checkedId() == 0) {
        if (!full) {
            why = QStringLiteral(
                "Nicht jedes der 13 Spiele ist angekreuzt. Die Filter brauchen auf jedem Spiel mindestens "
                "ein Kreuz.");
            return std::nullopt;
        }
        in.candidates = std::make_shared<const Candidates>(std::move(*full));
    } else {
        if (!tableCandidates_)
            tableCandidates_ = std::make_shared<const Candidates>(Candidates::ofTable(main_->model().table()));
        if (tableCandidates_->size() == 0) {
            why = QStringLiteral("Die Tabelle enthält keine Tippreihen aus 1, 0 und 2.");
            return std::nullopt;
        }
        in.candidates = tableCandidates_;
    }
    why = listError();
    if (!why.isEmpty()) return std::nullopt;
    // A match with a result in the winning row has it for sure; the others
    // the Live tab's weights.
    MatchWeights chances{};
    for (int m = 1; m <= kMatches; ++m) {
        auto& c = chances[static_cast<size_t>(m - 1)];
        const TipCode code = tipCodeOfText(main_->model().winning(m));
        if (code >= kTipOne && code <= kTipTwo) {
            c[static_cast<size_t>(code - kTipOne)] = 1;
            continue;
        }
        c = weights_->weights()[static_cast<size_t>(m - 1)];
        if (!validWeights(c) && !in.weightless) in.weightless = m;
    }
    if (in.weightless && list_.probability.mode != ProbabilityFilter::Mode::None) {
        why = QStringLiteral(
                  "Die Gewichte von Spiel %1 im Reiter „Live“ geben keine Chancen: je Ausgang eine Zahl ab 0, "
                  "nicht alle 0. Der Filter der Wahrscheinlichkeit braucht sie.")
                  .arg(*in.weightless);
        return std::nullopt;
    }
    if (!in.weightless) in.weights = chances;
    return in;
}

QString FilterTab::listError() const {
    for (const QString* error : {&editorError_, &levelsError_, &probabilityError_})
        if (!error->isEmpty()) return *error;
    if (!list_.levels && std::any_of(list_.filters.begin(), list_.filters.end(),
                                     [](const RowFilter& f) { return f.kind == FilterKind::Level; }))
        return QStringLiteral(
            "Ein Filter der Favoritenstufen braucht die Stufen: Übernehmen Sie das Muster des "
            "Generators oder tragen Sie die Stufen ein.");
    return QString();
}

void FilterTab::scheduleCount() {
    countDue_ = true;
    if (isVisible()) countTimer_->start();
}

void FilterTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (countDue_) countTimer_->start();
}

void FilterTab::hideEvent(QHideEvent* event) {
    // Only when the window goes: another tab in front leaves the work going.
    if (!window()->isVisible()) {
        if (countRun_->busy()) {
            countRun_->stop();
            countDue_ = true;
        }
        stopWork(QStringLiteral("Abgebrochen, als das Fenster geschlossen wurde. Die Tabelle ist unverändert."));
    }
    QWidget::hideEvent(event);
}

void FilterTab::startCount() {
    countDue_ = false;
    QString why;
    std::optional<Input> in = input(why);
    if (!in) {
        countRun_->stop();
        clearCount(why);
        emit countShown();
        return;
    }
    auto shared = std::make_shared<const Input>(std::move(*in));
    const Candidates& candidates = *shared->candidates;
    QString source = candidates.fullSystem()
                         ? QStringLiteral("Das Vollsystem des Kreuzscheins: %1.").arg(rowsText(candidates.size()))
                         : QStringLiteral("Die Tabelle: %1.").arg(rowsText(candidates.size()));
    if (candidates.skipped() > 0)
        source += QStringLiteral(" %1 mit anderen Tipps als 1, 0 und 2 %2 nicht mit.")
                      .arg(rowsText(candidates.skipped()),
                           candidates.skipped() == 1 ? QStringLiteral("zählt") : QStringLiteral("zählen"));
    LFilterStatus->setText(source);
    countRun_->start<FilterOutcome>(
        [shared](const std::atomic<bool>& stop) {
            return applyFilters(*shared->candidates, shared->list, shared->weights ? &*shared->weights : nullptr,
                                &stop);
        },
        [this, shared](const Computed<FilterOutcome>& computed) { showCount(computed, shared); });
}

void FilterTab::showCount(const Computed<FilterOutcome>& computed, const std::shared_ptr<const Input>& input) {
    if (!computed.value) {
        clearCount(computed.error);
        emit countShown();
        return;
    }
    const FilterOutcome& outcome = *computed.value;
    const auto passed = static_cast<long long>(outcome.rows.size());
    LFilterAnzahl->setText(
        passed == 0 ? QStringLiteral("Keine Reihe erfüllt alle Filter (0 von %1).").arg(formatCount(outcome.candidates))
                    : QStringLiteral("%1 von %2 Reihen %3 die Filter.")
                          .arg(formatCount(passed), formatCount(outcome.candidates),
                               passed == 1 ? QStringLiteral("erfüllt") : QStringLiteral("erfüllen")));
    // Over a full system the result must also lie in the crosses.
    const QString chance = input->candidates->fullSystem()
                               ? QStringLiteral("Wahrscheinlichkeit, dass Kreuze und Filter halten: ")
                               : QStringLiteral("Wahrscheinlichkeit, dass das Ergebnis eine dieser Reihen ist: ");
    if (outcome.probability)
        LFilterChance->setText(chance + formatShare(*outcome.probability));
    else
        LFilterChance->setText(chance +
                               QStringLiteral("– (die Gewichte von Spiel %1 im Reiter „Live“ geben keine Chancen)")
                                   .arg(input->weightless.value_or(0)));
    emit countShown();
}

void FilterTab::clearCount(const QString& why) {
    LFilterStatus->setText(why);
    LFilterAnzahl->clear();
    LFilterChance->clear();
}

void FilterTab::setWorking(bool working) {
    for (QWidget* w : inputs_) w->setEnabled(!working);
    BAbdeckenStopp->setEnabled(working);
    PBAbdecken->setVisible(working);
    if (!working) {
        progressTimer_->stop();
        showEnabled();
    }
}

std::shared_ptr<const FilterTab::Input> FilterTab::inputOrRefusal() {
    QString why;
    std::optional<Input> in = input(why);
    if (!in) {
        ui::showInformation(this, refusal(why));
        return nullptr;
    }
    return std::make_shared<const Input>(std::move(*in));
}

std::optional<FilterOutcome> FilterTab::filterWithCounts(const Input& input, Developed& developed,
                                                         const std::atomic<bool>& stop) {
    std::optional<FilterOutcome> outcome =
        applyFilters(*input.candidates, input.list, input.weights ? &*input.weights : nullptr, &stop);
    if (!outcome) return std::nullopt;
    developed.candidates = outcome->candidates;
    developed.passed = static_cast<std::int64_t>(outcome->rows.size());
    return outcome;
}

void FilterTab::BFilternClick() {
    const std::shared_ptr<const Input> shared = inputOrRefusal();
    if (!shared) return;
    clearCoverFigures();
    LAbdeckenStatus->setText(QStringLiteral("Die Reihen werden gefiltert …"));
    PBAbdecken->setRange(0, 0);
    workRun_->start<Developed>(
        [shared](const std::atomic<bool>& stop) -> std::optional<Developed> {
            Developed d;
            const std::optional<FilterOutcome> outcome = filterWithCounts(*shared, d, stop);
            if (!outcome) return std::nullopt;
            if (d.passed > 0) d.table = std::make_shared<TipTable>(tableOfWords(outcome->rows));
            return d;
        },
        [this](const Computed<Developed>& computed) { showDeveloped(computed, 0); });
    setWorking(true);
}

void FilterTab::BAbdeckenClick() {
    const std::shared_ptr<const Input> shared = inputOrRefusal();
    if (!shared) return;
    const int guarantee = CBGarantie->currentData().toInt();
    clearCoverFigures();
    LAbdeckenStatus->setText(
        QStringLiteral("Die gefilterten Reihen werden mit Garantie %1 abgedeckt …").arg(guarantee));
    // A fresh counter: the run before may still write to its own.
    progress_ = std::make_shared<CoverProgress>();
    PBAbdecken->setRange(0, 1000);
    PBAbdecken->setValue(0);
    workRun_->start<Developed>(
        [shared, guarantee, progress = progress_](const std::atomic<bool>& stop) -> std::optional<Developed> {
            Developed d;
            const std::optional<FilterOutcome> outcome = filterWithCounts(*shared, d, stop);
            if (!outcome) return std::nullopt;
            if (d.passed == 0) return d;
            CoverOptions options;
            options.stop = &stop;
            options.progress = [progress](std::int64_t covered, std::int64_t total) {
                progress->covered = covered;
                progress->total = total;
            };
            const std::optional<RowCover> cover = coverRows(outcome->rows, guarantee, options);
            if (!cover) return std::nullopt;
            d.fromCatalogue = cover->fromCatalogue;
            d.table = std::make_shared<TipTable>(tableOfWords(cover->rows));
            d.overFiltered = winPlanOver(*d.table, outcome->rows, &stop);
            if (!d.overFiltered) return std::nullopt;
            if (shared->crosses) {
                d.overAll = winPlan(*d.table, *shared->crosses, &stop);
                if (!d.overAll) return std::nullopt;
            }
            return d;
        },
        [this, guarantee](const Computed<Developed>& computed) { showDeveloped(computed, guarantee); });
    setWorking(true);
    progressTimer_->start();
}

void FilterTab::BAbdeckenStoppClick() { stopWork(QStringLiteral("Abgebrochen. Die Tabelle ist unverändert.")); }

void FilterTab::stopWork(const QString& why) {
    if (!workRun_->busy()) return;
    workRun_->stop();
    setWorking(false);
    LAbdeckenStatus->setText(why);
    emit workEnded();
}

void FilterTab::showDeveloped(const Computed<Developed>& computed, int guarantee) {
    setWorking(false);
    if (!computed.value) {
        LAbdeckenStatus->setText(computed.error);
        ui::showError(this, computed.error);
        emit workEnded();
        return;
    }
    const Developed& d = *computed.value;
    if (d.passed == 0) {
        const QString none = QStringLiteral("Keine Reihe erfüllt alle Filter.");
        LAbdeckenStatus->setText(none + QStringLiteral(" Die Tabelle ist unverändert."));
        ui::showInformation(this, refusal(none));
        emit workEnded();
        return;
    }
    const long long rows = d.table->dataRowCount();
    showDevelopedRows(main_->model().rows(), std::move(*d.table));
    if (guarantee == 0) {
        LAbdeckenStatus->setText(
            QStringLiteral("%1 von %2 in die Tabelle entwickelt.").arg(rowsText(rows), formatCount(d.candidates)));
        emit workEnded();
        return;
    }
    LAbdeckenStatus->setText(
        QStringLiteral("%1 decken die %2 gefilterten ab: Ist das Ergebnis eine von ihnen, hat mindestens eine Reihe %3 "
                       "Richtige.%4")
            .arg(rowsText(rows), formatCount(d.passed))
            .arg(guarantee)
            .arg(d.fromCatalogue ? QStringLiteral(" Es ist das gekürzte System des Katalogs.") : QString()));
    const auto show = [](const std::optional<WinPlan>& plan, std::array<QLabel*, 5>& labels, QLabel* sure) {
        if (!plan) {
            for (QLabel* label : labels) label->setText(QStringLiteral("–"));
            sure->setText(QStringLiteral("– (nicht jedes Spiel angekreuzt)"));
            return;
        }
        const auto byBest = resultsByBestRank(*plan);
        for (size_t k = 0; k < labels.size(); ++k)
            labels[k]->setText(QStringLiteral("%1 (%2)").arg(
                formatCount(byBest[k]), formatShare(static_cast<double>(byBest[k]) /
                                                    static_cast<double>(std::max<std::int64_t>(plan->results, 1)))));
        sure->setText(rankName(plan->guaranteedRank));
    };
    show(d.overFiltered, filteredResults_, LSicherGefiltert);
    show(d.overAll, allResults_, LSicherAlle);
    emit workEnded();
}

void FilterTab::clearCoverFigures() {
    if (!working()) LAbdeckenStatus->clear();
    for (auto* labels : {&filteredResults_, &allResults_})
        for (QLabel* label : *labels) label->clear();
    LSicherGefiltert->clear();
    LSicherAlle->clear();
}

void FilterTab::BFilterSpeichernClick() {
    ui::runGuarded(this, [&] {
        // What is saved must read back.
        if (const QString error = listError(); !error.isEmpty())
            throw KorbistoError(refusal(QStringLiteral("Die Filterliste hat noch einen Fehler. %1").arg(error)));
        auto request =
            ui::FileDialogRequest::save(QStringLiteral("Filterliste speichern"), QStringLiteral("Filterliste"),
                                        QStringLiteral("*.krfilter"), QStringLiteral("krfilter"), madeFilterFolder());
        const QString path = ui::chooseFile(this, request);
        if (path.isEmpty()) return;
        writeFileAtomically(path, filterFileText(list_));
        LAbdeckenStatus->setText(
            QStringLiteral("Die Filterliste ist als „%1“ gespeichert.").arg(QFileInfo(path).fileName()));
    });
}

void FilterTab::BFilterOeffnenClick() {
    ui::runGuarded(this, [&] {
        auto request =
            ui::FileDialogRequest::open(QStringLiteral("Filterliste öffnen"), QStringLiteral("Filterliste"),
                                        QStringLiteral("*.krfilter"), QStringLiteral("krfilter"), madeFilterFolder());
        request.mustExist = true;
        const QString path = ui::chooseFile(this, request);
        if (path.isEmpty()) return;
        const QString name = QFileInfo(path).fileName();
        const std::optional<QByteArray> bytes = readFileBytes(path, kMostFilterFileBytes);
        if (!bytes) throw KorbistoError(refusal(QStringLiteral("„%1“ ist zu groß für eine Filterliste.").arg(name)));
        // Read whole before anything changes: a refused file leaves the list.
        list_ = parseFilterFile(*bytes, name);
        LBFilter->setCurrentRow(-1);
        showList();
        LAbdeckenStatus->setText(QStringLiteral("Die Filterliste „%1“ ist geladen.").arg(name));
        scheduleCount();
    });
}

}  // namespace korbisto::app
