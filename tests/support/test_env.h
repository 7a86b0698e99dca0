#pragma once

#include "printers.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <thread>

namespace korbisto::test {

// Points HOME, the XDG folders and the program's data folder at a fresh
// temporary folder of this process, before anything reads them.
void isolateEnvironment();

// A fresh, empty folder for one test, with the program's folders below it
// set as the current ones. Removed when the test ends.
class TempDataFolder {
public:
    TempDataFolder();
    ~TempDataFolder();
    TempDataFolder(const TempDataFolder&) = delete;
    TempDataFolder& operator=(const TempDataFolder&) = delete;

    const QString& root() const { return root_; }
    // A path below the root.
    QString path(const QString& name) const { return root_ + u'/' + name; }

private:
    QString root_;
};

// The German message of the KorbistoError the action raises; empty if none.
QString errorOf(const std::function<void()>& action);

void writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);

// A FIFO made at `path`. A reader that blocks on it is let go after `seconds`
// by a writer that opens and closes it, so that the fault shows as a failed
// test (releasedAReader()) rather than as one that never ends.
class Fifo {
public:
    explicit Fifo(const QString& path, int seconds = 10);
    ~Fifo();
    Fifo(const Fifo&) = delete;
    Fifo& operator=(const Fifo&) = delete;

    bool releasedAReader() const { return released_; }

private:
    std::atomic<bool> released_{false};
    std::atomic<bool> stop_{false};
    std::thread watchdog_;
};

// A character device at `path` with the numbers of /dev/null (1, 3) or
// /dev/zero (1, 5); false where none can be made (not root, or a container
// that forbids it).
bool makeCharacterDevice(const QByteArray& path, unsigned minor);

// What is at `path` itself, a symlink not followed: "file", "folder", "link",
// "fifo", "device", "other" or "nothing".
QString kindAt(const QByteArray& path);

// What a writer must never replace, made in `folder`: a FIFO, a link to it
// and, where one can be made, a character device.
class SpecialTargets {
public:
    explicit SpecialTargets(TempDataFolder& folder);

    // The FIFO, the link and the device if there is one.
    const QStringList& paths() const { return paths_; }
    // Each is still what it was; no reader was left waiting on the FIFO.
    void expectUnchanged() const;

private:
    QString fifoPath_;
    Fifo fifo_;
    QStringList paths_;
    bool device_ = false;
};

}  // namespace korbisto::test
