#include "analysis_window.h"

#include "analysis_models.h"
#include "filter_tab.h"
#include "latest_run.h"
#include "main_window.h"
#include "sheet_view.h"

#include "core/bet_model.h"
#include "core/german.h"
#include "systems/development.h"
#include "systems/reduced_catalogue.h"
#include "files/settings_file.h"
#include "ui/bar_chart.h"
#include "ui/filtered_edit.h"
#include "ui/keyboard.h"
#include "ui/message_boxes.h"
#include "ui/style.h"
#include "ui/tip_grid.h"
#include "ui/wrap_button.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace korbisto::app {

namespace {

// The tip rows of a table, numbers and tips only: what the analysis reads,
// cheap to copy and to compare.
TipTable tipRowsOf(const TipTable& table) {
    TipTable rows;
    for (const TipTable::Row& row : table.rows())
        if (row.tips[0] != kTipEmpty) rows.appendRow(row.number, row.tips);
    return rows;
}

bool sameRows(const TipTable& a, const TipTable& b) {
    return std::equal(a.rows().begin(), a.rows().end(), b.rows().begin(), b.rows().end(),
                      [](const TipTable::Row& x, const TipTable::Row& y) { return x.number == y.number && x.tips == y.tips; });
}

// "3, 7 und 12"
QString matchList(const std::vector<int>& matches) {
    QStringList numbers;
    for (const int m : matches) numbers << QString::number(m);
    if (numbers.size() < 2) return numbers.join(QString());
    const QString last = numbers.takeLast();
    return numbers.join(QStringLiteral(", ")) + QStringLiteral(" und ") + last;
}

QString rankName(int rank) { return QString::fromLatin1(RangNamen[static_cast<size_t>(rank)]); }

// "1 Tippreihe", "2.000 Tippreihen"
QString counted(long long n, const QString& one, const QString& more) {
    return formatCount(n) + u' ' + (n == 1 ? one : more);
}

QString tipRows(long long n) { return counted(n, QStringLiteral("Tippreihe"), QStringLiteral("Tippreihen")); }

// What the sheet still lacks for `purpose` ("Der Gewinnplan braucht"); empty
// when every match has a cross.
QString missingCrosses(const OutcomeCrosses& crosses, const QString& purpose) {
    std::vector<int> uncrossed;
    for (int m = 1; m <= kMatches; ++m)
        if (!crosses[static_cast<size_t>(outcomeIndex(m, 1))] && !crosses[static_cast<size_t>(outcomeIndex(m, 2))] &&
            !crosses[static_cast<size_t>(outcomeIndex(m, 3))])
            uncrossed.push_back(m);
    if (uncrossed.size() == kMatches)
        return purpose + QStringLiteral(" die Kreuze des Kreuzscheins: Kreuzen Sie auf jedem Spiel die Ausgänge an, "
                                        "die kommen können.");
    if (uncrossed.empty()) return QString();
    return QStringLiteral("Auf dem Kreuzschein fehlt noch ein Kreuz für %1 %2.")
        .arg(uncrossed.size() == 1 ? QStringLiteral("Spiel") : QStringLiteral("die Spiele"), matchList(uncrossed));
}

QColor rankColour(int rank) {
    return rank == 0 ? QColor(200, 203, 208) : ui::TipGridModel::hitColour(kMatches + 1 - rank);
}

const QString kNoQuota = QStringLiteral("– (keine gültige Quote)");

QString euros(double amount) { return formatCents(amount) + QStringLiteral(" €"); }

// Figures are faded while their successor is worked out, once that takes
// long enough to be seen, so that short runs do not flicker. Only faded: the
// user may go on scrolling and sorting them.
void fadeWhileBusy(LatestRun* run, QWidget* owner, std::initializer_list<QWidget*> figures) {
    QList<QGraphicsOpacityEffect*> effects;
    for (QWidget* w : figures) {
        auto* effect = new QGraphicsOpacityEffect(w);
        effect->setOpacity(0.4);
        effect->setEnabled(false);
        w->setGraphicsEffect(effect);
        effects.append(effect);
    }
    auto* delay = new QTimer(owner);
    delay->setSingleShot(true);
    delay->setInterval(150);
    QObject::connect(delay, &QTimer::timeout, owner, [effects] {
        for (QGraphicsOpacityEffect* e : effects) e->setEnabled(true);
    });
    QObject::connect(run, &LatestRun::busyChanged, owner, [delay, effects](bool busy) {
        if (busy) {
            delay->start();
            return;
        }
        delay->stop();
        for (QGraphicsOpacityEffect* e : effects) e->setEnabled(false);
    });
}

// A tab's first line: what the figures are or why there are none, and
// beside it, while the work goes on, a bar without an end.
void addStatusRow(QVBoxLayout* column, QWidget* page, const QString& name, QLabel*& status, QProgressBar*& busy) {
    auto* row = new QHBoxLayout;
    status = new QLabel(page);
    status->setObjectName(QStringLiteral("L%1Status").arg(name));
    status->setWordWrap(true);
    status->setFont(ui::tahomaFont(8, true));
    row->addWidget(status, 1);
    busy = new QProgressBar(page);
    busy->setObjectName(QStringLiteral("PB%1").arg(name));
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    busy->setAccessibleName(QStringLiteral("Berechnung läuft"));
    busy->setFixedSize(120, 12);
    busy->hide();
    row->addWidget(busy, 0, Qt::AlignTop);
    column->addLayout(row);
}

template <typename View = QTableView>
View* makeTable(QWidget* parent, const QString& name, QAbstractItemModel* model) {
    auto* view = new View(parent);
    view->setObjectName(name);
    view->setModel(model);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(18);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    view->horizontalHeader()->setHighlightSections(false);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false);
    return view;
}

