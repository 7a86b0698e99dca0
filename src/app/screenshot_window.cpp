#include "screenshot_window.h"

#include "core/error.h"
#include "core/paths.h"
#include "files/binary_io.h"
#include "files/settings_file.h"
#include "ui/file_dialogs.h"
#include "ui/icons.h"
#include "ui/jpeg_writer.h"
#include "ui/message_boxes.h"
#include "ui/style.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace korbisto::app {

QPointer<TFAbbild> FAbbild;

namespace {

int& windowCounter() {
    static int counter = 0;
    return counter;
}

QString& sharedFolder() {
    static QString folder;
    return folder;
}

QString withSeparator(QString folder) {
    if (!folder.isEmpty() && !folder.endsWith(u'/')) folder += u'/';
    return folder;
}

}  // namespace

TFAbbild::TFAbbild(const QImage& picture, const QString& caption, QWidget* parent)
    : ui::WindowFrame(QStringLiteral("FAbbild%1").arg(++windowCounter()), parent), picture_(picture) {
    // Nothing can show a closed screenshot window again, so it goes.
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    setClosesOnEscape(true);
    sharedFolder() = withSeparator(readScreenshotFolder());

    ui::TopBar* toolbar = topBar();
    QToolButton* position = toolbar->addTitleRow(QStringLiteral("Screenshot"), QStringLiteral("BPosition"));
    connect(position, &QToolButton::clicked, this, &TFAbbild::PositionClick);

    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("ScreenshotBar"));
    bar->setAttribute(Qt::WA_StyledBackground);
    bar->setFixedHeight(40);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 3, 4, 3);
    row->setSpacing(6);
    auto* save = new QPushButton(QStringLiteral("Abbild speichern..."), bar);
    save->setObjectName(QStringLiteral("BSpeichern"));
    save->setFixedHeight(30);
    connect(save, &QPushButton::clicked, this, &TFAbbild::SpeichernClick);
    row->addWidget(save);
    auto* quality = new QWidget(bar);
    auto* qualityColumn = new QVBoxLayout(quality);
    qualityColumn->setContentsMargins(0, 0, 0, 0);
    qualityColumn->setSpacing(0);
    auto* qualityLabel = new QLabel(QStringLiteral("Bild-Qualität"), quality);
    qualityLabel->setAlignment(Qt::AlignCenter);
    qualityLabel->setFont(ui::tahomaFont(7));
    qualityColumn->addWidget(qualityLabel);
    auto* sliderRow = new QHBoxLayout;
    sliderRow->setSpacing(3);
    sliderRow->addWidget(new QLabel(QStringLiteral("-"), quality));
    Slider1 = new QSlider(Qt::Horizontal, quality);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setAccessibleName(QStringLiteral("Bild-Qualität"));
    Slider1->setRange(36, 100);
    Slider1->setSingleStep(1);
    Slider1->setPageStep(8);
    Slider1->setValue(100);
    Slider1->setFixedWidth(110);
    sliderRow->addWidget(Slider1);
    sliderRow->addWidget(new QLabel(QStringLiteral("+"), quality));
    // The number the picture will be saved with, as the slider moves.
    auto* value = new QLabel(quality);
    value->setObjectName(QStringLiteral("LQualitaet"));
    value->setFont(ui::tahomaFont(8, true));
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("100")) + 2);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const auto showValue = [value](int q) { value->setText(QString::number(q)); };
    connect(Slider1, &QSlider::valueChanged, value, showValue);
    showValue(Slider1->value());
    sliderRow->addWidget(value);
    qualityColumn->addLayout(sliderRow);
    row->addWidget(quality);
    row->addStretch(1);
    QToolButton* copy = ui::makeToolButton(bar, QStringLiteral("BKopieren"), ui::IconKind::Clipboard, QString(),
                                           QStringLiteral("In Zwischenablage kopieren"));
    connect(copy, &QToolButton::clicked, this, &TFAbbild::KopierenClick);
    row->addWidget(copy);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (!picture_.isNull()) Image1->setPixmap(QPixmap::fromImage(picture_));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(toolbar);
    column->addWidget(bar);
    column->addWidget(Image1, 1);

    // The picture area is exactly the picture.
    setClientSize(QSize(picture_.width(), picture_.height() + kBarsHeight));
    WindowPos pos = readWindowPos(QStringLiteral("FAbbild"));
    // On a single screen a window left of it could not be reached.
    if (QGuiApplication::screens().size() == 1 && pos.left < 0) pos.left = 0;
    placeAt(QPoint(pos.left, pos.top));
    FAbbild = this;
}

