#pragma once

#include "printers.h"

#include <QByteArray>
#include <QString>

#include <functional>

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

}  // namespace korbisto::test