// A plan's table: every column as wide as its head and its widest figure,
// the room left shared out evenly, so that no column is cut and none sprawls.
class PlanTable : public QTableView {
public:
    using QTableView::QTableView;

    static PlanTable* make(QWidget* parent, const QString& name, WinPlanModel* model) {
        auto* view = makeTable<PlanTable>(parent, name, model);
        view->plan_ = model;
        view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
        view->horizontalHeader()->setStretchLastSection(false);
        connect(model, &QAbstractItemModel::modelReset, view, &PlanTable::spreadColumns);
        connect(model, &QAbstractItemModel::dataChanged, view, &PlanTable::spreadColumns);
        return view;
    }
    // The "Gewinn" column, shown only with quotas.
    void showColumn(int column, bool shown) {
        setColumnHidden(column, !shown);
        spreadColumns();
    }
    void spreadColumns() {
        // A cell's text has the frame of the focus and a grid line beside it.
        const int padding = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
        QHeaderView* header = horizontalHeader();
        std::vector<std::pair<int, int>> widths;
        int natural = 0;
        for (int c = 0; c < header->count(); ++c) {
            if (isColumnHidden(c)) continue;
            int width = header->sectionSizeHint(c);
            for (const QString& text : plan_->widestTexts(c))
                width = std::max(width, fontMetrics().horizontalAdvance(text) + padding);
            widths.emplace_back(c, width);
            natural += width;
        }
        if (widths.empty()) return;
        const int count = static_cast<int>(widths.size());
        const int extra = std::max(0, viewport()->width() - natural);
        for (int i = 0; i < count; ++i)
            header->resizeSection(widths[static_cast<size_t>(i)].first,
                                  widths[static_cast<size_t>(i)].second + extra / count + (i < extra % count ? 1 : 0));
    }

protected:
    bool viewportEvent(QEvent* event) override {
        const bool handled = QTableView::viewportEvent(event);
        if (event->type() == QEvent::Resize) spreadColumns();
        return handled;
    }

private:
    WinPlanModel* plan_ = nullptr;
};

// A weight is typed as a German number: digits and a comma. A key that is
// neither leaves the text, even when it is selected.
class WeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        auto* edit = new ui::FilteredLineEdit(&ui::FilteredLineEdit::quotaFilter, parent,
                                             ui::FilteredLineEdit::Scope::TypedKeys);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->setAccessibleName(QStringLiteral("Gewicht von %1 in Spiel %2")
                                    .arg(index.model()->headerData(index.column(), Qt::Horizontal).toString(),
                                         index.siblingAtColumn(WeightsModel::Match).data().toString()));
        return edit;
    }
};

}  // namespace

QPoint besideWindow(const QRect& main, QSize size, const QRect& screen) {
    constexpr int kGap = 8;
    const int top = std::clamp(main.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()));
    if (main.right() + 1 + kGap + size.width() <= screen.right() + 1) return {main.right() + 1 + kGap, top};
    if (main.left() - kGap - size.width() >= screen.left()) return {main.left() - kGap - size.width(), top};
    // No room beside it: as far right as the screen allows, over the main
    // window's results and not its cross sheet.
    return {std::max(screen.left(), screen.right() + 1 - size.width()), top};
}

