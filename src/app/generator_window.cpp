#include "generator_window.h"

#include "about_window.h"
#include "screenshot_window.h"

#include "core/german.h"
#include "core/paths.h"
#include "core/text_helpers.h"
#include "files/pattern_file.h"
#include "files/settings_file.h"
#include "files/slip_file.h"
#include "files/text_file.h"
#include "ui/file_dialogs.h"
#include "ui/filtered_edit.h"
#include "ui/icons.h"
#include "ui/keyboard.h"
#include "ui/labels.h"
#include "ui/message_boxes.h"
#include "ui/style.h"
#include "ui/text_metrics.h"
#include "ui/tip_grid.h"
#include "ui/wrap_button.h"

#include <QBrush>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include <chrono>

namespace korbisto::app {

namespace {

using namespace std::chrono_literals;

constexpr int kPanel1Width = 153;
constexpr int kButtonWidth = 39;
constexpr int kButtonHeight = 26;
constexpr int kButtonsLeft = 27;
constexpr int kButtonsTop = 45;
constexpr int kMatchStep = kButtonHeight + 2;
// The number panels sit level with their row of buttons.
constexpr int kPanel2Top = kButtonsTop - 4;
constexpr int kRightLeft = kPanel1Width + 8;
// Between the export buttons and the grids a strip stays free: the
// screenshot stamps the program's name there.
constexpr int kGridsTop = 104;
constexpr int kCellWidth = 30;
constexpr int kNumberWidth = 40;
constexpr int kG1RowHeight = 16;
constexpr int kG2RowHeight = 17;
// The design's 25 grid rows: the header and 24 empty rows.
constexpr int kDesignRows = 24;
// Work between two looks at the event loop: the window repaints and takes
// clicks in between.
constexpr auto kSlice = 10ms;

const char* const kLegend[] = {"out", "Fav I ", "Fav I I", "Fav III"};
// The levels as a screen reader says them.
const char* const kLevelNames[] = {"Stufe out", "Stufe Fav I", "Stufe Fav II", "Stufe Fav III"};

QList<int> gridWidths() {
    QList<int> widths{kNumberWidth};
    for (int m = 1; m <= kMatches; ++m) widths << kCellWidth;
    return widths;
}

}  // namespace

TBZahl::TBZahl(int position, QWidget* parent) : QPushButton(parent), position_(position) {
    setObjectName(QStringLiteral("but%1").arg(position));
    setText(QString::number(TippZiffer[static_cast<size_t>((position - 1) % 3 + 1)]));
    setAccessibleName(QStringLiteral("Spiel %1: %2").arg((position - 1) / 3 + 1).arg(text()));
    setFont(ui::tahomaFont(10, true));
    setCursor(Qt::PointingHandCursor);
    showLevel(0);
}

void TBZahl::showLevel(int level) {
    if (level >= 0 && level <= kMaxLevel) setAccessibleDescription(QString::fromLatin1(kLevelNames[level]));
    setProperty("level", level);
    style()->unpolish(this);
    style()->polish(this);
    update();
}

void TBZahl::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit pressedWith(event->buttons());
}

void TBZahl::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Space && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
        // Like a press of the mouse, which does not repeat while held.
        if (!event->isAutoRepeat()) emit pressedWith(modifiers == Qt::ShiftModifier ? Qt::RightButton : Qt::LeftButton);
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        // At the pattern's edge the focus stays; it never wanders off.
        if (const int target = ui::arrowTarget(position_ - 1, event->key(), 3, kOutcomeCrosses); target >= 0) {
            if (auto* next = parentWidget()->findChild<TBZahl*>(QStringLiteral("but%1").arg(target + 1),
                                                                Qt::FindDirectChildrenOnly))
                next->setFocus(Qt::OtherFocusReason);
        }
        event->accept();
        return;
    default:
        break;
    }
    QPushButton::keyPressEvent(event);
}

OutcomeCountModel::OutcomeCountModel(const PatternLevels& levels, QObject* parent)
    : ui::GridModel(kMatches + 1, parent), levels_(levels) {}

