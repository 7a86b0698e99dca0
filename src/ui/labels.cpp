#include "labels.h"

#include "accessibility.h"
#include "captions.h"

#include "core/german.h"
#include "core/tip_document.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace korbisto::ui {

void PictureLabel::setPicture(Painter painter) {
    painter_ = std::move(painter);
    paintPicture();
}

void PictureLabel::paintPicture() {
    ratio_ = devicePixelRatioF();
    setPixmap(painter_(ratio_));
}

void PictureLabel::paintEvent(QPaintEvent* event) {
    // Moved to a screen of another scale factor: painted anew for it.
    if (painter_ && !qFuzzyCompare(ratio_, devicePixelRatioF())) paintPicture();
    QLabel::paintEvent(event);
}

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent) : PictureLabel(text, parent) {
    setFocusPolicy(Qt::StrongFocus);
    installAccessibility();
}

void ClickableLabel::activate() {
    if (onClick) onClick();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) activate();
    QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!event->isAutoRepeat()) activate();
        event->accept();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
    PictureLabel::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font,
                  Qt::Alignment alignment, const QString& objectName) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment);
    if (!objectName.isEmpty()) label->setObjectName(objectName);
    return label;
}

QLabel* makeParagraph(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font) {
    QLabel* label = makeLabel(parent, displayCaption(text), geometry, font, Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

void ElidedLabel::setFullText(const QString& text) {
    full_ = text;
    elide();
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) elide();
}

void ElidedLabel::elide() {
    const int room = contentsRect().width() - 2 * margin() - indent();
    const QString shown = QFontMetrics(font()).elidedText(full_, Qt::ElideMiddle, std::max(room, 0));
    if (shown != text()) setText(shown);
    setToolTip(shown == full_ ? QString() : full_);
}

ElidedLabel* makeElidedLabel(QWidget* parent, const QRect& geometry, const QFont& font, const QString& objectName) {
    auto* label = new ElidedLabel(parent);
    label->setObjectName(objectName);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(geometry);
    return label;
}

QString rowCountText(const TipDocument& document) {
    return document.countStyle() == TipDocument::CountStyle::Grouped ? formatCount(document.tipRowCount())
                                                                     : QString::number(document.tipRowCount());
}

void showDocumentLabels(TipDocument& document, ElidedLabel* fileLabel, QLabel* countLabel) {
    const auto show = [&document, fileLabel, countLabel] {
        fileLabel->setFullText(document.fileName());
        countLabel->setText(rowCountText(document));
    };
    QObject::connect(&document, &TipDocument::labelsChanged, fileLabel, show);
    show();
}

}  // namespace korbisto::ui