TFAnalyse::TFAnalyse(TFGewonnen* main) : ui::WindowFrame(QStringLiteral("FAnalyse"), main), main_(main) {
    setClientSize(QSize(kClientWidth, kClientHeight));
    setResizable(QSize(kMinimumWidth, kMinimumHeight));
    setClosesOnEscape(true);
    // Where the user put it with the position button, else beside the main
    // window, whose cross sheet its figures come from.
    const QString left = objectName() + QStringLiteral("-left");
    if (settings::fileExists() && settings::readInteger(settings::kPosition, left, INT_MIN) != INT_MIN) {
        const WindowPos stored = readWindowPos(objectName());
        placeAt(QPoint(stored.left, stored.top));
    } else if (const QScreen* screen = main->screen()) {
        const QSize decorations = main->frameGeometry().size() - main->size();
        move(besideWindow(main->frameGeometry(), size() + decorations, screen->availableGeometry()));
    }

    ui::TopBar* bar = topBar();
    QToolButton* position = bar->addTitleRow(QStringLiteral("Gewinnplan & Chancen"), QStringLiteral("BPosition"));
    connect(position, &QToolButton::clicked, this, &TFAnalyse::bsPositionClick);
    bar->addEmblem(QStringLiteral("BEmblem"), ui::IconKind::Chart);

    planRun_ = new LatestRun(this);
    liveRun_ = new LatestRun(this);
    reduceRun_ = new LatestRun(this);
    refreshTimer_ = new QTimer(this);
    // Changes that come together (a slip read, the winning row cleared) are worked out once.
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(0);
    connect(refreshTimer_, &QTimer::timeout, this, &TFAnalyse::refresh);

    // The tabs fill the window below its top bar, whatever its size.
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(6, ui::TopBar::kHeight + 6, 6, 6);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("TabsAnalyse"));
    frame->addWidget(tabs_);
    buildTabs();
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { refreshTimer_->start(); });
    // Opened, the keys choose a tab; a Space meant for it does not close the window.
    tabs_->setFocus();

    BetModel& model = main_->model();
    const auto rowsChanged = [this] {
        schedulePlan();
        scheduleLive();
    };
    connect(&model.rows(), &TipDocument::tableChanged, this, rowsChanged);
    connect(&model.rows(), &TipDocument::cellsChanged, this, rowsChanged);
    CrossSheet& sheet = main_->crossColumn().sheet();
    connect(&sheet, &CrossSheet::crossChanged, this, &TFAnalyse::schedulePlan);
    connect(&sheet, &CrossSheet::changed, this, &TFAnalyse::schedulePlan);
    // A plan of the reduced system shown is the old sheet's after any cross.
    connect(&sheet, &CrossSheet::crossChanged, this, &TFAnalyse::showReduce);
    connect(&sheet, &CrossSheet::changed, this, &TFAnalyse::showReduce);
    connect(&model, &BetModel::winningChanged, this, &TFAnalyse::scheduleLive);
    connect(&model, &BetModel::quotaChanged, this, [this] {
        showPlanFigures();
        showLiveFigures();
        reducePlanModel_->setQuotas(main_->model().quotas());
        static_cast<PlanTable*>(GKuerzenPlan)->showColumn(WinPlanModel::Win, reducePlanModel_->hasQuotas());
    });
    connect(&model, &BetModel::matchDayChanged, this, &TFAnalyse::showPairings);
    connect(weightsModel_, &WeightsModel::weightsChanged, this, &TFAnalyse::scheduleLive);
    connect(planRun_, &LatestRun::busyChanged, PBPlan, &QWidget::setVisible);
    connect(liveRun_, &LatestRun::busyChanged, PBLive, &QWidget::setVisible);
    connect(reduceRun_, &LatestRun::busyChanged, PBKuerzen, &QWidget::setVisible);
    fadeWhileBusy(planRun_, this, {GPlan, ChartPlan});
    fadeWhileBusy(liveRun_, this, {GLive, ChartLive});
    showPairings();
    planModel_->setQuotas(model.quotas());
    reducePlanModel_->setQuotas(model.quotas());
    showReduce();
}

TFAnalyse::~TFAnalyse() = default;

void TFAnalyse::buildTabs() {
    // Every tab in its order: its page, built by its own function.
    const auto addPage = [this](const QString& name, const QString& caption, void (TFAnalyse::*build)(QWidget*)) {
        auto* page = new QWidget;
        page->setObjectName(name);
        (this->*build)(page);
        tabs_->addTab(page, caption);
        return page;
    };
    planPage_ = addPage(QStringLiteral("TabGewinnplan"), QStringLiteral("Gewinn&plan"), &TFAnalyse::buildPlanTab);
    livePage_ = addPage(QStringLiteral("TabLive"), QStringLiteral("&Live"), &TFAnalyse::buildLiveTab);
    tabs_->addTab(new FilterTab(main_, weightsModel_), QStringLiteral("&Filter"));
    addPage(QStringLiteral("TabKuerzen"), QStringLiteral("&Kürzen"), &TFAnalyse::buildReduceTab);
}

bool TFAnalyse::showing(const QWidget* page) const { return tabs_->currentWidget() == page; }

