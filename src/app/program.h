#pragma once

#include <QPointer>

class QApplication;

namespace korbisto::app {

class TFStart;
class TFGewonnen;
class TFEingabe;
class TFKick;

// The windows of a started program.
struct StartedProgram {
    QPointer<TFStart> start;
    QPointer<TFGewonnen> main;
    QPointer<TFEingabe> entry;    // belongs to the main window
    QPointer<TFKick> generator;   // belongs to the main window
};

// Everything before the message loop: the look, the start window (which
// makes the folders), then the permanent windows in their order. The main
// window stays hidden until the start window is left.
StartedProgram startProgram(QApplication& app);

// The main window while the program runs.
extern QPointer<TFGewonnen> FGewonnen;

}  // namespace korbisto::app
