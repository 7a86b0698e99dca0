#include "binary_io.h"

#include "core/error.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <io.h>
#else
#include <cctype>
#include <csignal>
#include <dirent.h>
#include <unistd.h>
#endif

namespace korbisto {

namespace {
int lastError(int fallback = EIO) { return errno != 0 ? errno : fallback; }

enum class FileKind { Regular, Folder, Other };

// A folder keeps its own error number; anything else that is no regular file
// is refused as a file without access.
KorbistoError notARegularFile(FileKind kind) { return ioError(kind == FileKind::Folder ? EISDIR : EACCES); }

void appendUtf8(QByteArray& bytes, char32_t c) {
    if (c < 0x80) {
        bytes += static_cast<char>(c);
    } else if (c < 0x800) {
        bytes += static_cast<char>(0xC0 | c >> 6);
        bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        bytes += static_cast<char>(0xE0 | c >> 12);
        bytes += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        bytes += static_cast<char>(0xF0 | c >> 18);
        bytes += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        bytes += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        bytes += static_cast<char>(0x80 | (c & 0x3F));
    }
}

#ifdef _WIN32
int openForReading(const QString& path) {
    // A NUL would end the name early and name another file.
    if (path.contains(QChar(u'\0'))) throw ioError(ENOENT);
    return ::_wopen(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()), _O_RDONLY | _O_BINARY);
}
long long readSome(int fd, char* buffer, long long size) {
    return ::_read(fd, buffer, static_cast<unsigned>(std::min<long long>(size, 1 << 30)));
}
int closeFile(int fd) { return ::_close(fd); }
bool statFile(int fd, long long& size, FileKind& kind) {
    struct _stat64 st {};
    if (::_fstat64(fd, &st) != 0) return false;
    size = st.st_size;
    kind = (st.st_mode & _S_IFDIR) ? FileKind::Folder : (st.st_mode & _S_IFREG) ? FileKind::Regular : FileKind::Other;
    return true;
}
#else
// The bytes of a path for the system. A NUL would end the name early and
// name another file, so such a path names none.
QByteArray nativeName(const QString& path) {
    QByteArray name = encodeFileName(path);
    if (name.contains('\0')) throw ioError(ENOENT);
    return name;
}
FileKind kindOf(mode_t mode) {
    return S_ISREG(mode) ? FileKind::Regular : S_ISDIR(mode) ? FileKind::Folder : FileKind::Other;
}
int openForReading(const QString& path) {
    const QByteArray name = nativeName(path);
    // A device is not even opened, since opening alone may act on it.
    struct stat st {};
    if (::stat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode)) throw notARegularFile(kindOf(st.st_mode));
    // Non-blocking, so that a FIFO put there since cannot hold the open; the
    // flag means nothing to a regular file.
    return ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
}
long long readSome(int fd, char* buffer, long long size) { return ::read(fd, buffer, static_cast<size_t>(size)); }
int closeFile(int fd) { return ::close(fd); }
bool statFile(int fd, long long& size, FileKind& kind) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    size = static_cast<long long>(st.st_size);
    kind = kindOf(st.st_mode);
    return true;
}
#endif

QString& standardInputName() {
    static QString name;
    return name;
}

bool isStandardInput(const QString& path) { return !standardInputName().isEmpty() && path == standardInputName(); }

// Standard input as a file of its own, so that closing it leaves fd 0 be.
int openStandardInput() {
#ifdef _WIN32
    const int fd = ::_dup(0);
#else
    const int fd = ::fcntl(0, F_DUPFD_CLOEXEC, 3);
#endif
    const auto refuse = [fd](const QString& why) {
        if (fd >= 0) closeFile(fd);
        return KorbistoError(why);
    };
    long long size = 0;
    FileKind kind = FileKind::Regular;
    if (fd < 0 || !statFile(fd, size, kind)) throw refuse(QStringLiteral("Sie ist geschlossen."));
#ifndef _WIN32
    // What the command line put there for a closed one reads nothing.
    if ((::fcntl(fd, F_GETFL) & O_ACCMODE) == O_WRONLY) throw refuse(QStringLiteral("Sie ist geschlossen."));
    if (::isatty(fd))
        throw refuse(QStringLiteral("Sie ist ein Terminal; „-“ liest eine Datei, die mit „< DATEI“ oder über eine "
                                    "Pipe kommt."));
#endif
    if (kind == FileKind::Folder) throw refuse(QStringLiteral("Sie ist ein Ordner."));
    return fd;
}

}  // namespace