void TFAnalyse::buildPlanTab(QWidget* page) {
    auto* column = new QVBoxLayout(page);
    addStatusRow(column, page, QStringLiteral("Plan"), LPlanStatus, PBPlan);

    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(12);
    const auto addFigure = [&](int row, int col, const QString& caption, const QString& name) {
        figures->addWidget(new QLabel(caption, page), row, col * 2);
        auto* value = new QLabel(page);
        value->setObjectName(name);
        value->setFont(ui::tahomaFont(8, true));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        figures->addWidget(value, row, col * 2 + 1);
        return value;
    };
    LSicher = addFigure(0, 0, QStringLiteral("Sicherer Rang:"), QStringLiteral("LSicher"));
    LGewinnMin = addFigure(0, 1, QStringLiteral("Kleinster Gewinn:"), QStringLiteral("LGewinnMin"));
    LGewinnMax = addFigure(1, 1, QStringLiteral("Größter Gewinn:"), QStringLiteral("LGewinnMax"));
    LGewinnMittel = addFigure(2, 1, QStringLiteral("Mittlerer Gewinn:"), QStringLiteral("LGewinnMittel"));
    figures->setColumnStretch(4, 1);
    column->addLayout(figures);

    auto* body = new QHBoxLayout;
    planModel_ = new WinPlanModel(this);
    GPlan = PlanTable::make(page, QStringLiteral("GPlan"), planModel_);
    GPlan->setAccessibleName(QStringLiteral("Gewinnplan"));
    body->addWidget(GPlan, 3);
    ChartPlan = new ui::BarChart(page);
    ChartPlan->setObjectName(QStringLiteral("ChartPlan"));
    ChartPlan->setTitle(QStringLiteral("Ergebnisse nach bestem Rang"));
    body->addWidget(ChartPlan, 2);
    column->addLayout(body, 1);
}

void TFAnalyse::buildLiveTab(QWidget* page) {
    auto* column = new QVBoxLayout(page);
    addStatusRow(column, page, QStringLiteral("Live"), LLiveStatus, PBLive);

    auto* top = new QHBoxLayout;
    auto* slip = new QGridLayout;
    slip->setHorizontalSpacing(10);
    for (int k = 1; k <= kRanks; ++k) {
        auto* header = new QLabel(QStringLiteral("Rang ") + rankName(k), page);
        header->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        header->setFont(ui::tahomaFont(8, true));
        slip->addWidget(header, 0, k);
    }
    slip->addWidget(new QLabel(QStringLiteral("Mindestens eine Reihe\nin diesem Rang oder besser"), page), 1, 0);
    slip->addWidget(new QLabel(QStringLiteral("Erwartete Reihen im Rang"), page), 2, 0);
    for (int k = 1; k <= kRanks; ++k) {
        for (auto [labels, row, name] : {std::tuple{&atLeastLabels_, 1, "LMindestens%1"},
                                         std::tuple{&expectedLabels_, 2, "LErwartet%1"}}) {
            auto* value = new QLabel(page);
            value->setObjectName(QString::fromLatin1(name).arg(k));
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            slip->addWidget(value, row, k);
            (*labels)[static_cast<size_t>(k - 1)] = value;
        }
    }
    slip->addWidget(new QLabel(QStringLiteral("Erwarteter Gewinn"), page), 3, 0);
    LErwarteterGewinn = new QLabel(page);
    LErwarteterGewinn->setObjectName(QStringLiteral("LErwarteterGewinn"));
    LErwarteterGewinn->setFont(ui::tahomaFont(8, true));
    slip->addWidget(LErwarteterGewinn, 3, 1, 1, kRanks);
    slip->setRowStretch(4, 1);
    top->addLayout(slip, 3);
    ChartLive = new ui::BarChart(page);
    ChartLive->setObjectName(QStringLiteral("ChartLive"));
    ChartLive->setTitle(QStringLiteral("Mindestens eine Reihe in Rang …"));
    ChartLive->setMinimumHeight(150);
    top->addWidget(ChartLive, 2);
    column->addLayout(top, 1);

    auto* bottom = new QHBoxLayout;
    auto* rows = new QVBoxLayout;
    auto* rowsCaption = new QLabel(QStringLiteral("&Reihen (ein Klick auf den Kopf einer Spalte sortiert)"), page);
    rows->addWidget(rowsCaption);
    liveModel_ = new LiveRowsModel(this);
    GLive = makeTable(page, QStringLiteral("GLive"), liveModel_);
    GLive->setAccessibleName(QStringLiteral("Reihen und ihre Chancen"));
    GLive->horizontalHeader()->setSortIndicatorShown(true);
    GLive->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    GLive->setSortingEnabled(true);
    GLive->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    GLive->horizontalHeader()->setStretchLastSection(true);
    for (const auto& [column, width] : {std::pair{LiveRowsModel::Number, 50}, std::pair{LiveRowsModel::Hits, 48},
                                        std::pair{LiveRowsModel::Best, 72}})
        GLive->setColumnWidth(column, width);
    for (int column = LiveRowsModel::RankI; column <= LiveRowsModel::RankIV; ++column) GLive->setColumnWidth(column, 50);
    rowsCaption->setBuddy(GLive);
    rows->addWidget(GLive);
    bottom->addLayout(rows, 3);

    auto* weights = new QVBoxLayout;
    auto* weightsCaption = new QLabel(QStringLiteral("&Gewichte der offenen Spiele"), page);
    weights->addWidget(weightsCaption);
    weightsModel_ = new WeightsModel(this);
    GGewichte = makeTable(page, QStringLiteral("GGewichte"), weightsModel_);
    GGewichte->setAccessibleName(QStringLiteral("Gewichte der offenen Spiele"));
    GGewichte->setItemDelegate(new WeightDelegate(GGewichte));
    GGewichte->setSelectionBehavior(QAbstractItemView::SelectItems);
    GGewichte->setEditTriggers(QAbstractItemView::AllEditTriggers);
    weightsCaption->setBuddy(GGewichte);
    weights->addWidget(GGewichte, 1);
    auto* hint = new QLabel(QStringLiteral("Je Ausgang eine Zahl ab 0, etwa 50, 30 und 20; die Chancen sind ihre Anteile."),
                            page);
    hint->setWordWrap(true);
    weights->addWidget(hint);
    QPushButton* equal = ui::makeButton(page, QStringLiteral("BGleich"), QStringLiteral("Gleiche &Chancen"), QRect());
    equal->setFixedHeight(28);
    connect(equal, &QPushButton::clicked, weightsModel_, &WeightsModel::setEqual);
    weights->addWidget(equal);
    bottom->addLayout(weights, 2);
    column->addLayout(bottom, 3);
}

