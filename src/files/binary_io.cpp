#include "binary_io.h"

#include "core/error.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korbisto {

namespace {
int lastError(int fallback = EIO) { return errno != 0 ? errno : fallback; }
}  // namespace

InputFile::InputFile(const QString& path) : path_(path) {
    const QByteArray native = QFile::encodeName(path);
    do {
        fd_ = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) throw ioError(lastError());
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw ioError(EISDIR);
    }
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

qint64 InputFile::read(char* buffer, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd_, buffer + done, static_cast<size_t>(size - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw ioError(lastError());
        }
        if (n == 0) break;
        done += n;
    }
    return done;
}

void InputFile::readExactly(char* buffer, qint64 size) {
    if (read(buffer, size) != size) throw endOfFileError();
}

qint64 InputFile::size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return 0;
    return static_cast<qint64>(st.st_size);
}

QByteArray readFileBytes(const QString& path, qint64 limit) {
    InputFile file(path);
    const qint64 expected = std::min(file.size(), limit);
    QByteArray bytes;
    bytes.resize(expected);
    qint64 got = file.read(bytes.data(), expected);
    bytes.resize(got);
    // Files that grow while read, or report no size (pipes), are read to the end.
    char chunk[65536];
    while (bytes.size() < limit) {
        const qint64 n = file.read(chunk, std::min<qint64>(sizeof chunk, limit - bytes.size()));
        if (n <= 0) break;
        bytes.append(chunk, n);
    }
    return bytes;
}

AtomicFile::AtomicFile(const QString& path) : file_(std::make_unique<QSaveFile>(path)) {
    const QFileInfo info(path);
    if (!info.dir().exists()) throw ioError(ENOENT);
    if (info.isDir()) throw ioError(EISDIR);
    // Replacing a file the user may not write would bypass its protection.
    if (info.exists() && !info.isWritable()) throw ioError(EACCES);
    errno = 0;
    if (!file_->open(QIODevice::WriteOnly)) throw ioError(lastError(EACCES));
}

AtomicFile::~AtomicFile() {
    if (file_ && file_->isOpen()) file_->cancelWriting();
}

void AtomicFile::write(const char* data, qint64 size) {
    errno = 0;
    if (file_->write(data, size) != size) {
        const int error = lastError();
        file_->cancelWriting();
        throw ioError(error);
    }
}

void AtomicFile::commit() {
    errno = 0;
    if (!file_->commit()) throw ioError(lastError());
}

void writeFileAtomically(const QString& path, const QByteArray& data) {
    AtomicFile file(path);
    file.write(data);
    file.commit();
}

}  // namespace korbisto
