#include "main_window.h"
#include "pictures.h"
#include "program.h"
#include "program_call.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    if (const std::optional<int> answered = korbisto::app::answerWithoutWindow(argc, argv)) return *answered;
    QApplication app(argc, argv);
    QIcon icon;
    // Painted at start in the sizes title bars and task switchers take.
    for (const int size : {16, 32, 48}) icon.addPixmap(QPixmap::fromImage(korbisto::app::programIcon(size)));
    QApplication::setWindowIcon(icon);
    const korbisto::app::StartedProgram program = korbisto::app::startProgram(app);
    const int result = app.exec();
    delete program.main.data();
    return result;
}
