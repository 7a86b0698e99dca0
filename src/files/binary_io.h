#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

#ifdef _WIN32
class QSaveFile;
#endif

namespace korbisto {

// File names as the system holds them. A Linux name is any bytes; those that
// are not UTF-8 become the lone surrogates U+DC80 .. U+DCFF, so that a name
// comes back as exactly the bytes it was (QFile::decodeName turns them into
// U+FFFD for good, and the file named is lost).
QString decodeFileName(const QByteArray& name);
QByteArray encodeFileName(const QString& name);

// The name that stands for standard input ("-" on the command line). None
// by default: the program itself reads only files it names.
void setStandardInputName(const QString& name);

// A file opened for reading whose failures carry the runtime's German texts.
// Only regular files are read: a FIFO or a device could block the open or be
// changed by it, and is refused like a file without access. Standard input,
// under its name, is read as it comes: a pipe too, but not a terminal.
class InputFile {
public:
    explicit InputFile(const QString& path);  // throws KorbistoError
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to `size` bytes; fewer only at the end of the file.
    qint64 read(char* buffer, qint64 size);
    // Reads exactly `size` bytes or fails with the end-of-file error.
    void readExactly(char* buffer, qint64 size);
    // -1 where not known in advance (a pipe).
    qint64 size() const;

private:
    int fd_ = -1;
};

// A whole file; empty when it holds more than `limit` bytes.
std::optional<QByteArray> readFileBytes(const QString& path, qint64 limit);

// A file written beside its target and moved over it on commit, so that a
// failed save leaves the previous file intact. A symlink is followed and
// kept; a target that is not a regular file is never replaced. On Linux the
// file has no name until it is complete (O_TMPFILE), so a killed write leaves
// nothing; where the file system cannot do that, its temporary name says
// which process writes it, and the next write of the same target removes
// such temporaries whose process is gone.
class AtomicFile {
public:
    explicit AtomicFile(const QString& path);  // throws KorbistoError
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(const char* data, qint64 size);  // throws KorbistoError
    void write(const QByteArray& data) { write(data.constData(), data.size()); }
    void commit();  // throws KorbistoError

private:
#ifdef _WIN32
    std::unique_ptr<QSaveFile> file_;
#else
    void discard();
    int nameUnnamedFile(bool targetExists, bool& placed);

    int fd_ = -1;
    bool anonymous_ = false;  // made with O_TMPFILE
    QByteArray target_;       // with its symlinks followed
    QByteArray temporary_;    // empty once moved or removed
#endif
};

// Removes the temporaries of killed writes in `folder` (not below it) whose
// process is gone; returns how many. For the start of the program.
int removeLeftoverTemporaries(const QString& folder);

// Test seam: named temporaries, as on a file system without O_TMPFILE.
void setNamedTemporariesOnly(bool named);

void writeFileAtomically(const QString& path, const QByteArray& data);

}  // namespace korbisto
