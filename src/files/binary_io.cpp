#include "binary_io.h"

#include "core/error.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace korbisto {

namespace {
int lastError(int fallback = EIO) { return errno != 0 ? errno : fallback; }

#ifdef _WIN32
int openForReading(const QString& path) {
    return ::_wopen(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()), _O_RDONLY | _O_BINARY);
}
long long readSome(int fd, char* buffer, long long size) {
    return ::_read(fd, buffer, static_cast<unsigned>(std::min<long long>(size, 1 << 30)));
}
int closeFile(int fd) { return ::_close(fd); }
bool statFile(int fd, long long& size, bool& isDir) {
    struct _stat64 st {};
    if (::_fstat64(fd, &st) != 0) return false;
    size = st.st_size;
    isDir = (st.st_mode & _S_IFDIR) != 0;
    return true;
}
#else
int openForReading(const QString& path) {
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
}
long long readSome(int fd, char* buffer, long long size) { return ::read(fd, buffer, static_cast<size_t>(size)); }
int closeFile(int fd) { return ::close(fd); }
bool statFile(int fd, long long& size, bool& isDir) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    size = static_cast<long long>(st.st_size);
    isDir = S_ISDIR(st.st_mode);
    return true;
}
#endif
}  // namespace

InputFile::InputFile(const QString& path) : path_(path) {
    do {
        errno = 0;
        fd_ = openForReading(path);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) throw ioError(lastError());
    long long size = 0;
    bool isDir = false;
    if (statFile(fd_, size, isDir) && isDir) {
        closeFile(fd_);
        fd_ = -1;
        throw ioError(EISDIR);
    }
}

InputFile::~InputFile() {
    if (fd_ >= 0) closeFile(fd_);
}

qint64 InputFile::read(char* buffer, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const long long n = readSome(fd_, buffer + done, size - done);
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
    long long size = 0;
    bool isDir = false;
    return statFile(fd_, size, isDir) ? size : 0;
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
