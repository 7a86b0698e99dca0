#include "main_window.h"

#include "about_window.h"
#include "analysis_window.h"
#include "entry_window.h"
#include "generator_window.h"
#include "match_day_window.h"
#include "pictures.h"
#include "screenshot_window.h"
#include "sheet_view.h"
#include "update_window.h"
#include "web_links.h"
#include "win_table.h"
#include "winning_frame.h"

#include "core/clock.h"
#include "core/error.h"
#include "core/german.h"
#include "core/paths.h"
#include "files/match_day_file.h"
#include "files/settings_file.h"
#include "files/slip_file.h"
#include "files/structure_file.h"
#include "files/text_file.h"
#include "ui/captions.h"
#include "ui/file_dialogs.h"
#include "ui/filtered_edit.h"
#include "ui/forms.h"
#include "ui/icons.h"
#include "ui/keyboard.h"
#include "ui/labels.h"
#include "ui/message_boxes.h"
#include "ui/shell.h"
#include "ui/style.h"
#include "ui/text_metrics.h"
#include "ui/tip_grid.h"
#include "ui/wrap_button.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>

namespace korbisto::app {

namespace {

constexpr int kMatchDayColumnWidth = 250;
constexpr int kCrossColumnWidth = 180;
constexpr int kEvaluationColumnWidth = 404;
constexpr int kCrossColumnLeft = kMatchDayColumnWidth;
constexpr int kEvaluationColumnLeft = kMatchDayColumnWidth + kCrossColumnWidth;
// The match-day plan starts where the match-day picture starts, so the
// picture shows the plan and, beside it, the crosses of the cross sheet.
constexpr int kPlanTop = 254;
// A pairing panel starts this far above the row of boxes beside it, so the
// last one ends clear of the plan's bottom edge, about as far as the first
// starts below its top.
constexpr int kPairingAbove = 8;

}  // namespace

TFGewonnen::TFGewonnen(QWidget* parent) : ui::WindowFrame(QStringLiteral("FGewonnen"), parent) { FormCreate(); }

TFGewonnen::~TFGewonnen() = default;

QWidget* TFGewonnen::boxParent() { return isVisible() ? this : nullptr; }

TFEingabe& TFGewonnen::entryWindow() {
    if (!entry_) entry_ = new TFEingabe(model_, this);
    return *entry_;
}

TFKick& TFGewonnen::generatorWindow() {
    if (!generator_) generator_ = new TFKick(this);
    return *generator_;
}

void TFGewonnen::FormCreate() {
    const MainWindowSettings stored = readMainWindowSettings();
    matchDayFolder_ = appPaths().MatchDayFolder;
    slipFolder_ = appPaths().SlipFolder;
    setClientSize(QSize(kClientWidth, kClientHeight));
    placeAt(QPoint(stored.position.left, stored.position.top));
    setToolTipDuration(-1);

    buildToolbar();
    buildMatchDayColumn();
    buildCrossColumn();
    buildEvaluationColumn();
    setUpGrids();
    setUpTabOrder();
    connectModel();

    cbSofort->setChecked(stored.instantEvaluation);
    model_.setInstantEvaluation(stored.instantEvaluation);
    leur->setText(stored.donationStatus);

    // The stored match day first; when it fails, the stored slip waits for
    // the next start.
    bool matchDayRead = true;
    if (!stored.matchDayPath.isEmpty()) {
        matchDayRead = false;
        ui::runGuarded(boxParent(), [&] {
            SpieltagEinlesen(stored.matchDayPath);
            matchDayRead = true;
        });
    }
    if (matchDayRead && !stored.slipPath.isEmpty())
        ui::runGuarded(boxParent(), [&] { SpielscheinEinlesen(stored.slipPath); });
    // Typing the winning row is what the window is for; a key pressed at
    // once must not end the program.
    GewinnFelder[0]->setFocus();
}

void TFGewonnen::buildToolbar() {
    ui::TopBar* bar = topBar();
    bar->row()->setSpacing(3);
    auto addCaptioned = [&](const QString& name, ui::IconKind icon, const QString& caption, const QString& hint,
                            int width) {
        auto* button = new ui::WrapButton(ui::displayCaption(caption), bar);
        button->setObjectName(name);
        button->setIcon(ui::makeIcon(icon, 18));
        button->setIconSize(QSize(18, 18));
        button->setFixedSize(width, 32);
        button->setCursor(Qt::PointingHandCursor);
        if (!hint.isEmpty()) button->setToolTip(hint);
        bar->addWidget(button);
        focusOrder_.push_back(button);
        return button;
    };
    auto addIcon = [&](const QString& name, ui::IconKind icon, const QString& hint) {
        QToolButton* button = bar->addIconButton(name, icon, hint);
        focusOrder_.push_back(button);
        return button;
    };
    QPushButton* quit = addCaptioned(QStringLiteral("bsSkinSpeedButton6"), ui::IconKind::Exit,
                                     QStringLiteral("Programm beenden"), QString(), 88);
    connect(quit, &QPushButton::clicked, this, &TFGewonnen::bsSkinSpeedButton6Click);
    ui::addShortcut(quit, QKeySequence(Qt::CTRL | Qt::Key_Q));
    QAbstractButton* download = addCaptioned(QStringLiteral("BFSpTagVerw"), ui::IconKind::Download,
                                             QStringLiteral("Spieltag- Download"),
                                             QStringLiteral("Spieltage herunterladen"), 88);
    connect(download, &QAbstractButton::clicked, this, &TFGewonnen::BFSpTagVerwClick);
    QPushButton* generator = addCaptioned(QStringLiteral("bsSkinSpeedButton8"), ui::IconKind::Ball,
                                          QStringLiteral("Zufall Fußball"), QStringLiteral("Tippreihen auslosen"), 74);
    connect(generator, &QPushButton::clicked, this, &TFGewonnen::bsSkinSpeedButton8Click);
    QPushButton* entry = addCaptioned(QStringLiteral("bsSkinSpeedButton7"), ui::IconKind::SlipEntry,
                                      QStringLiteral("Spielschein erstellen..."), QStringLiteral("Tippreihen eingeben"),
                                      94);
    connect(entry, &QPushButton::clicked, this, &TFGewonnen::bsSkinSpeedButton7Click);
    QToolButton* update = addIcon(QStringLiteral("bsSkinSpeedButton12"), ui::IconKind::Update,
                                  QStringLiteral("Programm aktualisieren"));
    connect(update, &QToolButton::clicked, this, &TFGewonnen::bsSkinSpeedButton12Click);
    QToolButton* analysis =
        addIcon(QStringLiteral("BGewinnplan"), ui::IconKind::Chart, QStringLiteral("Gewinnplan & Chancen"));
    analysis->setToolTip(analysis->toolTip() + QStringLiteral("\nWas die Tippreihen über alle Ergebnisse der Kreuze "
                                                              "gewinnen und wie ihre Chancen am Spieltag stehen"));
    connect(analysis, &QToolButton::clicked, this, &TFGewonnen::BGewinnplanClick);
    bar->addStretch();

    auto* donationText = new QLabel(
        QStringLiteral("Wenn Ihnen das Programm gefällt, würde ich mich über einen Wachmacher freuen:"), bar);
    donationText->setObjectName(QStringLiteral("LWachmacher"));
    donationText->setFont(ui::calibriFont(9, true));
    donationText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    donationText->setWordWrap(true);
    donationText->setFixedWidth(232);
    bar->addWidget(donationText);

    QToolButton* donate =
        addIcon(QStringLiteral("BSpende"), ui::IconKind::Coffee, QStringLiteral("Einen Wachmacher spendieren"));
    connect(donate, &QToolButton::clicked, this, &TFGewonnen::BSpendeClick);

    auto* standBox = new QFrame(bar);
    standBox->setObjectName(QStringLiteral("PStand"));
    standBox->setFixedSize(58, 32);
    ui::makeLabel(standBox, QStringLiteral("Stand in €"), QRect(1, 1, 56, 13), ui::tahomaFont(7), Qt::AlignCenter);
    leur = ui::makeLabel(standBox, QStringLiteral("0"), QRect(1, 14, 56, 16), ui::tahomaFont(8, true), Qt::AlignCenter,
                         QStringLiteral("leur"));
    // The status comes from a server: markup in it is shown, never obeyed.
    leur->setTextFormat(Qt::PlainText);
    bar->addWidget(standBox);

    QToolButton* position = bar->addPositionButton(QStringLiteral("bsSkinSpeedButton4"));
    focusOrder_.push_back(position);
    connect(position, &QToolButton::clicked, this, &TFGewonnen::bsSkinSpeedButton4Click);
    QToolButton* about =
        addIcon(QStringLiteral("bsSkinSpeedButton5"), ui::IconKind::Info, QStringLiteral("Über das Programm"));
    connect(about, &QToolButton::clicked, this, &TFGewonnen::bsSkinSpeedButton5Click);
    ui::addShortcut(about, QKeySequence(Qt::Key_F1));
}

void TFGewonnen::buildMatchDayColumn() {
    const QFont normal = ui::tahomaFont(8);
    ui::makeLabel(this, QStringLiteral("Diese Tool ist ein Ableger meines Programms "), QRect(8, 46, 236, 14), normal);
    ui::makeLabel(this, QStringLiteral("Wimbrel"), QRect(8, 61, 236, 22), ui::roundedFont(12));
    ui::makeParagraph(this,
                      QStringLiteral("Wimbrel ist ein mächtiges Programm für die Ergebniswette, das alle VEW-Syste- "
                                     "me, viele Kürzungs- und Grundtippsys- teme enthält."),
                      QRect(8, 86, 236, 44), normal);
    ui::makeParagraph(this,
                      QStringLiteral("Wimbrel lässt Sie den Spieltag durch die automatische Ergebnisabfrage live ver- "
                                     "folgen. Dabei wird für jede Tippreihe die Chance auf die Gewinnränge ausgewie- "
                                     "sen."),
                      QRect(8, 134, 236, 58), normal);

    matchDayStrip_ = new QWidget(this);
    matchDayStrip_->setObjectName(QStringLiteral("PSpieltagLeiste"));
    matchDayStrip_->setGeometry(8, 200, 236, 48);
    QPushButton* open = ui::makeButton(matchDayStrip_, QStringLiteral("BOpenSpTag"),
                                       QStringLiteral("Spieltag einlesen..."), QRect(0, 8, 112, 32));
    connect(open, &QPushButton::clicked, this, &TFGewonnen::BOpenSpTagClick);
    focusOrder_.push_back(open);
    ui::makeLabel(matchDayStrip_, QStringLiteral("Spieltag"), QRect(116, 6, 82, 14), normal, Qt::AlignCenter);
    LTag = ui::makeLabel(matchDayStrip_, QString(), QRect(116, 22, 82, 18), ui::tahomaFont(9, true), Qt::AlignCenter,
                         QStringLiteral("LTag"));
    QToolButton* camera = ui::makeToolButton(matchDayStrip_, QStringLiteral("bsSkinSpeedButton18"),
                                             ui::IconKind::Camera, QString(), QStringLiteral("Abbild des Spieltags"));
    camera->setGeometry(204, 8, 32, 32);
    connect(camera, &QToolButton::clicked, this, &TFGewonnen::bsSkinSpeedButton18Click);
    focusOrder_.push_back(camera);

    auto* plan = new QWidget(this);
    plan->setObjectName(QStringLiteral("PSpielplan"));
    plan->setAttribute(Qt::WA_StyledBackground);
    plan->setGeometry(8, kPlanTop, 234, 333);
    for (int m = 1; m <= kMatches; ++m) {
        pairingPanels_[static_cast<size_t>(m - 1)] =
            ui::makeLabel(plan, QString(), QRect(6, KreuzY[static_cast<size_t>(m)] - kPairingAbove, 222, 19),
                          ui::calibriFont(8), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("pb%1").arg(m));
    }

    auto* picture = new ui::ClickableLabel(this);
    picture->setObjectName(QStringLiteral("Image2"));
    picture->setGeometry(8, 604, 234, 84);
    picture->setPicture([](qreal ratio) { return webSitePicture(234, 84, ratio); });
    picture->setCursor(Qt::PointingHandCursor);
    picture->setToolTip(QStringLiteral("Aufruf von ") + makerSiteUrl().toString());
    picture->onClick = [this] { Image2Click(); };
    Image2 = picture;
    focusOrder_.push_back(picture);
}

void TFGewonnen::buildCrossColumn() {
    const QFont bold = ui::tahomaFont(8, true);
    ui::makeParagraph(this,
                      QStringLiteral("Kreuzen Sie Ihren Tipp unten an oder laden Sie Ihren Spielschein in die Tabelle "
                                     "rechts."),
                      QRect(kCrossColumnLeft + 4, 44, kCrossColumnWidth - 8, 42), bold);
    ui::makeParagraph(this, QStringLiteral("Vollsysteme mit max. 96.000 Reihen können entwickelt werden."),
                      QRect(kCrossColumnLeft + 4, 86, kCrossColumnWidth - 8, 40), bold);
    // The sheet's rows lie beside the pairings of the match-day plan.
    crossColumn_ = new CrossSheetColumn(model_.rows(), structureFilePath(), this);
    crossColumn_->setGeometry(kCrossColumnLeft, kPlanTop - CrossSheetColumn::kSheetTop, kCrossColumnWidth,
                              kClientHeight - (kPlanTop - CrossSheetColumn::kSheetTop));
    const std::vector<QWidget*> sheetOrder = crossColumn_->focusOrder();
    focusOrder_.insert(focusOrder_.end(), sheetOrder.begin(), sheetOrder.end());
}

void TFGewonnen::buildWinningRow() {
    const QFont bold = ui::tahomaFont(8, true);
    ui::makeLabel(PFoto, ui::displayCaption(QStringLiteral("Gewinn- reihe:")), QRect(6, 3, 120, 15), bold);
    PAnzeige = new QWidget(PFoto);
    PAnzeige->setObjectName(QStringLiteral("PAnzeige"));
    PAnzeige->setGeometry(6, 19, kMatches * (TFfrAnzeigeGew::kWidth + 1) + 1, TFfrAnzeigeGew::kHeight + 2);
    for (int i = 1; i <= kMatches; ++i) {
        auto* frame = new TFfrAnzeigeGew(PAnzeige);
        frame->setObjectName(QStringLiteral("frAnzeige%1").arg(i));
        frame->PNr->setText(QString::number(i));
        frame->move((i - 1) * (TFfrAnzeigeGew::kWidth + 1) + 1, 1);
        AnzeigeFrames[static_cast<size_t>(i - 1)] = frame;
        GewinnFelder[static_cast<size_t>(i - 1)] = frame->ETz;
        frame->ETz->setAccessibleName(QStringLiteral("Gewinnreihe Spiel %1").arg(i));
        focusOrder_.push_back(frame->ETz);
    }
    QToolButton* clearRow = ui::makeToolButton(PFoto, QStringLiteral("bsSkinSpeedButton3"), ui::IconKind::Eraser,
                                               QString(), QStringLiteral("Gewinnreihe löschen"));
    clearRow->setGeometry(302, 22, 32, 32);
    connect(clearRow, &QToolButton::clicked, this, &TFGewonnen::bsSkinSpeedButton3Click);
    focusOrder_.push_back(clearRow);
    cbSofort = new QCheckBox(QStringLiteral("Bei manueller Eingabe der Gewinnreihe sofort auswerten"), PFoto);
    focusOrder_.push_back(cbSofort);
    cbSofort->setObjectName(QStringLiteral("cbSofort"));
    cbSofort->setGeometry(6, 58, 392, 18);
    cbSofort->setChecked(true);
}

void TFGewonnen::buildEvaluationColumn() {
    const QFont normal = ui::tahomaFont(8);
    const QFont bold = ui::tahomaFont(8, true);
    ui::makeLabel(this, QStringLiteral("Bitte beachten, dass links ein Spieltag eingelesen werden kann."),
                  QRect(kEvaluationColumnLeft + 6, 44, kEvaluationColumnWidth - 12, 16), normal);

    PFoto = new QWidget(this);
    PFoto->setObjectName(QStringLiteral("PFoto"));
    PFoto->setAttribute(Qt::WA_StyledBackground);
    PFoto->setGeometry(kEvaluationColumnLeft, 62, kEvaluationColumnWidth, kClientHeight - 62);
    buildWinningRow();

    auto addButton = [&](const QString& name, const QString& caption, const QRect& geometry,
                         void (TFGewonnen::*handler)()) {
        QPushButton* button = ui::makeButton(PFoto, name, caption, geometry);
        connect(button, &QPushButton::clicked, this, handler);
        focusOrder_.push_back(button);
        return button;
    };
    auto addIcon = [&](const QString& name, ui::IconKind icon, const QString& hint, const QRect& geometry,
                       void (TFGewonnen::*handler)(), int iconSize = 20) {
        QToolButton* button = ui::makeToolButton(PFoto, name, icon, QString(), hint, iconSize);
        button->setGeometry(geometry);
        connect(button, &QToolButton::clicked, this, handler);
        focusOrder_.push_back(button);
        return button;
    };

    // Quotas.
    ui::makeLabel(PFoto, QStringLiteral("Quoten:"), QRect(6, 82, 80, 15), ui::calibriFont(9, true));
    const char* ranks[] = {"Rang I", "Rang II", "Rang III", "Rang IV"};
    for (int k = 1; k <= kRanks; ++k) {
        const int left = 6 + (k - 1) * 76;
        ui::makeLabel(PFoto, QString::fromLatin1(ranks[k - 1]), QRect(left, 98, 70, 14), normal);
        auto* edit = new ui::FilteredLineEdit(&ui::FilteredLineEdit::quotaFilter, PFoto);
        edit->setObjectName(QStringLiteral("eQ%1").arg(k));
        edit->setGeometry(left, 113, 70, 22);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->setFont(ui::calibriFont(9, true));
        edit->setAccessibleName(QStringLiteral("Quote ") + QString::fromLatin1(ranks[k - 1]));
        QuotenFelder[static_cast<size_t>(k - 1)] = edit;
        focusOrder_.push_back(edit);
    }
    addButton(QStringLiteral("BQuoDel"), QStringLiteral("Quoten löschen"), QRect(312, 104, 86, 32),
              &TFGewonnen::BQuoDelClick);

    // Evaluation.
    QLabel* note = ui::makeParagraph(
        PFoto,
        QStringLiteral("Die Gewinnprüfung ist mit und ohne Quoten möglich. Es kann auch nur eine Quote eingegeben "
                       "werden."),
        QRect(6, 142, 290, 30), bold);
    note->setObjectName(QStringLiteral("LQuotenHinweis"));
    QPushButton* evaluate = addButton(QStringLiteral("BAuswerten"), QStringLiteral("Gewinn- Prüfung"),
                                      QRect(302, 140, 96, 34), &TFGewonnen::BAuswertenClick);
    evaluate->setFont(bold);
    ui::addShortcut(evaluate, QKeySequence(Qt::Key_F9));

    // Slip buttons.
    ui::addShortcut(addButton(QStringLiteral("bsSkinSpeedButton1"), QStringLiteral("Spielschein einlesen..."),
                              QRect(6, 180, 86, 34), &TFGewonnen::bsSkinSpeedButton1Click),
                    QKeySequence(Qt::CTRL | Qt::Key_O));
    ui::addShortcut(addButton(QStringLiteral("BSave"), QStringLiteral("Als Spielschein speichern..."),
                              QRect(96, 180, 100, 34), &TFGewonnen::BSaveClick),
                    QKeySequence(Qt::CTRL | Qt::Key_S));
    QPushButton* copy = addButton(QStringLiteral("BCopy"), QStringLiteral("Reihen kopieren"), QRect(200, 180, 76, 34),
                                  &TFGewonnen::BCopyClick);
    copy->setToolTip(QStringLiteral("Tippreihen in die Zwischenablage kopieren."));
    ui::addShortcut(copy, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    addIcon(QStringLiteral("bsSkinSpeedButton11"), ui::IconKind::Csv, QStringLiteral("Tippreihen im CSV-Format speichern"),
            QRect(280, 181, 32, 32), &TFGewonnen::bsSkinSpeedButton11Click);
    addButton(QStringLiteral("BGridDel"), QStringLiteral("Reihen löschen"), QRect(322, 180, 76, 34),
              &TFGewonnen::BGridDelClick);

    // Table header line and the tip-row table.
    ui::makeLabel(PFoto, QStringLiteral("Datei:"), QRect(6, 219, 34, 16), bold);
    LDatei = ui::makeElidedLabel(PFoto, QRect(40, 219, 170, 16), normal, QStringLiteral("LDatei"));
    ui::makeLabel(PFoto, QStringLiteral("Reihen:"), QRect(214, 219, 44, 16), bold);
    LReihen = ui::makeLabel(PFoto, QStringLiteral("0"), QRect(258, 219, 64, 16), normal, Qt::AlignCenter,
                            QStringLiteral("LReihen"));
    addIcon(QStringLiteral("bsSkinSpeedButton2"), ui::IconKind::RestoreOrder, QStringLiteral("Ursprüngliche Reihenfolge"),
            QRect(348, 216, 24, 22), &TFGewonnen::bsSkinSpeedButton2Click, 16);
    addIcon(QStringLiteral("BSortier"), ui::IconKind::SortByHits, QStringLiteral("Nach Treffern sortieren"),
            QRect(374, 216, 24, 22), &TFGewonnen::BSortierClick, 16);

    G1 = new ui::TipGridView(PFoto);
    G1->setObjectName(QStringLiteral("G1"));
    G1->setAccessibleName(QStringLiteral("Tippreihen"));
    focusOrder_.push_back(G1);

    // Results.
    ui::makeLabel(PFoto, QStringLiteral("Gewinn:"), QRect(6, 519, 60, 15), bold);
    G2 = new ui::TipGridView(PFoto);
    G2->setObjectName(QStringLiteral("G2"));
    G2->setAccessibleName(QStringLiteral("Gewinn"));
    focusOrder_.push_back(G2);
    ui::makeLabel(PFoto, QStringLiteral("Gesamtgewinn"), QRect(200, 548, 110, 15), bold,
                  Qt::AlignRight | Qt::AlignVCenter);
    LGesGewinn = ui::makeLabel(PFoto, QString(), QRect(200, 565, 110, 22), ui::tahomaFont(10, true),
                               Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("LGesGewinn"));
    QPushButton* capture = ui::makeButton(PFoto, QStringLiteral("bsSkinSpeedButton9"),
                                          QStringLiteral("Abbild der Auswertung"), QRect(318, 586, 80, 34));
    connect(capture, &QPushButton::clicked, this, &TFGewonnen::bsSkinSpeedButton9Click);
    focusOrder_.push_back(capture);
}

void TFGewonnen::setUpGrids() {
    const QFont gridFont = ui::tahomaFont(8);

    G1->setFont(gridFont);
    G1->horizontalHeader()->setFont(gridFont);
    g1Model_ = new ui::TipGridModel(TipTable::kColumns, this);
    g1Model_->setDocument(&model_.rows());
    g1Model_->colourAgainst(&model_);
    G1->setModel(g1Model_);
    QList<int> widths{37};
    for (int c = 1; c <= 9; ++c) widths << 20;
    for (int c = 10; c <= 13; ++c) widths << 22;
    widths << 49;
    G1->setGeometryOfCells(widths, 16);
    QStringList headers{ui::PadText(QStringLiteral("Reihe"), 34, *G1)};
    for (int m = 1; m <= kMatches; ++m) headers << ui::PadNumber(m, 18, *G1);
    headers << ui::PadText(QStringLiteral("Richtig"), G1->columnWidthOf(TipTable::kHitColumn), *G1);
    g1Model_->setHeaderTexts(headers);
    g1Model_->setNumberPadding(gridFont, 40);
    G1->setGeometry(6, 240, G1->fullWidth(), 17 * 15 + 17 + 2);

    G2->setFont(gridFont);
    G2->horizontalHeader()->setFont(gridFont);
    G2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g2Model_ = new WinTableModel(model_, this);
    G2->setModel(g2Model_);
    const QList<int> g2Widths{36, 48, 96};
    G2->setGeometryOfCells(g2Widths, 16);
    g2Model_->setPadding(gridFont, g2Widths);
    G2->setGeometry(6, 536, 36 + 48 + 96 + 3 + 2, 5 * 17 + 2);
}

void TFGewonnen::setUpTabOrder() {
    // As the eye reads the window: the toolbar, then column by column from
    // the top down.
    for (size_t i = 1; i < focusOrder_.size(); ++i) setTabOrder(focusOrder_[i - 1], focusOrder_[i]);
}

void TFGewonnen::connectModel() {
    for (int m = 1; m <= kMatches; ++m) {
        ui::FilteredLineEdit* edit = GewinnFelder[static_cast<size_t>(m - 1)];
        // ETzChange: a changed result may start the evaluation at once.
        connect(edit, &QLineEdit::textChanged, this,
                [this, m](const QString& text) { ui::runGuarded(this, [&] { model_.setWinning(m, text); }); });
    }
    connect(&model_, &BetModel::winningChanged, this, [this](int m) {
        ui::FilteredLineEdit* edit = GewinnFelder[static_cast<size_t>(m - 1)];
        if (edit->text() != model_.winning(m)) edit->setTextFromProgram(model_.winning(m));
    });
    for (int k = 1; k <= kRanks; ++k) {
        ui::FilteredLineEdit* edit = QuotenFelder[static_cast<size_t>(k - 1)];
        connect(edit, &QLineEdit::textChanged, this, [this, k](const QString& text) { model_.setQuota(k, text); });
    }
    connect(&model_, &BetModel::quotaChanged, this, [this](int k) {
        ui::FilteredLineEdit* edit = QuotenFelder[static_cast<size_t>(k - 1)];
        if (edit->text() != model_.quota(k)) edit->setTextFromProgram(model_.quota(k));
    });
    connect(cbSofort, &QCheckBox::toggled, this, [this](bool on) { model_.setInstantEvaluation(on); });
    connect(&model_, &BetModel::resultsChanged, this,
            [this] { LGesGewinn->setText(model_.results() ? formatAmount(model_.results()->total) : QString()); });
    ui::showDocumentLabels(model_.rows(), LDatei, LReihen);
    connect(&model_, &BetModel::matchDayChanged, this, [this] {
        LTag->setText(model_.matchDayDate() ? formatDate(*model_.matchDayDate()) : QString());
        for (int m = 1; m <= kMatches; ++m)
            pairingPanels_[static_cast<size_t>(m - 1)]->setText(
                pairingCaption(model_.pairing(m).home, model_.pairing(m).away));
    });
}

void TFGewonnen::SpieltagEinlesen(const QString& path) { korbisto::SpieltagEinlesen(model_, path, Now()); }

void TFGewonnen::SpielscheinEinlesen(const QString& path) { korbisto::SpielscheinEinlesen(model_.rows(), path); }

void TFGewonnen::openAndRemember(const ui::FileDialogRequest& request, const char* key,
                                 void (TFGewonnen::*read)(const QString&)) {
    ui::runGuarded(this, [&] {
        const QString path = ui::chooseFile(this, request);
        if (path.isEmpty()) return;
        (this->*read)(path);
        settings::writeString(settings::kStartFiles, QString::fromLatin1(key), path);
    });
}

void TFGewonnen::openFile(const QString& path) {
    ui::runGuarded(boxParent(), [&] {
        const QString suffix = QFileInfo(path).suffix().toLower();
        const bool slip = suffix == QLatin1String("krsc");
        if (!slip && suffix != QLatin1String("sptag"))
            throw KorbistoError(refusal(QStringLiteral("„%1“ ist weder ein Spielschein (.krsc) noch ein Spieltag (.sptag).")
                                            .arg(QFileInfo(path).fileName())));
        const QString absolute = QFileInfo(path).absoluteFilePath();
        if (slip) SpielscheinEinlesen(absolute);
        else SpieltagEinlesen(absolute);
        settings::writeString(settings::kStartFiles, QString::fromLatin1(slip ? settings::kSlipKey : settings::kMatchDayKey),
                              absolute);
    });
}

void TFGewonnen::closeEvent(QCloseEvent* event) {
    ui::runGuarded(this, [&] { writeMainWindowClose(cbSofort->isChecked(), leur->text()); });
    event->accept();
    emit closed();
}

void TFGewonnen::bsSkinSpeedButton6Click() { close(); }

void TFGewonnen::bsSkinSpeedButton7Click() { ui::showAndRaise(entryWindow()); }

void TFGewonnen::bsSkinSpeedButton8Click() { ui::showAndRaise(generatorWindow()); }

void TFGewonnen::BSpendeClick() {
    ui::openWhenOnline(this, donationUrl(),
                       QStringLiteral("Für den Aufruf der PayPal-Seite muss eine Verbindung zum Internet bestehen."));
}

void TFGewonnen::bsSkinSpeedButton4Click() {
    ui::runGuarded(this, [&] { SaveWindowPos(objectName(), x(), y()); });
}

void TFGewonnen::BOpenSpTagClick() {
    auto request = ui::FileDialogRequest::open(QStringLiteral("Spieltag öffnen"), QStringLiteral("Spieltag-Datei"),
                                               QStringLiteral("*.sptag"), QStringLiteral("sptag"), matchDayFolder_);
    request.mustExist = true;
    openAndRemember(request, settings::kMatchDayKey, &TFGewonnen::SpieltagEinlesen);
}

void TFGewonnen::bsSkinSpeedButton18Click() {
    Image2->hide();
    matchDayStrip_->hide();
    CaptureMainWindow(this, LTag->text(), 410, 352);
    Image2->show();
    matchDayStrip_->show();
}

void TFGewonnen::bsSkinSpeedButton5Click() { showAboutWindow(this); }

void TFGewonnen::BFSpTagVerwClick() {
    ui::showSingleWindow(QStringLiteral("Fsptag"), [this] { return new TFsptag(this); });
}

void TFGewonnen::bsSkinSpeedButton12Click() { showUpdateWindow(this); }

void TFGewonnen::BGewinnplanClick() {
    ui::showSingleWindow(QStringLiteral("FAnalyse"), [this] { return new TFAnalyse(this); });
}

void TFGewonnen::setDonationStatus(const QString& status) { leur->setText(status); }

void TFGewonnen::Image2Click() {
    ui::openWhenOnline(this, makerSiteUrl(),
                       QStringLiteral("Für den Aufruf der Seite muss eine Verbindung zum Internet bestehen."));
}

void TFGewonnen::bsSkinSpeedButton3Click() {
    ui::runGuarded(this, [&] { model_.clearWinningRow(); });
}

void TFGewonnen::BQuoDelClick() { model_.clearQuotas(); }

void TFGewonnen::BAuswertenClick() {
    ui::runGuarded(this, [&] { model_.evaluate(); });
}

void TFGewonnen::bsSkinSpeedButton1Click() {
    auto request = ui::FileDialogRequest::open(QStringLiteral("Spielscheindatei einlesen"), QStringLiteral("Spielschein"),
                                               QStringLiteral("*.krsc"), QStringLiteral("krsc"), slipFolder_);
    request.multiSelect = true;
    openAndRemember(request, settings::kSlipKey, &TFGewonnen::SpielscheinEinlesen);
}

void TFGewonnen::BSaveClick() {
    ui::runGuarded(this, [&] {
        checkCanSave(model_.rows());
        const QString path = ui::chooseFile(
            this, ui::FileDialogRequest::save(QStringLiteral("Spielschein speichern"), QStringLiteral("Spielschein-Datei"),
                                              QStringLiteral("*.krsc"), QStringLiteral("krsc"), slipFolder_));
        if (!path.isEmpty()) saveSlip(model_.rows(), path);
    });
}

void TFGewonnen::BCopyClick() { QGuiApplication::clipboard()->setText(exportRowsText(model_.table(), u',')); }

void TFGewonnen::bsSkinSpeedButton11Click() {
    ui::runGuarded(this, [&] {
        const QString path = ui::chooseFile(
            this, ui::FileDialogRequest::save(QStringLiteral("Als CSV-Datei speichern"), QStringLiteral("CSV-Datei"),
                                              QStringLiteral("*.csv"), QStringLiteral("csv"), slipFolder_));
        if (path.isEmpty()) return;
        saveRowsText(path, model_.table(), u';');
        model_.rows().setFileName(QFileInfo(path).fileName());
    });
}

void TFGewonnen::BGridDelClick() { model_.rows().clear(); }

void TFGewonnen::BSortierClick() {
    ui::runGuarded(this, [&] { model_.sortByHits(); });
    // The best rows are what the user asked to see.
    G1->scrollToTop();
}

void TFGewonnen::bsSkinSpeedButton2Click() {
    ui::runGuarded(this, [&] { model_.restoreOrder(); });
    G1->scrollToTop();
}

void TFGewonnen::bsSkinSpeedButton9Click() {
    const QString name = model_.rows().fileName();
    CaptureControl(PFoto, name.left(std::max<qsizetype>(0, name.size() - 5)), 0, 110, 104);
}

}  // namespace korbisto::app
