#include "program.h"

#include "entry_window.h"
#include "generator_window.h"
#include "main_window.h"
#include "start_window.h"

#include "core/paths.h"
#include "ui/style.h"

#include <QApplication>
#include <QLocale>

namespace korbisto::app {

QPointer<TFGewonnen> FGewonnen;

StartedProgram startProgram(QApplication& app) {
    app.setApplicationName(QString::fromLatin1(ProgramName));
    app.setApplicationVersion(QString::fromLatin1(ProgramVersion));
    // Before the first window: Wayland names a window's program by it.
    QGuiApplication::setDesktopFileName(QStringLiteral(KORBISTO_DESKTOP_ID));
    // The start window is hidden for a moment during the fade, before the
    // main window shows; the program ends with the main window instead.
    app.setQuitOnLastWindowClosed(false);
    ui::applyStyle(app);
    ui::installGermanTranslations(app);
    // Dates and sizes in Qt's own dialogs follow the program, not the system.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    StartedProgram program;
    program.start = new TFStart;
    program.start->show();
    program.start->repaint();

    struct Done {
        QPointer<TFStart> start;
        ~Done() {
            if (start) start->setInitializationDone(true);
        }
    } done{program.start};

    program.main = new TFGewonnen;
    FGewonnen = program.main;
    QObject::connect(program.main, &TFGewonnen::closed, &app, &QApplication::quit);
    // The entry and generator windows belong to the main window: they stay
    // in front of it and end with it.
    program.entry = &program.main->entryWindow();
    program.generator = &program.main->generatorWindow();

    for (const QString& file : app.arguments().mid(1)) program.main->openFile(file);

    if (program.start) program.start->setMainWindow(program.main);
    return program;
}

}  // namespace korbisto::app
