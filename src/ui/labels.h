#pragma once

#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>

#include <functional>

namespace korbisto {
class TipDocument;
}

namespace korbisto::ui {

// A label that answers a left click like a link: a picture, a mail address.
class ClickableLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
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