bool TFAnalyse::computingPlan() const { return planRun_->busy(); }
bool TFAnalyse::computingLive() const { return liveRun_->busy(); }
quint64 TFAnalyse::planRuns() const { return planRun_->runs(); }
quint64 TFAnalyse::liveRuns() const { return liveRun_->runs(); }

void TFAnalyse::schedulePlan() {
    planDue_ = true;
    refreshTimer_->start();
}

void TFAnalyse::scheduleLive() {
    liveDue_ = true;
    refreshTimer_->start();
}

void TFAnalyse::showEvent(QShowEvent* event) {
    ui::WindowFrame::showEvent(event);
    refreshTimer_->start();
}

void TFAnalyse::hideEvent(QHideEvent* event) {
    // Nobody looks: the work stops and is done anew when the window is shown.
    if (planRun_->busy()) {
        planRun_->stop();
        planInput_.reset();
        planDue_ = true;
    }
    if (liveRun_->busy()) {
        liveRun_->stop();
        liveInput_.reset();
        liveDue_ = true;
    }
    // No status of a run gone and no button left off.
    if (reduceRun_->busy()) showReduce();
    ui::WindowFrame::hideEvent(event);
}

void TFAnalyse::refresh() {
    if (!isVisible()) return;
    // Only the tab in view is worked out; the other when it is chosen.
    if (showing(planPage_) && planDue_) startPlan();
    if (showing(livePage_) && liveDue_) startLive();
}

void TFAnalyse::startPlan() {
    planDue_ = false;
    auto input = std::make_shared<const PlanInput>(
        PlanInput{tipRowsOf(main_->model().table()), main_->crossColumn().sheet().crosses()});
    // An evaluation writes hit counts into the table; the plan does not read them.
    if (planInput_ && planInput_->crosses == input->crosses && sameRows(planInput_->rows, input->rows)) return;
    planInput_ = input;

    QStringList missing;
    if (input->rows.dataRowCount() == 0)
        missing << QStringLiteral("Die Tabelle enthält keine Tippreihen: Lesen Sie einen Spielschein ein oder "
                                  "entwickeln Sie ein System.");
    if (const QString crosses = missingCrosses(input->crosses, QStringLiteral("Der Gewinnplan braucht"));
        !crosses.isEmpty())
        missing << crosses;
    if (!missing.isEmpty()) {
        planRun_->stop();
        LPlanStatus->setText(missing.join(u'\n'));
        planModel_->setPlan(std::nullopt);
        showPlanFigures();
        emit planShown();
        return;
    }

    LPlanStatus->setText(QStringLiteral("Der Gewinnplan von %1 wird berechnet …").arg(tipRows(input->rows.dataRowCount())));
    planRun_->start<WinPlan>(
        [input](const std::atomic<bool>& stop) { return winPlan(input->rows, input->crosses, &stop); },
        [this, input](const Computed<WinPlan>& computed) {
            // A change since the copy is looked at first: figures of an input gone are not shown.
            if (planDue_ && showing(planPage_)) startPlan();
            if (planInput_ == input) showPlan(computed);
        });
}

void TFAnalyse::showPlan(const Computed<WinPlan>& computed) {
    planModel_->setPlan(computed.value);
    if (computed.value) {
        const WinPlan& plan = *computed.value;
        LPlanStatus->setText(
            QStringLiteral("%1 über %2, %3.")
                .arg(tipRows(planInput_ ? planInput_->rows.dataRowCount() : 0),
                     counted(plan.results, QStringLiteral("Ergebnis"), QStringLiteral("Ergebnisse")),
                     counted(static_cast<long long>(plan.classes.size()), QStringLiteral("verschiedenes Gewinnbild"),
                             QStringLiteral("verschiedene Gewinnbilder"))));
    } else {
        LPlanStatus->setText(computed.error);
    }
    showPlanFigures();
    emit planShown();
}