const QString& TFAbbild::screenshotFolder() { return sharedFolder(); }

int TFAbbild::counter() { return windowCounter(); }

QString jpegPathFor(const QString& chosen) {
    const QFileInfo info(chosen);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot > 0 ? name.left(dot) : name;
    return info.dir().filePath(base + QStringLiteral(".jpg"));
}

void TFAbbild::SpeichernClick() {
    if (picture_.isNull()) {
        ui::showWarning(this, QStringLiteral("Kein Bild im Speicher"));
        return;
    }
    ui::runGuarded(this, [&] {
        auto request = ui::FileDialogRequest::save(QStringLiteral("Abbildung speichern"), QStringLiteral("Abbildungen"),
                                                   QStringLiteral("*.jpg"), QStringLiteral("jpg"), sharedFolder());
        request.proposedName = windowTitle();
        const QString chosen = ui::chooseFile(this, request);
        if (chosen.isEmpty()) return;
        const QString path = jpegPathFor(chosen);
        // The dialog asked about the name as typed; a file the changed
        // suffix would replace has not been asked about yet.
        if (path != chosen && QFileInfo::exists(path) &&
            !ui::confirm(this, QStringLiteral("Die Datei „%1“ ist bereits vorhanden.\nMöchten Sie sie ersetzen?")
                                   .arg(QFileInfo(path).fileName())))
            return;
        writeFileAtomically(path, ui::encodeJpeg(picture_, Slider1->value()));
        sharedFolder() = withSeparator(QFileInfo(path).absolutePath());
        writeScreenshotFolder(sharedFolder());
    });
}

void TFAbbild::KopierenClick() {
    if (picture_.isNull()) {
        ui::showWarning(this, QStringLiteral("Kein Bild im Speicher"));
        return;
    }
    QGuiApplication::clipboard()->setImage(picture_);
}

void TFAbbild::PositionClick() {
    ui::runGuarded(this, [&] { SaveWindowPos(QStringLiteral("FAbbild"), x(), y()); });
}

void stampPicture(QImage& picture, int x, int y) {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font = ui::roundedFont(9);
    painter.setFont(font);
    painter.setPen(ui::colours::stamp);
    const QFontMetrics metrics(font);
    painter.drawText(QPoint(x, y + metrics.ascent()), QString::fromLatin1(ProgramName));
}

namespace {

// The picture's window belongs to the window it was taken of: it stays
// above it and goes with it.
TFAbbild* showCapture(QImage bitmap, const QString& caption, int stampX, int stampY, QWidget* owner) {
    if (!bitmap.isNull()) stampPicture(bitmap, stampX, stampY);
    auto* window = new TFAbbild(bitmap, caption, owner);
    window->show();
    return window;
}

QImage blankBitmap(int width, int height) {
    if (width <= 0 || height <= 0) return QImage();
    QImage bitmap(width, height, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    return bitmap;
}

}  // namespace

TFAbbild* CaptureControl(QWidget* control, const QString& caption, int cutBottom, int textRight, int textUp) {
    QImage bitmap = blankBitmap(control->width(), control->height() - cutBottom);
    if (!bitmap.isNull()) {
        QPainter painter(&bitmap);
        painter.drawPixmap(0, 0, control->grab());
    }
    return showCapture(bitmap, caption, bitmap.width() - textRight, bitmap.height() - textUp, control->window());
}

TFAbbild* CaptureMainWindow(QWidget* window, const QString& caption, int width, int height) {
    QImage bitmap = blankBitmap(width, height);
    if (!bitmap.isNull()) {
        QPainter painter(&bitmap);
        painter.drawPixmap(0, 0, window->grab(QRect(5, 250, width, height)));
    }
    return showCapture(bitmap, caption, bitmap.width() - 220, bitmap.height() - 14, window->window());
}

}  // namespace korbisto::app
