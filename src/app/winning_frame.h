#pragma once

#include <QFrame>

class QLabel;

namespace korbisto::ui {
class FilteredLineEdit;
}

namespace korbisto::app {

// One match of the winning row: its number above the edit for its result.
class TFfrAnzeigeGew : public QFrame {
    Q_OBJECT

public:
    static constexpr int kWidth = 21;
    static constexpr int kHeight = 35;

    explicit TFfrAnzeigeGew(QWidget* parent = nullptr);

    QLabel* PNr;
    ui::FilteredLineEdit* ETz;
};

}  // namespace korbisto::app