void TFAnalyse::showPlanFigures() {
    const QuotaTexts& quotas = main_->model().quotas();
    planModel_->setQuotas(quotas);
    const std::optional<WinPlan>& plan = planModel_->plan();
    static_cast<PlanTable*>(GPlan)->showColumn(WinPlanModel::Win, planModel_->hasQuotas());
    if (!plan) {
        for (QLabel* label : {LSicher, LGewinnMin, LGewinnMax, LGewinnMittel}) label->clear();
        ChartPlan->setBars({});
        return;
    }
    LSicher->setText(plan->guaranteedRank == 0 ? QStringLiteral("keiner") : rankName(plan->guaranteedRank));
    if (const std::optional<WinFigures> win = winFigures(*plan, quotas)) {
        LGewinnMin->setText(euros(win->min));
        LGewinnMax->setText(euros(win->max));
        LGewinnMittel->setText(euros(win->mean));
    } else {
        LGewinnMin->setText(kNoQuota);
        LGewinnMax->setText(QStringLiteral("–"));
        LGewinnMittel->setText(QStringLiteral("–"));
    }
    const auto byBest = resultsByBestRank(*plan);
    QList<ui::BarChart::Bar> bars;
    for (int k = 1; k <= kRanks + 1; ++k) {
        const double share = plan->results > 0 ? static_cast<double>(byBest[static_cast<size_t>(k - 1)]) /
                                                     static_cast<double>(plan->results)
                                               : 0.0;
        bars.append({k <= kRanks ? rankName(k) : QStringLiteral("keiner"), share, rankColour(k <= kRanks ? k : 0)});
    }
    ChartPlan->setBars(bars);
}

void TFAnalyse::startLive() {
    liveDue_ = false;
    const BetModel& model = main_->model();
    LiveInput copy;
    copy.rows = tipRowsOf(model.table());
    for (int m = 1; m <= kMatches; ++m) {
        const TipCode code = tipCodeOfText(model.winning(m));
        copy.result[static_cast<size_t>(m - 1)] = code >= kTipOne && code <= kTipTwo ? code : kTipEmpty;
    }
    weightsModel_->showOpen(copy.result);
    copy.weights = weightsModel_->weights();
    if (const std::optional<int> match = weightsModel_->invalidOpenMatch()) {
        // Nothing is worked out from weights that give no chances, and no
        // figures of weights gone stay on screen.
        liveRun_->stop();
        liveInput_.reset();
        LLiveStatus->setText(QStringLiteral("Die Gewichte von Spiel %1 geben keine Chancen (rot markiert): je Ausgang "
                                            "eine Zahl ab 0, nicht alle 0. Bis sie stimmen, wird nichts berechnet.")
                                 .arg(*match));
        live_.reset();
        liveModel_->setRows({});
        showLiveFigures();
        emit liveShown();
        return;
    }
    if (liveInput_ && liveInput_->result == copy.result && liveInput_->weights == copy.weights &&
        sameRows(liveInput_->rows, copy.rows))
        return;
    auto input = std::make_shared<const LiveInput>(std::move(copy));
    liveInput_ = input;

    if (input->rows.dataRowCount() == 0) {
        liveRun_->stop();
        LLiveStatus->setText(QStringLiteral("Die Tabelle enthält keine Tippreihen."));
        live_.reset();
        liveModel_->setRows({});
        showLiveFigures();
        emit liveShown();
        return;
    }
    LLiveStatus->setText(QStringLiteral("Die Chancen von %1 werden berechnet …").arg(tipRows(input->rows.dataRowCount())));
    liveRun_->start<LiveChances>(
        [input](const std::atomic<bool>& stop) {
            return liveChances(input->rows, input->result, input->weights, &stop);
        },
        [this, input](const Computed<LiveChances>& computed) {
            if (liveDue_ && showing(livePage_)) startLive();
            if (liveInput_ == input) showLive(computed);
        });
}

void TFAnalyse::showLive(const Computed<LiveChances>& computed) {
    live_ = computed.value;
    if (!live_) {
        LLiveStatus->setText(computed.error);
        liveModel_->setRows({});
    } else {
        std::vector<int> open;
        for (int m = 1; m <= kMatches; ++m)
            if (liveInput_ && liveInput_->result[static_cast<size_t>(m - 1)] == kTipEmpty) open.push_back(m);
        const QString rows = tipRows(static_cast<long long>(live_->rows.size()));
        if (open.size() == kMatches)
            LLiveStatus->setText(QStringLiteral("%1; noch ist keines der 13 Spiele entschieden.").arg(rows));
        else if (open.empty())
            LLiveStatus->setText(QStringLiteral("Alle 13 Spiele sind entschieden; %1.").arg(rows));
        else
            LLiveStatus->setText(QStringLiteral("%1, %2 offen: %3.")
                                     .arg(rows,
                                          open.size() == 1 ? QStringLiteral("ein Spiel")
                                                           : QStringLiteral("%1 Spiele").arg(open.size()),
                                          matchList(open)));
        liveModel_->setRows(std::move(live_->rows));
        live_->rows.clear();
    }
    showLiveFigures();
    emit liveShown();
}

