#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QWidget>

namespace korbisto::ui {

// Shares (0 to 1) as bars side by side, each with its percentage above and
// its caption below; the scale always runs to 100 %, so charts compare.
class BarChart : public QWidget {
    Q_OBJECT

public:
    struct Bar {
        QString caption;
        double share = 0;
        QColor colour;
    };

    explicit BarChart(QWidget* parent = nullptr);

    void setTitle(const QString& title);
    void setBars(const QList<Bar>& bars);
    const QList<Bar>& bars() const { return bars_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    QList<Bar> bars_;
};

}  // namespace korbisto::ui
