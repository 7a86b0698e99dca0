#include "main_window.h"
#include "program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const korbisto::app::StartedProgram program = korbisto::app::startProgram(app);
    const int result = app.exec();
    delete program.main.data();
    return result;
}
