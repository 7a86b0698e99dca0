#include "program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    korbisto::app::startProgram(app);
    return app.exec();
}