QColor OutcomeCountModel::levelColour(int level) {
    switch (level) {
    case 1:
        return {183, 220, 189};
    case 2:
        return {143, 255, 121};
    case 3:
        return {92, 221, 189};
    default:
        return {243, 243, 243};
    }
}

void OutcomeCountModel::setCounts(const OutcomeCounts& counts) {
    counts_ = counts;
    cellsChanged();
}

void OutcomeCountModel::setPadding(const QFont& font, int width) {
    outcomes_.clear();
    for (int c = 1; c <= 3; ++c) outcomes_ << ui::PadText(QString::fromLatin1(TippText[static_cast<size_t>(c)]), width, font);
    cellsChanged();
}

int OutcomeCountModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QVariant OutcomeCountModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    const int column = index.column();
    // Row c is the outcome column c of every match.
    const int c = index.row() + 1;
    const auto position = static_cast<size_t>(outcomeIndex(std::max(column, 1), c));
    switch (role) {
    case Qt::DisplayRole:
        if (column == 0) return outcomes_.value(c - 1);
        return counts_[position] >= 1 ? QString::number(counts_[position]) : QString();
    case Qt::BackgroundRole:
        return QBrush(column == 0 ? ui::colours::fixedCell : levelColour(levels_[position]));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(column == 0 ? Qt::AlignLeft : Qt::AlignHCenter));
    default:
        return QVariant();
    }
}

TFKick::TFKick(QWidget* parent) : ui::WindowFrame(QStringLiteral("FKick"), parent), rows_(kDesignRows) {
    FormCreate();
}

// A run still going when the program ends just ends with it.
TFKick::~TFKick() = default;

void TFKick::FormCreate() {
    setClientSize(QSize(kClientWidth, kClientHeight));
    setClosesOnEscape(true);
    const WindowPos stored = readWindowPos(objectName());
    placeAt(QPoint(stored.left, stored.top));
    slipFolder_ = appPaths().SlipFolder;
    seeds_ = clockSeeds();

    buildTopBar();
    PFoto = new QWidget(this);
    PFoto->setObjectName(QStringLiteral("PFoto"));
    PFoto->setAttribute(Qt::WA_StyledBackground);
    PFoto->setGeometry(0, ui::TopBar::kHeight, kClientWidth, kClientHeight - ui::TopBar::kHeight);
    buildPatternPanel();
    buildRunControls();
    buildGrids();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kStopNoticeMs);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &TFKick::Timer1Timer);
    slicer_ = new QTimer(this);
    slicer_->setInterval(0);
    connect(slicer_, &QTimer::timeout, this, &TFKick::runSlice);

    BQOpen13->setEnabled(QFileInfo::exists(patternFilePath()));
}

void TFKick::buildTopBar() {
    ui::TopBar* bar = topBar();
    QToolButton* position =
        bar->addTitleRow(QStringLiteral("Fußball ist auch Zufall"), QStringLiteral("bsSkinSpeedButton13"));
    connect(position, &QToolButton::clicked, this, &TFKick::bsSkinSpeedButton13Click);
    QToolButton* about =
        bar->addIconButton(QStringLiteral("bsSkinSpeedButton5"), ui::IconKind::Info, QStringLiteral("Über das Programm"));
    connect(about, &QToolButton::clicked, this, &TFKick::bsSkinSpeedButton5Click);
}

