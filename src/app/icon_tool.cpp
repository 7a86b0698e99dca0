// Writes the program's icon in the sizes of the hicolor theme:
// korbisto-icons FOLDER  ->  FOLDER/NxN/apps/korbisto.png
#include "pictures.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: korbisto-icons ORDNER\n");
        return 2;
    }
    // Painting needs no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder) || !korbisto::app::programIcon(size).save(folder + QStringLiteral("/korbisto.png"))) {
            std::fprintf(stderr, "%s: nicht geschrieben\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
