#include "test_env.h"

#include "core/error.h"
#include "core/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace korbisto::test {

void isolateEnvironment() {
    static std::unique_ptr<QTemporaryDir> home;
    if (home) return;
    home = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/korbisto-test-XXXXXX"));
    const QByteArray root = home->path().toUtf8();
    setenv("HOME", root.constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    setenv("XDG_CACHE_HOME", (root + "/cache").constData(), 1);
    QDir().mkpath(home->path() + QStringLiteral("/data"));
    setAppPaths(computeAppPaths(home->path() + QStringLiteral("/program")));
}

namespace {
std::unique_ptr<QTemporaryDir>& currentDir() {
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}
}  // namespace

TempDataFolder::TempDataFolder() {
    currentDir() = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/korbisto-case-XXXXXX"));
    root_ = currentDir()->path();
    const QByteArray data = (root_ + QStringLiteral("/appdata")).toUtf8();
    setenv("XDG_DATA_HOME", data.constData(), 1);
    QDir().mkpath(root_ + QStringLiteral("/appdata"));
    setAppPaths(computeAppPaths(root_ + QStringLiteral("/program")));
}

TempDataFolder::~TempDataFolder() { currentDir().reset(); }

QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const KorbistoError& e) {
        return e.message();
    }
    return QString();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

}  // namespace korbisto::test