void TFKick::buildPatternPanel() {
    Panel1 = new QWidget(PFoto);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAttribute(Qt::WA_StyledBackground);
    Panel1->setGeometry(0, 0, kPanel1Width, PFoto->height());

    const QFont normal = ui::tahomaFont(8);
    const QFont bold = ui::tahomaFont(8, true);
    ui::makeLabel(Panel1, QStringLiteral("Kombinationen:"), QRect(6, 4, 82, 16), normal);
    LKombis = ui::makeLabel(Panel1, QStringLiteral("0"), QRect(88, 4, 62, 16), bold, Qt::AlignLeft | Qt::AlignVCenter,
                            QStringLiteral("LKombis"));
    ui::makeLabel(Panel1, QStringLiteral("ZW:"), QRect(6, 21, 22, 16), normal);
    LZW = ui::makeLabel(Panel1, QStringLiteral("0"), QRect(28, 21, 20, 16), bold, Qt::AlignLeft | Qt::AlignVCenter,
                        QStringLiteral("LZW"));
    ui::makeLabel(Panel1, QStringLiteral("DW:"), QRect(50, 21, 22, 16), normal);
    LDW = ui::makeLabel(Panel1, QStringLiteral("0"), QRect(72, 21, 20, 16), bold, Qt::AlignLeft | Qt::AlignVCenter,
                        QStringLiteral("LDW"));
    ui::makeLabel(Panel1, QStringLiteral("Bänke:"), QRect(94, 21, 36, 16), normal);
    LBaenke = ui::makeLabel(Panel1, QStringLiteral("0"), QRect(130, 21, 22, 16), bold,
                            Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("LBaenke"));

    Panel2 = new QWidget(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(3, kPanel2Top, 22, kMatches * kMatchStep);
    for (int i = 1; i <= kMatches; ++i) {
        // TPNr: the match number beside its row of buttons.
        ui::makeLabel(Panel2, QString::number(i), QRect(1, (i - 1) * kMatchStep + 7, 20, 20), ui::calibriFont(8, true),
                      Qt::AlignCenter, QStringLiteral("PNr%1").arg(i));
        for (int j = 1; j <= 3; ++j) {
            const int k = outcomeIndex(i, j) + 1;
            auto* button = new TBZahl(k, Panel1);
            button->setGeometry(kButtonsLeft + (j - 1) * (kButtonWidth + 1), kButtonsTop + (i - 1) * kMatchStep,
                                kButtonWidth, kButtonHeight);
            connect(button, &TBZahl::pressedWith, this,
                    [this, button](Qt::MouseButtons buttons) { BMusterMouseDown(button, buttons); });
            PatternButton[static_cast<size_t>(k - 1)] = button;
        }
    }

    const int legendTop = kButtonsTop + kMatches * kMatchStep + 3;
    for (int level = 0; level <= kMaxLevel; ++level)
        ui::makeLabel(Panel1, QString::fromLatin1(kLegend[level]), QRect(3 + level * 37, legendTop, 36, 18),
                      ui::calibriFont(8, true), Qt::AlignCenter, QStringLiteral("LLegende%1").arg(level));

    const int buttonsTop = legendTop + 26;
    BQOpen13 = ui::makeToolButton(Panel1, QStringLiteral("BQOpen13"), ui::IconKind::OpenFolder, QString(),
                                  QStringLiteral("Muster laden"));
    BQOpen13->setGeometry(kButtonsLeft + 3, buttonsTop, 32, 32);
    BQOpen13->setEnabled(false);
    connect(BQOpen13, &QToolButton::clicked, this, &TFKick::BQOpen13Click);
    QToolButton* save = ui::makeToolButton(Panel1, QStringLiteral("bsSkinSpeedButton1"), ui::IconKind::Save, QString(),
                                           QStringLiteral("Muster speichern"));
    save->setGeometry(kButtonsLeft + kButtonWidth + 4, buttonsTop, 32, 32);
    connect(save, &QToolButton::clicked, this, &TFKick::bsSkinSpeedButton1Click);
    QToolButton* reset = ui::makeToolButton(Panel1, QStringLiteral("bsSkinSpeedButton3"), ui::IconKind::Eraser,
                                            QString(), QStringLiteral("Muster zurücksetzen"));
    reset->setGeometry(kButtonsLeft + 2 * (kButtonWidth + 1) + 3, buttonsTop, 32, 32);
    connect(reset, &QToolButton::clicked, this, &TFKick::bsSkinSpeedButton3Click);
}

void TFKick::buildRunControls() {
    const QFont normal = ui::tahomaFont(8);
    const QFont bold = ui::tahomaFont(8, true);
    const int left = kRightLeft;

    ui::makeLabel(PFoto, QStringLiteral("Gewünschte Reihenanzahl:"), QRect(left, 6, 84, 32), bold)->setWordWrap(true);
    eAnz = new ui::FilteredLineEdit(&ui::FilteredLineEdit::digitFilter, PFoto, ui::FilteredLineEdit::Scope::TypedKeys);
    eAnz->setObjectName(QStringLiteral("eAnz"));
    eAnz->setGeometry(left + 88, 10, 52, 24);
    eAnz->setMaxLength(5);
    eAnz->setAlignment(Qt::AlignCenter);
    eAnz->setFont(ui::tahomaFont(9, true));
    eAnz->setTextFromProgram(QStringLiteral("120"));
    eAnz->setAccessibleName(QStringLiteral("Gewünschte Reihenanzahl"));

    bsSkinSpeedButton2 =
        ui::makeButton(PFoto, QStringLiteral("bsSkinSpeedButton2"), QStringLiteral("Reihen bilden"), QRect(left + 146, 6, 110, 32));
    bsSkinSpeedButton2->setFont(bold);
    connect(bsSkinSpeedButton2, &QPushButton::clicked, this, &TFKick::bsSkinSpeedButton2Click);
    // Enter where the number was typed starts the run, as the button does.
    connect(eAnz, &QLineEdit::returnPressed, this, &TFKick::bsSkinSpeedButton2Click);
    BStop = ui::makeToolButton(PFoto, QStringLiteral("BStop"), ui::IconKind::Stop, QString(),
                               QStringLiteral("Reihenbildung anhalten"));
    BStop->setGeometry(left + 260, 6, 32, 32);
    BStop->setEnabled(false);
    connect(BStop, &QToolButton::clicked, this, &TFKick::BStopClick);
    LHinweis = ui::makeLabel(PFoto, QStringLiteral("Prozess gestoppt"), QRect(left + 298, 6, kClientWidth - left - 304, 32),
                             bold, Qt::AlignCenter, QStringLiteral("LHinweis"));
    LHinweis->hide();

    auto addButton = [&](const QString& name, const QString& caption, int x, int width, void (TFKick::*handler)()) {
        QPushButton* button = ui::makeButton(PFoto, name, caption, QRect(left + x, 46, width, 34));
        connect(button, &QPushButton::clicked, this, handler);
    };
    addButton(QStringLiteral("bsSkinSpeedButton9"), QStringLiteral("Abbild des Tipps"), 0, 84,
              &TFKick::bsSkinSpeedButton9Click);
    addButton(QStringLiteral("bsSkinSpeedButton7"), QStringLiteral("Reihen speichern..."), 88, 96,
              &TFKick::bsSkinSpeedButton7Click);
    QToolButton* csv = ui::makeToolButton(PFoto, QStringLiteral("bsSkinSpeedButton4"), ui::IconKind::Csv, QString(),
                                          QStringLiteral("Als WestLotto-Datei (CSV) speichern"));
    csv->setGeometry(left + 188, 46, 34, 34);
    connect(csv, &QToolButton::clicked, this, &TFKick::bsSkinSpeedButton4Click);
    addButton(QStringLiteral("bsSkinSpeedButton11"), QStringLiteral("In Zwischen- ablage"), 226, 104,
              &TFKick::bsSkinSpeedButton11Click);

    const int fileLeft = left + 336;
    ui::makeLabel(PFoto, QStringLiteral("Datei"), QRect(fileLeft, 46, kClientWidth - 6 - fileLeft, 14), bold);
    LDatei2 = ui::makeElidedLabel(PFoto, QRect(fileLeft, 61, kClientWidth - 6 - fileLeft, 19), normal,
                                  QStringLiteral("LDatei2"));
}

void TFKick::buildGrids() {
    const QFont gridFont = ui::tahomaFont(8);
    const QList<int> widths = gridWidths();

    g1 = new ui::TipGridView(PFoto);
    g1->setObjectName(QStringLiteral("g1"));
    g1->setAccessibleName(QStringLiteral("Gebildete Tippreihen"));
    g1->verticalScrollBar()->setObjectName(QStringLiteral("bsSkinScrollBar1"));
    g1->setFont(gridFont);
    g1->horizontalHeader()->setFont(gridFont);
    g1Model_ = new ui::TipGridModel(kMatches + 1, this);
    g1Model_->setDocument(&rows_);
    g1->setModel(g1Model_);
    g1->setGeometryOfCells(widths, kG1RowHeight);
    // InitRowGridHeaders
    QStringList headers{ui::PadText(QStringLiteral("Reihe"), kNumberWidth, *g1)};
    for (int i = 1; i <= kMatches; ++i) headers << ui::PadNumber(i, kCellWidth, *g1);
    g1Model_->setHeaderTexts(headers);
    g1Model_->setNumberPadding(gridFont, 36);
    constexpr int kG1Rows = 17;
    g1->setGeometry(kRightLeft, kGridsTop, g1->fullWidth(), kG1Rows * (kG1RowHeight + 1) + 2);

    g2 = new ui::TipGridView(PFoto);
    g2->setObjectName(QStringLiteral("g2"));
    g2->setAccessibleName(QStringLiteral("Häufigkeit der Ergebnisse"));
    g2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g2->setFont(gridFont);
    g2->horizontalHeader()->setFont(gridFont);
    g2Model_ = new OutcomeCountModel(levels_, this);
    g2->setModel(g2Model_);
    g2->setGeometryOfCells(widths, kG2RowHeight);
    // InitCountGridHeaders
    headers = QStringList{ui::PadText(QStringLiteral("1 0 2"), kNumberWidth, *g2)};
    for (int i = 1; i <= kMatches; ++i) headers << ui::PadNumber(i, kCellWidth, *g2);
    g2Model_->setHeaderTexts(headers);
    g2Model_->setPadding(gridFont, kNumberWidth);
    int g2Width = 2 * g2->frameWidth();
    for (int w : widths) g2Width += w + 1;
    const int g2Height = 4 * (kG2RowHeight + 1) + 2;
    g2->setGeometry(kRightLeft, PFoto->height() - 8 - g2Height, g2Width, g2Height);
}

void TFKick::BMusterMouseDown(TBZahl* button, Qt::MouseButtons buttons) {
    const int k = button->position();
    std::int32_t& level = levels_[static_cast<size_t>(k - 1)];
    if (buttons & Qt::RightButton)
        level = level <= 0 ? kMaxLevel : level - 1;
    else if (buttons & Qt::LeftButton)
        level = level >= kMaxLevel ? 0 : level + 1;
    ApplyLevelSkin(k);
    KombisAnzeigen();
}

void TFKick::ApplyLevelSkin(int k) {
    const int level = levels_[static_cast<size_t>(k - 1)];
    if (level >= 0 && level <= kMaxLevel) PatternButton[static_cast<size_t>(k - 1)]->showLevel(level);
    // The count grid shows the levels as they are now.
    g2Model_->cellsChanged();
}

void TFKick::KombisAnzeigen() {
    const PatternCounts counts = countPattern(levels_);
    LKombis->setText(formatCount(counts.combinations));
    LZW->setText(QString::number(counts.zw));
    LDW->setText(QString::number(counts.dw));
    LBaenke->setText(QString::number(counts.bankers));
}

void TFKick::showAllLevels() {
    for (int k = 1; k <= kOutcomeCrosses; ++k) ApplyLevelSkin(k);
    KombisAnzeigen();
}

void TFKick::bsSkinSpeedButton3Click() {
    levels_.fill(0);
    for (TBZahl* button : PatternButton) button->showLevel(0);
    for (QLabel* label : {LKombis, LZW, LDW, LBaenke}) label->setText(QStringLiteral("0"));
    g2Model_->cellsChanged();
}

void TFKick::bsSkinSpeedButton1Click() {
    ui::runGuarded(this, [&] {
        SavePattern(patternFilePath(), levels_);
        BQOpen13->setEnabled(true);
    });
}

void TFKick::BQOpen13Click() {
    ui::runGuarded(this, [&] {
        const PatternLevels before = levels_;
        try {
            LoadPattern(patternFilePath(), levels_);
        } catch (...) {
            // The lines before the one that is no number have been read.
            if (levels_ != before) showAllLevels();
            throw;
        }
        showAllLevels();
    });
}

void TFKick::bsSkinSpeedButton2Click() {
    // One run at a time: a second would throw away the rows of the first.
    if (run_) return;
    ui::runGuarded(this, [&] {
        if (const auto match = firstMatchWithoutSelection(levels_)) {
            ui::showInformation(this, missingSelectionMessage(*match));
            return;
        }
        LHinweis->hide();
        if (eAnz->text().isEmpty()) eAnz->setTextFromProgram(QStringLiteral("72"));
        // Pasted text that is no number ends here, before anything runs.
        const int requested = StrToInt(eAnz->text());
        run_ = std::make_unique<GeneratorRun>(levels_, requested, seeds_);
        BStop->setEnabled(true);
        bsSkinSpeedButton2->setEnabled(false);
        slicer_->start();
    });
}

void TFKick::BStopClick() {
    if (run_) run_->stop();
}

void TFKick::Timer1Timer() {
    LHinweis->hide();
    Timer1->stop();
}

void TFKick::runSlice() {
    if (!run_) {
        slicer_->stop();
        return;
    }
    bool more = false;
    ui::runGuarded(this, [&] { more = run_->advance(kSlice); });
    if (!more) endRun();
}

void TFKick::endRun() {
    slicer_->stop();
    const GeneratorRun::State state = run_->state();
    if (state == GeneratorRun::State::Stopped || state == GeneratorRun::State::Exhausted) {
        LHinweis->show();
        Timer1->start();
    }
    // The keys that started the run (and could stop it) start the next one.
    const bool stopHadFocus = BStop->hasFocus();
    BStop->setEnabled(false);
    rows_.replaceRows(run_->table());
    g2Model_->setCounts(run_->outcomeCounts());
    run_.reset();
    bsSkinSpeedButton2->setEnabled(true);
    if (stopHadFocus) bsSkinSpeedButton2->setFocus();
    g1->scrollToTop();
}

void TFKick::exportRows(const ui::FileDialogRequest& request, QChar separator) {
    ui::runGuarded(this, [&] {
        checkCanSave(rows_);
        const QString path = ui::chooseFile(this, request);
        if (path.isEmpty()) return;
        // The rows shown, never those of a run still going.
        saveRowsText(path, rows_.table(), separator);
        LDatei2->setFullText(QFileInfo(path).fileName());
    });
}

void TFKick::bsSkinSpeedButton7Click() {
    auto request = ui::FileDialogRequest::save(QStringLiteral("Tippreihen-Datei speichern"),
                                               QStringLiteral("Tippeihen-Datei"), QStringLiteral("*.txt"),
                                               QStringLiteral("txt"), slipFolder_);
    request.overwritePrompt = false;
    exportRows(request, u',');
}

void TFKick::bsSkinSpeedButton4Click() {
    auto request = ui::FileDialogRequest::save(QStringLiteral("WestLotto-Datei speichern"),
                                               QStringLiteral("WestLotto-Datei"), QStringLiteral("*.csv"),
                                               QStringLiteral("csv"), slipFolder_);
    request.overwritePrompt = false;
    exportRows(request, u';');
}

void TFKick::bsSkinSpeedButton11Click() {
    QGuiApplication::clipboard()->setText(exportRowsText(rows_.table(), u','));
}

void TFKick::bsSkinSpeedButton9Click() {
    const QString name = LDatei2->fullText();
    CaptureControl(PFoto, name.left(std::max<qsizetype>(0, name.size() - 4)), 0, 210, 406);
}

void TFKick::bsSkinSpeedButton5Click() { showAboutWindow(this); }

void TFKick::bsSkinSpeedButton13Click() {
    ui::runGuarded(this, [&] { SaveWindowPos(objectName(), x(), y()); });
}

}  // namespace korbisto::app
