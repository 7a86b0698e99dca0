#pragma once

#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <functional>

namespace korbisto {
class TipDocument;
}

namespace korbisto::ui {

// A label that shows a picture painted for the screen it is on: at a scale
// factor of 2 the picture has twice the pixels and stays sharp.
class PictureLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;
    // Paints the picture for a device pixel ratio.
    using Painter = std::function<QPixmap(qreal ratio)>;
    void setPicture(Painter painter);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintPicture();

    Painter painter_;
    qreal ratio_ = 0;
};

// A label that answers like a link: a picture, a mail address. A left
// click, or Enter or Space while it has the keyboard, follows it; screen
// readers see a link named by its text, else by its hint.
class ClickableLabel : public PictureLabel {
    Q_OBJECT

public:
    explicit ClickableLabel(const QString& text = QString(), QWidget* parent = nullptr);
    explicit ClickableLabel(QWidget* parent) : ClickableLabel(QString(), parent) {}

    std::function<void()> onClick;
    void activate();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// A label at a fixed place of a window laid out in pixels.
QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter, const QString& objectName = QString());

// A word-wrapped text block; its hand hyphenation is undone.
QLabel* makeParagraph(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font);

// A one-line label for texts that may be longer than it is wide, such as a
// file name: what does not fit is elided with "…" in the middle, and the
// whole text is the label's hint.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return full_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void elide();

    QString full_;
};

ElidedLabel* makeElidedLabel(QWidget* parent, const QRect& geometry, const QFont& font, const QString& objectName);

// The row count of a document as LReihen shows it.
QString rowCountText(const TipDocument& document);
// Keeps the file label (LDatei) and the count label (LReihen) of a grid of
// rows in step with its document.
void showDocumentLabels(TipDocument& document, ElidedLabel* fileLabel, QLabel* countLabel);

}  // namespace korbisto::ui
