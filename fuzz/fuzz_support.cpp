#include "fuzz_support.h"

#include "core/paths.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <unistd.h>

namespace korbisto::fuzz {

QString inputFile(const std::uint8_t* data, size_t size) {
    static const QString path = QDir::tempPath() + QStringLiteral("/korbisto-fuzz-%1.bin").arg(getpid());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    if (f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
        std::abort();
    return path;
}

void privateDataFolder() {
    static bool done = false;
    if (done) return;
    done = true;
    const QString root = QDir::tempPath() + QStringLiteral("/korbisto-fuzz-home-%1").arg(getpid());
    QDir().mkpath(root);
    setenv("XDG_DATA_HOME", root.toUtf8().constData(), 1);
    setAppPaths(computeAppPaths(root + QStringLiteral("/program")));
    setUpFolders(appPaths());
}

}  // namespace korbisto::fuzz