void setStandardInputName(const QString& name) { standardInputName() = name; }

QString decodeFileName(const QByteArray& name) {
    const auto* s = reinterpret_cast<const unsigned char*>(name.constData());
    const qsizetype n = name.size();
    QString text;
    text.reserve(n);
    for (qsizetype i = 0; i < n;) {
        const unsigned char lead = s[i];
        qsizetype length = 0;
        char32_t c = 0;
        char32_t least = 0;
        if (lead < 0x80) {
            length = 1;
            c = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            c = lead & 0x1F;
            least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            c = lead & 0x0F;
            least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            c = lead & 0x07;
            least = 0x10000;
        }
        bool valid = length > 0 && i + length <= n;
        for (qsizetype k = 1; valid && k < length; ++k) {
            valid = (s[i + k] & 0xC0) == 0x80;
            c = c << 6 | (s[i + k] & 0x3F);
        }
        valid = valid && c >= least && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
        if (!valid) {
            text += QChar(static_cast<char16_t>(0xDC00 + lead));
            ++i;
        } else if (c > 0xFFFF) {
            text += QChar(QChar::highSurrogate(c));
            text += QChar(QChar::lowSurrogate(c));
            i += length;
        } else {
            text += QChar(static_cast<char16_t>(c));
            i += length;
        }
    }
    return text;
}

QByteArray encodeFileName(const QString& name) {
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t u = name[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            appendUtf8(bytes, QChar::surrogateToUcs4(u, name[i + 1].unicode()));
            ++i;
        } else if (u >= 0xDC80 && u <= 0xDCFF) {
            bytes += static_cast<char>(u - 0xDC00);
        } else {
            appendUtf8(bytes, QChar::isSurrogate(u) ? char32_t{0xFFFD} : char32_t{u});
        }
    }
    return bytes;
}

