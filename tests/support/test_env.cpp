#include "test_env.h"

#include "core/error.h"
#include "core/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

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

TempDataFolder::~TempDataFolder() {
    // By the bytes of the names: QTemporaryDir cannot remove a name that is no UTF-8.
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(QFile::encodeName(root_).toStdString()), ignored);
    currentDir().reset();
}

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

Fifo::Fifo(const QString& path, int seconds) {
    const QByteArray name = QFile::encodeName(path);
    if (::mkfifo(name.constData(), 0600) != 0) {
        ADD_FAILURE() << "mkfifo " << name.constData();
        return;
    }
    watchdog_ = std::thread([this, name, seconds] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (std::chrono::steady_clock::now() < deadline) continue;
            // Succeeds only while a reader has the FIFO open, blocked or not.
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                released_ = true;
                ::close(fd);
            }
        }
    });
}

Fifo::~Fifo() {
    stop_ = true;
    if (watchdog_.joinable()) watchdog_.join();
}

bool makeCharacterDevice(const QByteArray& path, unsigned minor) {
    return ::mknod(path.constData(), S_IFCHR | 0666, makedev(1, minor)) == 0;
}

QString kindAt(const QByteArray& path) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0) return QStringLiteral("nothing");
    if (S_ISREG(st.st_mode)) return QStringLiteral("file");
    if (S_ISDIR(st.st_mode)) return QStringLiteral("folder");
    if (S_ISLNK(st.st_mode)) return QStringLiteral("link");
    if (S_ISFIFO(st.st_mode)) return QStringLiteral("fifo");
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return QStringLiteral("device");
    return QStringLiteral("other");
}

SpecialTargets::SpecialTargets(TempDataFolder& folder)
    : fifoPath_(folder.path(QStringLiteral("rohr.krsc"))), fifo_(fifoPath_) {
    const QString link = folder.path(QStringLiteral("verweis.krsc"));
    EXPECT_TRUE(QFile::link(fifoPath_, link));
    paths_ << fifoPath_ << link;
    const QString device = folder.path(QStringLiteral("geraet.krsc"));
    device_ = makeCharacterDevice(QFile::encodeName(device), 3);
    if (device_) paths_ << device;
}

void SpecialTargets::expectUnchanged() const {
    EXPECT_EQ(kindAt(QFile::encodeName(paths_[0])), QStringLiteral("fifo"));
    EXPECT_EQ(kindAt(QFile::encodeName(paths_[1])), QStringLiteral("link"));
    if (device_) {
        EXPECT_EQ(kindAt(QFile::encodeName(paths_[2])), QStringLiteral("device"));
    }
    EXPECT_FALSE(fifo_.releasedAReader());
}

}  // namespace korbisto::test
