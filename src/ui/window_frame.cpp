#include "window_frame.h"

#include "forms.h"
#include "style.h"

#include "core/paths.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

namespace korbisto::ui {

namespace {

Qt::WindowFlags flagsOf(WindowFrame::Kind kind) {
    switch (kind) {
    case WindowFrame::Kind::Splash:
        return Qt::Window | Qt::FramelessWindowHint;
    case WindowFrame::Kind::Dialog:
        return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
               Qt::WindowCloseButtonHint;
    case WindowFrame::Kind::Tool:
        break;
    }
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
}

}  // namespace

bool platformHasWindowOpacity() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform == QLatin1String("windows") ||
           platform == QLatin1String("cocoa");
}

TopBar::TopBar(QWidget* window) : QWidget(window) {
    setObjectName(QStringLiteral("Toolbar"));
    setAttribute(Qt::WA_StyledBackground);
    setFixedHeight(kHeight);
    row_ = new QHBoxLayout(this);
    row_->setContentsMargins(4, 4, 4, 4);
    row_->setSpacing(6);
}

QToolButton* TopBar::addIconButton(const QString& objectName, IconKind icon, const QString& hint) {
    QToolButton* button = makeToolButton(this, objectName, icon, QString(), hint, 18);
    button->setFixedSize(kIconButton, kIconButton);
    row_->addWidget(button);
    return button;
}

QToolButton* TopBar::addCloseButton() {
    QToolButton* button = addIconButton(QStringLiteral("BClose"), IconKind::Close, QStringLiteral("Schließen"));
    connect(button, &QToolButton::clicked, window(), &QWidget::close);
    return button;
}

QLabel* TopBar::addTitle(const QString& text) {
    auto* title = new QLabel(text, this);
    title->setObjectName(QStringLiteral("LTitel"));
    title->setFont(tahomaFont(10, true));
    row_->addWidget(title);
    return title;
}

void TopBar::addStretch() { row_->addStretch(1); }

QToolButton* TopBar::addPositionButton(const QString& objectName) {
    return addIconButton(objectName, IconKind::Pin, QStringLiteral("Position des Fensters speichern"));
}

QLabel* TopBar::addEmblem(const QString& objectName, IconKind icon) {
    auto* emblem = new QLabel(this);
    emblem->setObjectName(objectName);
    emblem->setPixmap(makeIcon(icon, 22).pixmap(22, 22));
    emblem->setAlignment(Qt::AlignCenter);
    emblem->setFixedSize(kIconButton, kIconButton);
    row_->addWidget(emblem);
    return emblem;
}

void TopBar::addWidget(QWidget* widget) { row_->addWidget(widget); }

QToolButton* TopBar::addTitleRow(const QString& title, const QString& positionButton) {
    addCloseButton();
    addTitle(title);
    addStretch();
    return addPositionButton(positionButton);
}

WindowFrame::WindowFrame(const QString& objectName, QWidget* parent, Kind kind) : QWidget(parent, flagsOf(kind)) {
    setObjectName(objectName);
    setWindowTitle(programCaption());
}

void WindowFrame::setClientSize(QSize size) {
    setFixedSize(size);
    if (!surface_) {
        surface_ = new QWidget(this);
        surface_->setObjectName(QStringLiteral("Surface"));
        surface_->lower();
    }
    surface_->setGeometry(QRect(QPoint(0, 0), size));
    if (topBar_) topBar_->setGeometry(0, 0, size.width(), TopBar::kHeight);
}

void WindowFrame::setResizable(QSize minimum) {
    setMinimumSize(minimum);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void WindowFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (surface_) surface_->setGeometry(rect());
    if (topBar_) topBar_->setGeometry(0, 0, width(), TopBar::kHeight);
}

void WindowFrame::placeAt(QPoint stored, QPoint fallback) { placeWindow(*this, stored, fallback); }

void WindowFrame::keyPressEvent(QKeyEvent* event) {
    if (closesOnEscape_ && event->matches(QKeySequence::Cancel)) {
        event->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

TopBar* WindowFrame::topBar() {
    if (!topBar_) {
        topBar_ = new TopBar(this);
        topBar_->setGeometry(0, 0, width(), TopBar::kHeight);
    }
    return topBar_;
}

}  // namespace korbisto::ui