InputFile::InputFile(const QString& path) {
    if (isStandardInput(path)) {
        fd_ = openStandardInput();
        return;
    }
    do {
        errno = 0;
        fd_ = openForReading(path);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) throw ioError(lastError());
    long long size = 0;
    FileKind kind = FileKind::Regular;
    if (!statFile(fd_, size, kind) || kind != FileKind::Regular) {
        const KorbistoError error = kind != FileKind::Regular ? notARegularFile(kind) : ioError(lastError());
        closeFile(fd_);
        fd_ = -1;
        throw error;
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
    FileKind kind = FileKind::Regular;
    if (!statFile(fd_, size, kind)) return 0;
    return kind == FileKind::Regular ? size : -1;
}

std::optional<QByteArray> readFileBytes(const QString& path, qint64 limit) {
    InputFile file(path);
    const qint64 expected = std::max<qint64>(file.size(), 0);
    if (expected > limit) return std::nullopt;
    QByteArray bytes;
    bytes.resize(expected);
    bytes.resize(file.read(bytes.data(), expected));
    // A file that grows while it is read is read to its end.
    char chunk[65536];
    for (qint64 n; (n = file.read(chunk, sizeof chunk)) > 0;) {
        if (bytes.size() + n > limit) return std::nullopt;
        bytes.append(chunk, n);
    }
    return bytes;
}

#ifdef _WIN32

AtomicFile::AtomicFile(const QString& path) : file_(std::make_unique<QSaveFile>(path)) {
    QFileInfo info(path);
    if (!info.dir().exists()) throw ioError(ENOENT);
    if (info.exists() && !info.isFile()) throw notARegularFile(info.isDir() ? FileKind::Folder : FileKind::Other);
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

// QSaveFile's temporaries are its own business.
int removeLeftoverTemporaries(const QString&) { return 0; }
void setNamedTemporariesOnly(bool) {}

#else

namespace {

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray fileNameOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

// The file a path names once its symlinks are followed, also where the last
// link points at nothing yet (the file is then made there).
QByteArray followLinks(QByteArray path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        QByteArray target(std::max<qsizetype>(static_cast<qsizetype>(st.st_size), 255) + 1, '\0');
        ssize_t n;
        while ((n = ::readlink(path.constData(), target.data(), static_cast<size_t>(target.size()))) == target.size())
            target.resize(target.size() * 2);
        if (n < 0) throw ioError(lastError());
        target.truncate(n);
        path = target.startsWith('/') ? target : folderOf(path) + '/' + target;
    }
    throw ioError(ELOOP);
}

bool namedTemporariesOnly = false;

// A named temporary is "<target>.korbisto-tmp-<pid>-<random>@<host>": the
// process that writes it, and the machine it runs on, since a shared home
// may be written from several.
constexpr char kMarker[] = ".korbisto-tmp-";
constexpr qsizetype kMarkerSize = sizeof kMarker - 1;

const QByteArray& hostName() {
    static const QByteArray name = [] {
        char buffer[256] = {};
        if (::gethostname(buffer, sizeof buffer - 1) != 0) return QByteArray();
        return QByteArray(buffer).left(64).replace('/', '_');
    }();
    return name;
}

// The target's name is cut so that the whole name stays within 255 bytes.
QByteArray temporaryPrefix(const QByteArray& target) { return fileNameOf(target).left(150) + kMarker; }

QByteArray temporaryName(const QByteArray& target) {
    return folderOf(target) + '/' + temporaryPrefix(target) + QByteArray::number(::getpid()) + '-' +
           QByteArray::number(QRandomGenerator::global()->generate(), 36) + '@' + hostName();
}

// True for a temporary of a process of this machine that is gone.
bool isDeadTemporary(const QByteArray& name) {
    const qsizetype marker = name.lastIndexOf(kMarker);
    if (marker < 0) return false;
    const QByteArray rest = name.mid(marker + kMarkerSize);
    const qsizetype dash = rest.indexOf('-');
    const qsizetype at = rest.indexOf('@');
    if (dash <= 0 || dash > 9 || at <= dash + 1 || rest.mid(at + 1) != hostName()) return false;
    const auto all = [](const QByteArray& bytes, int (*test)(int)) {
        return std::all_of(bytes.begin(), bytes.end(), [test](char c) { return test(static_cast<unsigned char>(c)); });
    };
    if (!all(rest.left(dash), ::isdigit) || !all(rest.mid(dash + 1, at - dash - 1), ::isalnum)) return false;
    const pid_t pid = static_cast<pid_t>(rest.left(dash).toLong());
    // A process of another user still counts as running (EPERM).
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Removes the temporaries in `folder` that begin with `prefix` and whose
// process is gone; only regular files, never what a link points at.
int removeDeadTemporaries(const QByteArray& folder, QByteArrayView prefix) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return 0;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(prefix) || !isDeadTemporary(name)) continue;
        struct stat st {};
        if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            ::unlinkat(fd, entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

// A file made with O_TMPFILE is named through its /proc link.
bool canNameUnnamedFiles() {
    static const bool proc = ::access("/proc/self/fd", X_OK) == 0;
    return proc && !namedTemporariesOnly;
}

// The new name must be on the disk too before the save counts as done.
void syncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);  // a file system that cannot sync a folder has nothing to lose
    ::close(fd);
}

}  // namespace

void setNamedTemporariesOnly(bool named) { namedTemporariesOnly = named; }

int removeLeftoverTemporaries(const QString& folder) {
    try {
        return removeDeadTemporaries(nativeName(folder), {});
    } catch (const KorbistoError&) {
        return 0;
    }
}

