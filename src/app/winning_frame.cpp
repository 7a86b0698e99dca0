#include "winning_frame.h"

#include "ui/filtered_edit.h"
#include "ui/style.h"

#include <QLabel>

namespace korbisto::app {

TFfrAnzeigeGew::TFfrAnzeigeGew(QWidget* parent) : QFrame(parent) {
    setFixedSize(kWidth, kHeight);
    PNr = new QLabel(this);
    PNr->setObjectName(QStringLiteral("PNr"));
    PNr->setGeometry(0, 0, kWidth, 16);
    PNr->setAlignment(Qt::AlignCenter);
    PNr->setFont(ui::tahomaFont(8));

    ETz = new ui::FilteredLineEdit(&ui::FilteredLineEdit::winningRowFilter, this);
    ETz->setObjectName(QStringLiteral("ETz"));
    ETz->setGeometry(0, 16, kWidth, kHeight - 16);
    ETz->setAlignment(Qt::AlignCenter);
    ETz->setFont(ui::tahomaFont(9, true));
}

}  // namespace korbisto::app
