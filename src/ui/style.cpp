#include "style.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHash>
#include <QLibraryInfo>
#include <QTranslator>
#include <QStyleFactory>

#include <cmath>

namespace korbisto::ui {

namespace {

// A light, quiet skin: soft grey surfaces, rounded buttons with a gentle
// gradient and a blue focus ring, in the spirit of the old "MacX" skin.
const char* const kStyleSheet = R"(
QWidget#Toolbar {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7f7f7, stop:1 #d9dce1);
  border-bottom: 1px solid #a9adb4;
}
QWidget#ScreenshotBar {
  background: #eceef1;
  border-bottom: 1px solid #c4c7cc;
}
QWidget#Surface { background: #eceef1; }
QWidget#PFoto { background: #f4f5f7; border-left: 1px solid #c4c7cc; }
QWidget#PSpielplan { background: rgb(255,210,191); }
QWidget#PSpielplan QLabel { background: rgb(255,244,239); padding-left: 3px; }
QLabel#LWachmacher { color: rgb(0,64,128); }
QFrame#PStand { background: #ffffff; border: 1px solid #a9adb4; border-radius: 4px; }
QLabel#leur, QLabel#LVEW, QLabel#LVEW2, QLabel#LQuotenHinweis { color: rgb(0,128,0); }
QLabel#LTag, QLabel#LDatei0, QLabel#LZeilen {
  background: #ffffff;
  border: 1px solid #c4c7cc;
  border-radius: 3px;
}
QLabel#LDatei0, QLabel#LZeilen { padding: 0px 3px; }
QLabel#PB, QLabel#PZW, QLabel#PDW, QLabel#PAnz {
  background: #ffffff;
  border: 1px solid;
  border-radius: 2px;
  border-color: #8d9299 #d5d8dc #d5d8dc #8d9299;
}
QLabel#PNr { background: rgb(127,127,127); color: white; }
QLineEdit#ETz { padding: 0px; border-radius: 0px; }
QLabel#LPlay { color: #c0392b; font-size: 18px; }
QLabel#LVersion { color: white; }
QLabel#LGespeichert { color: rgb(0,128,0); }
QWidget#PKontakt { background: rgba(255,255,255,225); border: 1px solid #a9adb4; border-radius: 6px; }
QWidget#PKontakt QLabel { background: transparent; color: #1d2b22; }
QWidget#PKontakt QLabel#LMail { color: rgb(0,64,160); }
QPushButton, QToolButton {
  color: #1d1d1f;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:0.5 #f1f2f4, stop:1 #dfe2e6);
  border: 1px solid #9fa4ab;
  border-radius: 5px;
  padding: 2px 6px;
}
QToolButton { padding: 1px; }
QWidget#Toolbar QPushButton { padding: 1px 2px; }
QPushButton:hover, QToolButton:hover {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:0.5 #e9f1fb, stop:1 #cfdff2);
  border-color: #6f8fb8;
}
QPushButton:pressed, QToolButton:pressed {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #b9cde6, stop:1 #dbe6f3);
  border-color: #4f73a3;
}
QPushButton:focus, QToolButton:focus { border-color: #3d7bd9; }
QPushButton:disabled, QToolButton:disabled {
  color: #9a9da2;
  background: #eceef0;
  border-color: #c6c9cd;
}
QLineEdit {
  background: #ffffff;
  border: 1px solid #a3a8ae;
  border-radius: 3px;
  padding: 0px 2px;
  selection-background-color: #3d7bd9;
}
QLineEdit:focus { border-color: #3d7bd9; }
QTableView {
  background: #ffffff;
  border: 1px solid #9fa4ab;
  gridline-color: #c0c0c0;
}
QHeaderView::section {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fafafa, stop:1 #e2e4e7);
  color: #1d1d1f;
  border: none;
  border-right: 1px solid #c0c0c0;
  border-bottom: 1px solid #c0c0c0;
  padding: 0px 0px 0px 2px;
}
QCheckBox { spacing: 5px; }
QToolTip {
  color: #1d1d1f;
  background: #fffbe0;
  border: 1px solid #b5ad7a;
}
QWidget#Panel1 { background: #e6e8ec; border-right: 1px solid #c4c7cc; }
QWidget#Panel2 QLabel { background: rgb(77,77,77); color: white; border-radius: 2px; }
QLabel#LLegende0, QLabel#LLegende1, QLabel#LLegende2, QLabel#LLegende3 {
  color: rgb(81,81,81);
  border: 1px solid #a9adb4;
  border-radius: 2px;
}
QLabel#LLegende0 { background: rgb(232,232,232); }
QLabel#LLegende1 { background: rgb(183,220,189); }
QLabel#LLegende2 { background: rgb(143,255,121); }
QLabel#LLegende3 { background: rgb(92,221,189); }
QLabel#LHinweis { color: #c0392b; }
QLabel#LDatei2 {
  background: #ffffff;
  border: 1px solid #c4c7cc;
  border-radius: 3px;
  padding: 0px 3px;
}
QLineEdit#eAnz { padding: 0px; }
QPushButton[level="0"] {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7f7f7, stop:1 rgb(232,232,232));
  border-color: #9fa4ab;
}
QPushButton[level="1"] {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #dcefdf, stop:1 rgb(183,220,189));
  border-color: #7d9c82;
}
QPushButton[level="2"] {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ccffc2, stop:1 rgb(143,255,121));
  border-color: #5fa84f;
}
QPushButton[level="3"] {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #a8eedc, stop:1 rgb(92,221,189));
  border-color: #3a9a82;
}
QPushButton[level="0"]:hover, QPushButton[level="1"]:hover, QPushButton[level="2"]:hover,
QPushButton[level="3"]:hover { border-color: #4f73a3; }
QPushButton[level] { padding: 0px; }
QPushButton[level]:focus { border: 2px solid #3d7bd9; }
)";

}  // namespace

