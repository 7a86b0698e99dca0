#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QApplication;

namespace korbisto::ui {

// The look of the program: Fusion with one style sheet ("MacX"), and the
// fonts of the layout with free stand-ins where the originals are missing.
void applyStyle(QApplication& app);

// Qt's own dialogs in German, whatever the system's language; without the
// translations installed they stay English.
void installGermanTranslations(QApplication& app);

// Sizes are given in points as laid out and turned into pixels at 96 dpi, so
// the fixed pixel layout holds whatever the screen's dpi.
int pixelsOfPoints(int points);

// Tahoma (stand-in Liberation Sans), the default font of the windows.
QFont tahomaFont(int points, bool bold = false);
// Calibri (stand-in Carlito, which has the same metrics).
QFont calibriFont(int points, bool bold = false);
// Arial Rounded MT Bold (stand-in Comfortaa Bold).
QFont roundedFont(int points);
// Arial (stand-in Liberation Sans, which has the same metrics), sized in
// pixels as text fields are laid out.
QFont arialPixelFont(int pixels);

// The family that stands in for `wanted`: the font itself if installed, else
// the first installed of the stand-ins.
QString fontFamily(const QString& wanted);

namespace colours {
inline const QColor donationText{0, 64, 128};
inline const QColor donationAmount{0, 128, 0};
inline const QColor matchDayPlan{255, 210, 191};
inline const QColor pairing{255, 244, 239};
inline const QColor numberPanel{127, 127, 127};
inline const QColor evaluationNote{0, 128, 0};
inline const QColor fixedCell{236, 236, 236};
inline const QColor gridLine{192, 192, 192};
}  // namespace colours

}  // namespace korbisto::ui