void TFAnalyse::showLiveFigures() {
    if (!live_) {
        for (QLabel* label : atLeastLabels_) label->clear();
        for (QLabel* label : expectedLabels_) label->clear();
        LErwarteterGewinn->clear();
        ChartLive->setBars({});
        return;
    }
    QList<ui::BarChart::Bar> bars;
    for (int k = 1; k <= kRanks; ++k) {
        const double atLeast = live_->atLeast[static_cast<size_t>(k - 1)];
        atLeastLabels_[static_cast<size_t>(k - 1)]->setText(formatShare(atLeast));
        expectedLabels_[static_cast<size_t>(k - 1)]->setText(formatAmount(live_->expected[static_cast<size_t>(k - 1)]));
        bars.append({k == 1 ? rankName(k) : QStringLiteral("bis ") + rankName(k), atLeast, rankColour(k)});
    }
    ChartLive->setBars(bars);
    const std::optional<double> win = expectedWin(*live_, main_->model().quotas());
    LErwarteterGewinn->setText(win ? euros(*win) : kNoQuota);
}

void TFAnalyse::showPairings() {
    std::array<QString, kMatches> captions;
    for (int m = 1; m <= kMatches; ++m) {
        const Pairing& pairing = main_->model().pairing(m);
        if (!pairing.home.isEmpty() || !pairing.away.isEmpty())
            captions[static_cast<size_t>(m - 1)] = pairing.home + QStringLiteral(" – ") + pairing.away;
    }
    weightsModel_->setPairingCaptions(captions);
}

void TFAnalyse::buildReduceTab(QWidget* page) {
    auto* column = new QVBoxLayout(page);
    addStatusRow(column, page, QStringLiteral("Kuerzen"), LKuerzenStatus, PBKuerzen);
    auto* explanation = new QLabel(
        QStringLiteral("Ein gekürztes System spielt weniger Reihen als das Vollsystem und garantiert dafür: Liegen "
                       "alle Ergebnisse in Ihren Kreuzen, hat mindestens eine Reihe so viele Richtige."),
        page);
    explanation->setWordWrap(true);
    column->addWidget(explanation);

    auto* choices = new QGridLayout;
    choices->setHorizontalSpacing(18);
    for (const auto& [col, caption] : {std::pair{1, "Tippreihen"}, std::pair{2, "Anteil am Vollsystem"}}) {
        auto* header = new QLabel(QString::fromUtf8(caption), page);
        header->setFont(ui::tahomaFont(8, true));
        header->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        choices->addWidget(header, 0, col);
    }
    guaranteeGroup_ = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        const int guarantee = kHighestGuarantee - i;
        auto* choice = new QRadioButton(QStringLiteral("Garantie %1 Richtige (Rang %2)")
                                            .arg(guarantee)
                                            .arg(rankName(kMatches + 1 - guarantee)),
                                        page);
        choice->setObjectName(QStringLiteral("RB%1").arg(guarantee));
        guaranteeGroup_->addButton(choice, guarantee);
        choices->addWidget(choice, i + 1, 0);
        for (int col = 1; col <= 2; ++col) {
            auto* value = new QLabel(page);
            value->setObjectName((col == 1 ? QStringLiteral("L%1Reihen") : QStringLiteral("L%1Anteil")).arg(guarantee));
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            choices->addWidget(value, i + 1, col);
            (col == 1 ? reduceRows_ : reduceShares_)[static_cast<size_t>(i)] = value;
        }
    }
    guaranteeGroup_->button(kHighestGuarantee)->setChecked(true);
    choices->addWidget(new QLabel(QStringLiteral("Vollsystem"), page), 4, 0);
    LVollReihen = new QLabel(page);
    LVollReihen->setObjectName(QStringLiteral("LVollReihen"));
    LVollReihen->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    choices->addWidget(LVollReihen, 4, 1);
    choices->setColumnStretch(3, 1);
    column->addLayout(choices);
    connect(guaranteeGroup_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) showReduce();
    });

    auto* buttons = new QHBoxLayout;
    BKuerzenPlan = ui::makeButton(page, QStringLiteral("BKuerzenPlan"), QStringLiteral("Gewinnplan &berechnen"), QRect());
    BKuerzenAbwickeln = ui::makeButton(page, QStringLiteral("BKuerzenAbwickeln"),
                                       QStringLiteral("In die Tabelle &abwickeln"), QRect());
    for (QPushButton* button : {BKuerzenPlan, BKuerzenAbwickeln}) {
        button->setFixedSize(170, 28);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    column->addLayout(buttons);
    connect(BKuerzenPlan, &QPushButton::clicked, this, &TFAnalyse::BKuerzenPlanClick);
    connect(BKuerzenAbwickeln, &QPushButton::clicked, this, &TFAnalyse::BKuerzenAbwickelnClick);

    auto* sure = new QHBoxLayout;
    sure->addWidget(new QLabel(QStringLiteral("Sicherer Rang:"), page));
    LKuerzenSicher = new QLabel(page);
    LKuerzenSicher->setObjectName(QStringLiteral("LKuerzenSicher"));
    LKuerzenSicher->setFont(ui::tahomaFont(8, true));
    sure->addWidget(LKuerzenSicher, 1);
    column->addLayout(sure);
    reducePlanModel_ = new WinPlanModel(this);
    GKuerzenPlan = PlanTable::make(page, QStringLiteral("GKuerzenPlan"), reducePlanModel_);
    GKuerzenPlan->setAccessibleName(QStringLiteral("Gewinnplan des gekürzten Systems"));
    column->addWidget(GKuerzenPlan, 1);
}

