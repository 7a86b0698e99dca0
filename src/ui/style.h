#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

class QApplication;

namespace korbisto::ui {

// The look of the program: Fusion with one style sheet ("MacX"), the skin's
// own palette, and the fonts of the layout with free stand-ins where the
// originals are missing.
void applyStyle(QApplication& app);

// Every colour role of every group, made from the skin: a dark system theme
// leaves the program's windows as they are.
QPalette skinPalette();

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

// Colours the program paints itself and the skin's palette is made of;
// everything else is in the style sheet.
namespace colours {
inline const QColor stamp{0, 64, 128};
inline const QColor fixedCell{236, 236, 236};
inline const QColor ink{0x1d, 0x1d, 0x1f};
inline const QColor surface{0xec, 0xee, 0xf1};
inline const QColor paper{0xff, 0xff, 0xff};
inline const QColor focus{0x3d, 0x7b, 0xd9};
inline const QColor greyedInk{0x9a, 0x9d, 0xa2};
}  // namespace colours

}  // namespace korbisto::ui
