#include "match_day_window.h"

#include "main_window.h"

#include "core/clock.h"
#include "core/german.h"
#include "core/paths.h"
#include "online/donation_status.h"
#include "online/download.h"
#include "online/server.h"
#include "ui/keyboard.h"
#include "ui/labels.h"
#include "ui/message_boxes.h"
#include "ui/style.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace korbisto::app {

namespace {

// The three 12 x 12 pictures of the status: neutral, success, failure,
// painted for a device pixel ratio.
QPixmap statusPixmap(int picture, qreal ratio) {
    QPixmap pixmap(QSize(12, 12) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colours[] = {QColor(170, 174, 180), QColor(40, 150, 70), QColor(200, 50, 40)};
    p.setPen(Qt::NoPen);
    p.setBrush(colours[picture]);
    p.drawEllipse(QRectF(0.5, 0.5, 11, 11));
    p.setPen(QPen(ui::colours::paper, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (picture == 1) p.drawPolyline(QPolygonF{QPointF(3.2, 6.2), QPointF(5.2, 8.2), QPointF(8.8, 4)});
    if (picture == 2) {
        p.drawLine(QPointF(4, 4), QPointF(8, 8));
        p.drawLine(QPointF(8, 4), QPointF(4, 8));
    }
    return pixmap;
}

}  // namespace

TFsptag::TFsptag(TFGewonnen* main) : ui::WindowFrame(QStringLiteral("Fsptag"), main, Kind::Dialog), main_(main) {
    setWindowTitle(QString::fromLatin1(ProgramName));
    setClientSize(QSize(260, 210));
    setClosesOnEscape(true);

    ui::makeLabel(this, QStringLiteral("Datenservice - ohne Verpflichtung, ohne Gewähr"), QRect(10, 8, 244, 16),
                  ui::tahomaFont(7, true));
    // The box's caption needs two lines; a click on them ticks it as on the box.
    cbSofort = new QCheckBox(this);
    cbSofort->setObjectName(QStringLiteral("cbSofort"));
    cbSofort->setGeometry(10, 30, 18, 20);
    cbSofort->setChecked(true);
    auto* caption = new ui::ClickableLabel(QStringLiteral("Heruntergeladenen Spieltag für die Auswertung einlesen"), this);
    caption->setFont(ui::tahomaFont(8));
    caption->setWordWrap(true);
    caption->setGeometry(30, 28, 222, 28);
    caption->onClick = [this] { cbSofort->toggle(); };
    // The keys tick the box itself; its caption is no stop of its own.
    caption->setFocusPolicy(Qt::NoFocus);
    cbSofort->setAccessibleName(caption->text());

    QLabel* dateCaption =
        ui::makeLabel(this, QStringLiteral("Spieltag (1. Tag)"), QRect(150, 62, 100, 14), ui::tahomaFont(8));
    BAbrufen = new QPushButton(QStringLiteral("Spieltag abrufen"), this);
    BAbrufen->setObjectName(QStringLiteral("BAbrufen"));
    BAbrufen->setGeometry(10, 76, 112, 28);
    ui::pressOnEnter(BAbrufen);
    connect(BAbrufen, &QPushButton::clicked, this, &TFsptag::AbrufenClick);
    Image1 = new ui::PictureLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(128, 82, 16, 16);
    Image1->setAlignment(Qt::AlignCenter);
    ComboDate2 = new QComboBox(this);
    ComboDate2->setObjectName(QStringLiteral("ComboDate2"));
    ComboDate2->setEditable(false);
    ComboDate2->setGeometry(150, 77, 100, 26);
    ComboDate2->addItems(matchDaySaturdays(Now()));
    ComboDate2->setCurrentIndex(ComboDate2->count() - 1);
    // A screen reader names a combo box by its label; its list by itself.
    dateCaption->setBuddy(ComboDate2);
    ComboDate2->view()->setAccessibleName(dateCaption->text());

    QLabel* note = ui::makeParagraph(
        this, QStringLiteral("Heruntergeladene Spieltage werden automa- tisch im Spieltag-Ordner gespeichert"),
        QRect(10, 116, 240, 34), ui::tahomaFont(8, true));
    note->setObjectName(QStringLiteral("LGespeichert"));

    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    close->setObjectName(QStringLiteral("BClose"));
    close->setGeometry(170, 172, 80, 28);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    ui::pressOnEnter(close);
    // The latest Saturday is chosen: Enter fetches it.
    BAbrufen->setFocus();

    Timer2 = new QTimer(this);
    Timer2->setInterval(300);
    connect(Timer2, &QTimer::timeout, this, &TFsptag::Timer2Timer);
    Timer3 = new QTimer(this);
    Timer3->setInterval(5000);
    Timer3->setSingleShot(true);
    connect(Timer3, &QTimer::timeout, this, &TFsptag::Timer3Timer);
    Timer3->start();
    showStatus(0);

    if (main) move(main->geometry().center() - rect().center());
}

void TFsptag::showStatus(int picture) {
    static const char* const names[] = {"Kein Abruf", "Abruf gelungen", "Abruf gescheitert"};
    status_ = picture;
    Image1->setPicture([picture](qreal ratio) { return statusPixmap(picture, ratio); });
    Image1->setAccessibleName(QString::fromLatin1(names[picture]));
}

void TFsptag::Timer2Timer() { Image1->setVisible(!Image1->isVisible()); }

void TFsptag::Timer3Timer() {
    Timer2->stop();
    showStatus(0);
    Image1->show();
    Timer3->stop();
}

void TFsptag::AbrufenClick() {
    // One press at a time; the button is off meanwhile.
    if (busy_) return;
    busy_ = true;
    ui::setEnabledKeepingFocus(BAbrufen, false);
    setCursor(Qt::BusyCursor);
    const QDate saturday = parseDate(ComboDate2->currentText());
    const bool future = matchDayInFuture(Now(), saturday);
    // The result comes from the event loop, never inside a network signal,
    // so its box may hold the loop.
    download_ = DownloadMatchDay(saturday, future, this, [this, saturday](const MatchDayResult& result) {
        matchDayDone(result, matchDayFileName(formatDate(saturday)));
    });
}

void TFsptag::matchDayDone(const MatchDayResult& result, const QString& name) {
    download_ = nullptr;
    if (const QString message = matchDayMessage(result); !message.isEmpty()) {
        if (result.outcome == MatchDayOutcome::Unverified)
            ui::showWarning(this, message);
        else
            ui::showInformation(this, message);
    }
    // After the box, so that the blink is seen.
    showStatus(result.outcome == MatchDayOutcome::Stored ? 1 : 2);
    Image1->show();
    Timer2->start();
    Timer3->start();
    if (result.outcome == MatchDayOutcome::Stored && cbSofort->isChecked())
        ui::runGuarded(this, [&] { main_->SpieltagEinlesen(appPaths().MatchDayFolder + name); });
    // Whatever came of it, the donation status is asked anew.
    download_ = GetDonationStatus(this, [this](const DonationStatus& status) {
        download_ = nullptr;
        main_->setDonationStatus(status.line);
        endPress();
    });
}

void TFsptag::endPress() {
    busy_ = false;
    ui::setEnabledKeepingFocus(BAbrufen, true);
    unsetCursor();
    emit finished();
}

void TFsptag::hideEvent(QHideEvent* event) {
    // A download the window no longer shows is not finished unseen.
    if (download_) {
        download_->cancel();
        download_->deleteLater();
        download_ = nullptr;
        endPress();
    }
    ui::WindowFrame::hideEvent(event);
}

}  // namespace korbisto::app