int TFAnalyse::chosenGuarantee() const { return guaranteeGroup_->checkedId(); }

void TFAnalyse::showReduce() {
    const CrossSheet& sheet = main_->crossColumn().sheet();
    const QString missing = missingCrosses(sheet.crosses(), QStringLiteral("Ein gekürztes System braucht"));
    const bool complete = missing.isEmpty() && sheet.counts();
    reduceRun_->stop();
    showReducePlan(std::nullopt);
    ui::setEnabledKeepingFocus(BKuerzenPlan, complete);
    BKuerzenAbwickeln->setEnabled(complete);
    if (!complete) {
        LKuerzenStatus->setText(missing);
        for (QLabel* label : reduceRows_) label->clear();
        for (QLabel* label : reduceShares_) label->clear();
        LVollReihen->clear();
        return;
    }
    const SheetCounts& counts = *sheet.counts();
    LKuerzenStatus->setText(QStringLiteral("Der Kreuzschein: %1 Bänke, %2 Zweiwege und %3 Dreiwege.")
                                .arg(counts.bankers)
                                .arg(counts.zw)
                                .arg(counts.dw));
    const long long full = sheet.fullSystemRows();
    LVollReihen->setText(formatCount(full));
    for (int i = 0; i < 3; ++i) {
        const long long rows = reducedRowCount(counts.zw, counts.dw, kHighestGuarantee - i);
        reduceRows_[static_cast<size_t>(i)]->setText(formatCount(rows));
        reduceShares_[static_cast<size_t>(i)]->setText(formatShare(static_cast<double>(rows) / static_cast<double>(full)));
    }
}

void TFAnalyse::BKuerzenPlanClick() {
    const CrossSheet& sheet = main_->crossColumn().sheet();
    const int guarantee = chosenGuarantee();
    const SystemStructure structure = sheet.structure();
    const OutcomeCrosses crosses = sheet.crosses();
    showReducePlan(std::nullopt);
    LKuerzenStatus->setText(QStringLiteral("Der Gewinnplan des Systems mit Garantie %1 wird berechnet …").arg(guarantee));
    // Off until the plan is there: another press would only begin it anew.
    ui::setEnabledKeepingFocus(BKuerzenPlan, false);
    reduceRun_->start<WinPlan>(
        [structure, crosses, guarantee](const std::atomic<bool>& stop) -> std::optional<WinPlan> {
            const std::optional<TipTable> rows = expandReduced(structure, guarantee);
            if (!rows) return std::nullopt;
            return winPlan(*rows, crosses, &stop);
        },
        [this, guarantee](const Computed<WinPlan>& computed) {
            showReduce();
            if (!computed.value) {
                LKuerzenStatus->setText(computed.error);
                return;
            }
            LKuerzenStatus->setText(QStringLiteral("Gewinnplan des Systems mit Garantie %1 über %2 Ergebnisse.")
                                        .arg(guarantee)
                                        .arg(formatCount(computed.value->results)));
            showReducePlan(computed.value);
        });
}

void TFAnalyse::showReducePlan(const std::optional<WinPlan>& plan) {
    reducePlanModel_->setPlan(plan);
    static_cast<PlanTable*>(GKuerzenPlan)->showColumn(WinPlanModel::Win, reducePlanModel_->hasQuotas());
    if (!plan)
        LKuerzenSicher->clear();
    else
        LKuerzenSicher->setText(plan->guaranteedRank == 0 ? QStringLiteral("keiner") : rankName(plan->guaranteedRank));
}

void TFAnalyse::BKuerzenAbwickelnClick() {
    const int guarantee = chosenGuarantee();
    ui::runGuarded(this, [&] { developReduced(main_->crossColumn().sheet(), guarantee, main_->model().rows()); });
}

void TFAnalyse::bsPositionClick() {
    ui::runGuarded(this, [&] { SaveWindowPos(objectName(), x(), y()); });
}

}  // namespace korbisto::app
