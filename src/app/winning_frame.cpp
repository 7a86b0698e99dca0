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
    PNr->setAutoFillBackground(true);
    QPalette palette = PNr->palette();
    palette.setColor(QPalette::Window, ui::colours::numberPanel);
    palette.setColor(QPalette::WindowText, Qt::white);
    PNr->setPalette(palette);
    PNr->setStyleSheet(QStringLiteral("background: rgb(127,127,127); color: white;"));

    ETz = new ui::FilteredLineEdit(&ui::FilteredLineEdit::winningRowFilter, this);
    ETz->setObjectName(QStringLiteral("ETz"));
    ETz->setGeometry(0, 16, kWidth, kHeight - 16);
    ETz->setAlignment(Qt::AlignCenter);
    ETz->setFont(ui::tahomaFont(9, true));
    ETz->setStyleSheet(QStringLiteral("QLineEdit { padding: 0px; border-radius: 0px; }"));
}

}  // namespace korbisto::app