AtomicFile::AtomicFile(const QString& path) : target_(followLinks(nativeName(path))) {
    struct stat st {};
    const bool exists = ::stat(target_.constData(), &st) == 0;
    if (!exists && errno != ENOENT) throw ioError(lastError());
    if (exists) {
        if (!S_ISREG(st.st_mode)) throw notARegularFile(kindOf(st.st_mode));
        // Replacing a file the user may not write would bypass its protection.
        if (::access(target_.constData(), W_OK) != 0) throw ioError(lastError(EACCES));
    }
    const QByteArray folder = folderOf(target_);
    if (canNameUnnamedFiles()) {
        // Without a name until it is complete: a killed write leaves nothing.
        errno = 0;
        fd_ = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC | O_NOCTTY, 0666);
        anonymous_ = fd_ >= 0;
        // Where the file system or the kernel has no such files, a named one.
        if (fd_ < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) throw ioError(lastError(EACCES));
    }
    // Only writes that leave names behind when killed clear them up; the
    // folder is not read on every save.
    if (fd_ < 0) removeDeadTemporaries(folder, temporaryPrefix(target_));
    for (int attempt = 0; fd_ < 0; ++attempt) {
        temporary_ = temporaryName(target_);
        errno = 0;
        fd_ = ::open(temporary_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd_ < 0 && (errno != EEXIST || attempt == 100)) {
            const int error = lastError(EACCES);
            temporary_.clear();
            throw ioError(error);
        }
    }
    if (exists) {
        // The new file keeps the old one's owner where we may give it, and its permissions.
        [[maybe_unused]] const int owned = ::fchown(fd_, st.st_uid, st.st_gid);
        (void)::fchmod(fd_, st.st_mode & 07777);
    }
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.isEmpty()) ::unlink(temporary_.constData());
    temporary_.clear();
}

void AtomicFile::write(const char* data, qint64 size) {
    while (size > 0) {
        errno = 0;
        const ssize_t n = ::write(fd_, data, static_cast<size_t>(std::min<qint64>(size, 1 << 30)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = lastError(ENOSPC);
            discard();
            throw ioError(error);
        }
        data += n;
        size -= n;
    }
}

// Gives the unnamed file a name: the target's own where there is no file yet,
// else a named temporary that commit() moves over the target. Returns the
// error number, 0 on success.
int AtomicFile::nameUnnamedFile(bool targetExists, bool& placed) {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
    if (!targetExists) {
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, target_.constData(), AT_SYMLINK_FOLLOW) == 0) {
            placed = true;
            temporary_ = target_;  // a failure after this removes the new file again
            return 0;
        }
        if (errno != EEXIST) return lastError();
    }
    for (int attempt = 0;; ++attempt) {
        temporary_ = temporaryName(target_);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temporary_.constData(), AT_SYMLINK_FOLLOW) == 0) return 0;
        const int error = lastError();
        temporary_.clear();
        if (error != EEXIST || attempt == 100) return error;
    }
}

void AtomicFile::commit() {
    errno = 0;
    int error = 0;
    if (::fsync(fd_) != 0 && errno != EINVAL) error = lastError();
    // Whatever was put where the target is since it was opened is not replaced either.
    struct stat st {};
    const bool exists = ::lstat(target_.constData(), &st) == 0;
    if (error == 0 && exists && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
        error = S_ISDIR(st.st_mode) ? EISDIR : EACCES;
    bool placed = false;
    if (error == 0 && anonymous_) error = nameUnnamedFile(exists, placed);
    if (::close(fd_) != 0 && error == 0 && errno != EINTR) error = lastError();
    fd_ = -1;
    if (error == 0 && !placed && ::rename(temporary_.constData(), target_.constData()) != 0) error = lastError();
    if (error != 0) {
        discard();
        throw ioError(error);
    }
    temporary_.clear();
    syncFolder(folderOf(target_));
}

#endif

void writeFileAtomically(const QString& path, const QByteArray& data) {
    AtomicFile file(path);
    file.write(data);
    file.commit();
}

}  // namespace korbisto
