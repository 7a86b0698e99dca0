#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QSaveFile;

namespace korbisto {

// A file opened for reading whose failures carry the runtime's German texts.
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
    qint64 size() const;

private:
    int fd_ = -1;
    QString path_;
};

// Reads a whole file, at most `limit` bytes of it.
QByteArray readFileBytes(const QString& path, qint64 limit);

// A file written beside its target and moved over it on commit, so that a
// failed save leaves the previous file intact.
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
    std::unique_ptr<QSaveFile> file_;
};

void writeFileAtomically(const QString& path, const QByteArray& data);

}  // namespace korbisto
