#include "fuzz_support.h"

#include "core/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

namespace korbisto::fuzz {

namespace {

int memoryFile() {
    static const int fd = [] {
        const int f = ::memfd_create("korbisto-fuzz-input", MFD_CLOEXEC);
        if (f < 0) std::abort();
        return f;
    }();
    return fd;
}

void writeAll(int fd, const std::uint8_t* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) std::abort();
        done += static_cast<size_t>(n);
    }
}

}  // namespace

QString inputFile(const std::uint8_t* data, size_t size) {
    const int fd = memoryFile();
    // Opening the /proc link gives the reader a descriptor of its own that
    // starts at offset 0, as a path opened by name would.
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);
    writeAll(fd, data, size);
    if (::ftruncate(fd, static_cast<off_t>(size)) != 0) std::abort();
    return path;
}

void checkMessage(const QString& message, qsizetype longest) {
    check(message.size() <= longest);
    for (const QChar c : message) check(c == u'\n' || (c.unicode() >= 32 && c.category() != QChar::Other_Control &&
                                           c.category() != QChar::Other_Format));
}

void privateDataFolder() {
    static std::unique_ptr<QTemporaryDir> root;
    if (root) return;
    // Settings are saved atomically, with a sync each time; on tmpfs that costs nothing.
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    root = std::make_unique<QTemporaryDir>(base + QStringLiteral("/korbisto-fuzz-XXXXXX"));
    if (!root->isValid()) std::abort();
    setenv("XDG_DATA_HOME", QFile::encodeName(root->path()).constData(), 1);
    setAppPaths(computeAppPaths(root->path() + QStringLiteral("/program")));
    setUpFolders(appPaths());
}

}  // namespace korbisto::fuzz
