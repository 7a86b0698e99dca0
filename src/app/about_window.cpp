#include "about_window.h"

#include "pictures.h"
#include "web_links.h"

#include "core/paths.h"
#include "ui/forms.h"
#include "ui/labels.h"
#include "ui/shell.h"
#include "ui/style.h"

#include <QLabel>
#include <QPushButton>

namespace korbisto::app {

TFInfo::TFInfo(QWidget* parent) : ui::WindowFrame(QStringLiteral("FInfo"), parent, Kind::Dialog) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromLatin1(ProgramName));
    setClientSize(QSize(400, 300));
    setClosesOnEscape(true);

    auto* background = new ui::PictureLabel(this);
    background->setObjectName(QStringLiteral("Image1"));
    background->setPicture(&aboutPicture);
    background->setGeometry(0, 0, 400, 300);

    LVersion =
        ui::makeLabel(this, QStringLiteral("Version ") + QString::fromLatin1(ProgramVersion), QRect(200, 78, 186, 18),
                      ui::tahomaFont(9, true), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("LVersion"));

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PKontakt"));
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setGeometry(16, 120, 240, 118);
    panel->setCursor(Qt::ArrowCursor);
    ui::makeLabel(panel, QStringLiteral("Der Autor:"), QRect(10, 8, 220, 18), ui::tahomaFont(9, true));
    const QStringList lines = contactLines();
    for (int i = 0; i < lines.size(); ++i) {
        QLabel* line = ui::makeLabel(panel, lines[i], QRect(10, 30 + 18 * i, 220, 16), ui::tahomaFont(8));
        // The two last lines are kept for a maker who wants them shown.
        line->setVisible(i < lines.size() - 2);
    }
    auto* mail = new ui::ClickableLabel(supportAddress(), panel);
    mail->setObjectName(QStringLiteral("LMail"));
    QFont underlined = ui::tahomaFont(8);
    underlined.setUnderline(true);
    mail->setFont(underlined);
    mail->setGeometry(10, 30 + 18 * (lines.size() - 2) + 6, 220, 16);
    mail->setCursor(Qt::PointingHandCursor);
    mail->onClick = [this] { LMailClick(); };
    LMail = mail;

    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    close->setObjectName(QStringLiteral("BClose"));
    close->setGeometry(300, 258, 86, 28);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Enter closes the window; the mail link is a Tab away.
    close->setFocus();

    if (parent) move(parent->geometry().center() - rect().center());
}

void TFInfo::LMailClick() { ui::shell().openUrl(supportMailUrl()); }

TFInfo* showAboutWindow(QWidget* parent) {
    return static_cast<TFInfo*>(ui::showSingleWindow(QStringLiteral("FInfo"), [parent] { return new TFInfo(parent); }));
}

}  // namespace korbisto::app
