#include "entry_window.h"

#include "core/bet_model.h"
#include "core/paths.h"
#include "files/settings_file.h"
#include "files/slip_file.h"
#include "files/text_file.h"
#include "files/text_import.h"
#include "ui/file_dialogs.h"
#include "ui/forms.h"
#include "ui/icons.h"
#include "ui/labels.h"
#include "ui/message_boxes.h"
#include "ui/style.h"
#include "ui/text_field.h"
#include "ui/tip_grid.h"
#include "ui/wrap_button.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>

namespace korbisto::app {

namespace {

constexpr int kMargin = 6;
constexpr int kTextSideWidth = 217;
constexpr int kButtonHeight = 34;
constexpr int kGridRowHeight = 16;
// Below the buttons: the captions and labels of file and line count, then
// the text field and the grid side by side.
constexpr int kLabelsOffset = 40;
constexpr int kFieldOffset = 80;

const char* const kExplanation1 =
    "In das Textfeld können Tippreihen eingefügt werden - kopiert z. B. aus dem Internet oder aus Excel, mit und "
    "ohne Trennzeichen (1201). Auch ein Semikolon (1;2;0;1), Leerzeichen (1 2 X 1) oder Tab kann Trenner sein.  "
    "Übrigens wird dabei ein Remis-X durch eine 0 ersetzt.";
const char* const kExplanation2 =
    "Hier können dem Programm Tippreihen auf drei Wegen zugeführt werden Über copy && paste, durch das Einlesen "
    "einer Text-Datei und das manuelle Eintragen Ihrer Tippreihen.";

// A caption's "&&" is one "&" on screen; a label without a buddy would show both.
QString labelText(const char* caption) {
    return QString::fromUtf8(caption).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

}  // namespace

TFEingabe::TFEingabe(BetModel& evaluation, QWidget* parent)
    : ui::WindowFrame(QStringLiteral("FEingabe"), parent), evaluation_(&evaluation) {
    FormCreate();
}

void TFEingabe::FormCreate() {
    setClientSize(QSize(kClientWidth, kClientHeight));
    setClosesOnEscape(true);
    const WindowPos stored = readWindowPos(objectName());
    placeAt(QPoint(stored.left, stored.top));
    slipFolder_ = appPaths().SlipFolder;
    initEntryRows(rows_);

    buildTopBar();

    const QFont normal = ui::tahomaFont(8);
    const int width = kClientWidth - 2 * kMargin;
    int y = ui::TopBar::kHeight + 6;
    for (const auto& [name, text] :
         {std::pair{"LErklaerung1", kExplanation1}, std::pair{"LErklaerung2", kExplanation2}}) {
        QLabel* label = ui::makeLabel(this, labelText(text), QRect(kMargin, y, width, 10), normal,
                                      Qt::AlignLeft | Qt::AlignTop, QString::fromLatin1(name));
        label->setWordWrap(true);
        label->setFixedHeight(label->heightForWidth(width));
        y += label->height() + 4;
    }
    y += 6;

    buildGridSide(y);
    buildTextSide(y);
    setUpGrid();
    // The text side first, from the buttons down to the field, then the
    // grid side the same way.
    const std::vector<QWidget*> order{findChild<QWidget*>(QStringLiteral("BOpen")), BAuslesen, BDel, m1,
                                      findChild<QWidget*>(QStringLiteral("BSave")),
                                      findChild<QWidget*>(QStringLiteral("bsSkinSpeedButton1")),
                                      findChild<QWidget*>(QStringLiteral("BGridDel")), G1};
    for (size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

    connect(m1, &QPlainTextEdit::textChanged, this, &TFEingabe::M1Change);
    // Wider or narrower, the field wraps other lines; the count follows.
    connect(m1, &ui::TextField::wrapWidthChanged, this, &TFEingabe::M1Change);
    // Typed and pasted text arrives with its tabs already made commas: a large
    // paste is not written into the field twice, and undo takes back what
    // the user did in one step.
    m1->setInsertFilter([](const QString& text) { return fieldChanged(text).text; });
    ui::showDocumentLabels(rows_, LDatei, LReihen);
    M1Change();
    // Rows are pasted or typed into the field; that is where the keys go first.
    m1->setFocus();
}

void TFEingabe::buildTopBar() {
    ui::TopBar* bar = topBar();
    QToolButton* position =
        bar->addTitleRow(QStringLiteral("Von Tippreihen zum Spielschein"), QStringLiteral("bsSkinSpeedButton13"));
    connect(position, &QToolButton::clicked, this, &TFEingabe::bsSkinSpeedButton13Click);
    bar->addEmblem(QStringLiteral("bsSkinSpeedButton5"), ui::IconKind::SlipEntry);
}

void TFEingabe::buildTextSide(int top) {
    const int left = kMargin;
    QPushButton* open = ui::makeButton(this, QStringLiteral("BOpen"), QStringLiteral("Textdatei öffnen..."),
                                       QRect(left, top, 76, kButtonHeight));
    connect(open, &QPushButton::clicked, this, &TFEingabe::BOpenClick);
    BAuslesen = ui::makeButton(this, QStringLiteral("BAuslesen"), QStringLiteral("Auslesen"),
                               QRect(left + 80, top, 64, kButtonHeight));
    BAuslesen->setFont(ui::tahomaFont(8, true));
    BAuslesen->setEnabled(false);
    connect(BAuslesen, &QPushButton::clicked, this, &TFEingabe::BAuslesenClick);
    BDel = ui::makeButton(this, QStringLiteral("BDel"), QStringLiteral("Textfeld löschen"),
                          QRect(left + 148, top, kTextSideWidth - 148, kButtonHeight));
    BDel->setEnabled(false);
    connect(BDel, &QPushButton::clicked, this, &TFEingabe::BDelClick);

    const QFont bold = ui::tahomaFont(8, true);
    const int labelsTop = top + kLabelsOffset;
    constexpr int kCountWidth = 58;
    const int fileWidth = kTextSideWidth - kCountWidth - 4;
    ui::makeLabel(this, QStringLiteral("Datei"), QRect(left, labelsTop, fileWidth, 14), bold);
    LDatei0 = ui::makeElidedLabel(this, QRect(left, labelsTop + 15, fileWidth, 20), ui::tahomaFont(8),
                                  QStringLiteral("LDatei0"));
    ui::makeLabel(this, QStringLiteral("Reihen"), QRect(left + fileWidth + 4, labelsTop, kCountWidth, 14), bold,
              Qt::AlignCenter);
    LZeilen = ui::makeLabel(this, QString(), QRect(left + fileWidth + 4, labelsTop + 15, kCountWidth, 20),
                            ui::tahomaFont(8), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("LZeilen"));

    m1 = new ui::TextField(this);
    m1->setObjectName(QStringLiteral("m1"));
    m1->setAccessibleName(QStringLiteral("Textfeld für Tippreihen"));
    QFont font = ui::arialPixelFont(14);
    // No kerning, as in a plain edit control: a row's width is the sum of its characters.
    font.setKerning(false);
    m1->setFont(font);
    m1->setPlaceholderText(QStringLiteral("Tippreihen hier einfügen, eintippen oder eine Textdatei öffnen"));
    // The field ends where the grid ends.
    const int fieldTop = top + kFieldOffset;
    m1->setGeometry(left, fieldTop, kTextSideWidth, G1->geometry().bottom() + 1 - fieldTop);
}

void TFEingabe::buildGridSide(int top) {
    G1 = new ui::TipGridView(this);
    G1->setObjectName(QStringLiteral("G1"));
    G1->setAccessibleName(QStringLiteral("Eingelesene Tippreihen"));
    G1->verticalScrollBar()->setObjectName(QStringLiteral("scrv1"));
    const QFont gridFont = ui::tahomaFont(8);
    G1->setFont(gridFont);
    G1->horizontalHeader()->setFont(gridFont);
    // The model first: the header has no sections to size before it.
    g1Model_ = new ui::TipGridModel(kMatches + 1, this);
    g1Model_->setDocument(&rows_);
    G1->setModel(g1Model_);
    QList<int> widths{kTipGridNumberWidth};
    for (int m = 1; m <= kMatches; ++m) widths << 20;
    G1->setGeometryOfCells(widths, kGridRowHeight);

    const int gridWidth = G1->fullWidth();
    const int left = kClientWidth - kMargin - gridWidth;
    const int gridTop = top + kFieldOffset;
    // Whole rows only: the last one is never cut off.
    const int rows = (kClientHeight - kMargin - gridTop - 2) / (kGridRowHeight + 1) - 1;
    G1->setGeometry(left, gridTop, gridWidth, (rows + 1) * (kGridRowHeight + 1) + 2);

    QPushButton* save = ui::makeButton(this, QStringLiteral("BSave"), QStringLiteral("Als Spielschein speichern..."),
                                       QRect(left, top, 106, kButtonHeight));
    connect(save, &QPushButton::clicked, this, &TFEingabe::BSaveClick);
    QPushButton* copy =
        ui::makeButton(this, QStringLiteral("bsSkinSpeedButton1"), QStringLiteral("Reihen zur  Aus- wertung kopieren"),
                       QRect(left + 110, top, 126, kButtonHeight));
    copy->setToolTip(QStringLiteral("Die Reihen in die Tabelle des Hauptfensters übernehmen"));
    connect(copy, &QPushButton::clicked, this, &TFEingabe::bsSkinSpeedButton1Click);
    QPushButton* clear = ui::makeButton(this, QStringLiteral("BGridDel"), QStringLiteral("Reihen löschen"),
                                        QRect(left + 240, top, gridWidth - 240, kButtonHeight));
    connect(clear, &QPushButton::clicked, this, &TFEingabe::BGridDelClick);

    const QFont normal = ui::tahomaFont(8);
    const QFont bold = ui::tahomaFont(8, true);
    // Level with the value boxes of the text side.
    const int lineTop = top + kLabelsOffset + 15;
    ui::makeLabel(this, QStringLiteral("Datei:"), QRect(left, lineTop, 34, 20), bold);
    LDatei = ui::makeElidedLabel(this, QRect(left + 36, lineTop, gridWidth - 36 - 112, 20), normal,
                                 QStringLiteral("LDatei"));
    ui::makeLabel(this, QStringLiteral("Reihen:"), QRect(left + gridWidth - 108, lineTop, 44, 20), bold);
    LReihen = ui::makeLabel(this, QStringLiteral("0"), QRect(left + gridWidth - 64, lineTop, 64, 20), normal,
                        Qt::AlignCenter, QStringLiteral("LReihen"));
}

void TFEingabe::setUpGrid() {
    // Without a winning row every data cell is painted white, its text centred.
    ui::InitTipGridHeaders(*G1, *g1Model_);
}

void TFEingabe::M1Change() {
    const FieldChange change =
        fieldChanged(m1->toPlainText(), [this](const QString& text) { return m1->shownLines(text); });
    if (change.textChanged) m1->rewrite(change.text);
    LZeilen->setText(QString::number(change.lineCount));
    BAuslesen->setEnabled(change.buttonsEnabled);
    BDel->setEnabled(change.buttonsEnabled);
}

void TFEingabe::BOpenClick() {
    ui::runGuarded(this, [&] {
        auto request = ui::FileDialogRequest::open(QStringLiteral("Eine Text-Datei einlesen"),
                                                   QStringLiteral("Text-Dateien"), QStringLiteral("*.txt *.csv"),
                                                   QStringLiteral("txt"), slipFolder_);
        request.mustExist = true;
        const QString path = ui::chooseFile(this, request);
        if (path.isEmpty()) return;
        const LoadedText loaded = loadTextFile(path);
        m1->setFieldText(loaded.text);
        LDatei0->setFullText(loaded.fileName);
        m1->moveCursor(QTextCursor::Start);
    });
}

void TFEingabe::BAuslesenClick() {
    ui::runGuarded(this, [&] {
        const QString text = m1->toPlainText();
        takeImport(rows_, importTipRows(text, m1->shownLines(text)), LDatei0->fullText());
        G1->scrollToTop();
    });
}

void TFEingabe::BDelClick() {
    // Undoable in the field, should the button have been pressed by mistake.
    m1->clearUndoably();
    LDatei0->setFullText(QString());
}

void TFEingabe::BSaveClick() {
    ui::runGuarded(this, [&] {
        checkCanSave(rows_);
        const auto request =
            ui::FileDialogRequest::save(QStringLiteral("Spielschein speichern"), QStringLiteral("Spielschein-Datei"),
                                        QStringLiteral("*.krsc"), QStringLiteral("krsc"), slipFolder_);
        const QString path = ui::chooseFile(this, request);
        if (path.isEmpty()) return;
        saveSlip(rows_, path);
    });
}

void TFEingabe::bsSkinSpeedButton1Click() {
    ui::runGuarded(this, [&] {
        checkCanCopy(rows_);
        if (evaluation_) copyRows(rows_, evaluation_->rows());
    });
}

void TFEingabe::BGridDelClick() { rows_.clear(); }

void TFEingabe::bsSkinSpeedButton13Click() {
    ui::runGuarded(this, [&] { SaveWindowPos(objectName(), x(), y()); });
}


}  // namespace korbisto::app