int pixelsOfPoints(int points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

QString fontFamily(const QString& wanted) {
    static QHash<QString, QString> chosen;
    if (const auto it = chosen.constFind(wanted); it != chosen.constEnd()) return *it;
    static const QHash<QString, QStringList> standIns = {
        {QStringLiteral("Tahoma"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")}},
        {QStringLiteral("Calibri"), {QStringLiteral("Carlito"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}},
        {QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}},
        {QStringLiteral("Arial Rounded MT Bold"),
         {QStringLiteral("Comfortaa"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}},
    };
    QString family = wanted;
    if (!QFontDatabase::hasFamily(wanted)) {
        for (const QString& candidate : standIns.value(wanted)) {
            if (QFontDatabase::hasFamily(candidate)) {
                family = candidate;
                break;
            }
        }
    }
    chosen.insert(wanted, family);
    return family;
}

namespace {
QFont makePixelFont(const QString& wanted, int pixels, bool bold) {
    QFont font(fontFamily(wanted));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}
QFont makeFont(const QString& wanted, int points, bool bold) {
    return makePixelFont(wanted, pixelsOfPoints(points), bold);
}
}  // namespace

QFont tahomaFont(int points, bool bold) { return makeFont(QStringLiteral("Tahoma"), points, bold); }

QFont calibriFont(int points, bool bold) { return makeFont(QStringLiteral("Calibri"), points, bold); }

QFont roundedFont(int points) { return makeFont(QStringLiteral("Arial Rounded MT Bold"), points, true); }

QFont arialPixelFont(int pixels) { return makePixelFont(QStringLiteral("Arial"), pixels, false); }

QPalette skinPalette() {
    QPalette palette;
    const auto set = [&palette](QPalette::ColorRole role, const QColor& colour, const QColor& greyed) {
        palette.setColor(QPalette::Active, role, colour);
        palette.setColor(QPalette::Inactive, role, colour);
        palette.setColor(QPalette::Disabled, role, greyed);
    };
    const QColor field(0xf4, 0xf5, 0xf7);
    set(QPalette::Window, colours::surface, colours::surface);
    set(QPalette::WindowText, colours::ink, colours::greyedInk);
    set(QPalette::Base, colours::paper, field);
    set(QPalette::AlternateBase, field, field);
    set(QPalette::Text, colours::ink, colours::greyedInk);
    set(QPalette::PlaceholderText, QColor(0x8d, 0x92, 0x99), QColor(0xb5, 0xb8, 0xbd));
    set(QPalette::Button, QColor(0xf1, 0xf2, 0xf4), QColor(0xec, 0xee, 0xf0));
    set(QPalette::ButtonText, colours::ink, colours::greyedInk);
    set(QPalette::BrightText, colours::paper, colours::paper);
    set(QPalette::Light, colours::paper, colours::paper);
    set(QPalette::Midlight, QColor(0xe2, 0xe4, 0xe7), QColor(0xe2, 0xe4, 0xe7));
    set(QPalette::Mid, QColor(0xc4, 0xc7, 0xcc), QColor(0xc4, 0xc7, 0xcc));
    set(QPalette::Dark, QColor(0x9f, 0xa4, 0xab), QColor(0xc6, 0xc9, 0xcd));
    set(QPalette::Shadow, QColor(0x6b, 0x70, 0x77), QColor(0x9f, 0xa4, 0xab));
    set(QPalette::Highlight, colours::focus, QColor(0xc6, 0xc9, 0xcd));
    set(QPalette::HighlightedText, colours::paper, colours::paper);
    set(QPalette::Link, QColor(0, 64, 160), colours::greyedInk);
    set(QPalette::LinkVisited, QColor(80, 40, 140), colours::greyedInk);
    set(QPalette::ToolTipBase, QColor(0xff, 0xfb, 0xe0), QColor(0xff, 0xfb, 0xe0));
    set(QPalette::ToolTipText, colours::ink, colours::ink);
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    set(QPalette::Accent, colours::focus, QColor(0xc6, 0xc9, 0xcd));
#endif
    return palette;
}

namespace {

// The kinds of controls a platform theme may give palettes of their own.
const char* const kThemedKinds[] = {"QToolButton", "QAbstractButton", "QCheckBox", "QRadioButton", "QHeaderView",
                                    "QAbstractItemView", "QMessageBoxLabel", "QTabBar", "QLabel", "QGroupBox",
                                    "QMenu", "QMenuBar", "QTextEdit", "QTextControl", "QLineEdit"};

// The skin's palette for the program and for every kind of control that a
// theme gave one of its own.
void putSkinPaletteInPlace() {
    const QPalette skin = skinPalette();
    if (QApplication::palette() != skin) QApplication::setPalette(skin);
    for (const char* kind : kThemedKinds)
        if (QApplication::palette(kind) != skin) QApplication::setPalette(skin, kind);
}

// A platform theme may bring its palette or font once the program runs:
// qt6ct sets its font after the start, a desktop its colours when the user
// switches to a dark scheme. The windows are the skin's and laid out in
// pixels for its font, so both are put back.
class SkinKeeper : public QObject {
public:
    explicit SkinKeeper(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("SkinKeeper")); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != QCoreApplication::instance() || restoring_) return false;
        restoring_ = true;
        if (event->type() == QEvent::ApplicationPaletteChange) putSkinPaletteInPlace();
        if (event->type() == QEvent::ApplicationFontChange && QApplication::font() != tahomaFont(8))
            QApplication::setFont(tahomaFont(8));
        restoring_ = false;
        return false;
    }

private:
    bool restoring_ = false;
};

}  // namespace

void applyStyle(QApplication& app) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
    app.setFont(tahomaFont(8));
    // After the style, which may bring a palette of its own.
    putSkinPaletteInPlace();
    app.setStyleSheet(QString::fromLatin1(kStyleSheet));
    if (!app.findChild<QObject*>(QStringLiteral("SkinKeeper"), Qt::FindDirectChildrenOnly))
        app.installEventFilter(new SkinKeeper(&app));
}

}  // namespace korbisto::ui

namespace korbisto::ui {

void installGermanTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
    else
        delete translator;
}

}  // namespace korbisto::ui
