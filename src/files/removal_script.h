#pragma once

#include <QByteArray>
#include <QString>

namespace korbisto {

// What the update removes once the program has ended: its own file, and
// only while that is still the very file it was (never a new program the
// installer put in its place, never the folder).
struct ProgramRemoval {
    QString programFile;
    qint64 processId = 0;  // the program that is ending
    int waitTenths = 600;  // how long the script waits for it, in tenths of a second
};

// The file as it is now: device, inode, size and change time, then the
// SHA-256 of its content. Throws KorbistoError when it is no regular file.
struct FileIdentity {
    QByteArray stat;    // "device:inode:size:seconds.nanoseconds", as stat -c '%d:%i:%s:%.9Z' gives it
    QByteArray digest;  // hex, as sha256sum gives it
};
FileIdentity identityOf(const QString& path);

// Whether the update may remove the program file: not one the system's
// package manager installed (below /usr), and one the user may write and
// delete.
bool programIsRemovable(const QString& programFile);

// The script (on Windows a batch file): it waits for the program to end,
// removes the program file if it is still the one recorded in `identity`,
// and deletes itself. Every path is quoted for the shell.
QByteArray removalScript(const ProgramRemoval& removal, const FileIdentity& identity);

// Records the program file's identity, writes the script under a unique
// name ending in ".sh" into `folder` (one only the user may write), executable
// by the user alone, and returns its path. Throws KorbistoError.
QString writeRemovalScript(const ProgramRemoval& removal, const QString& folder);

// Starts the script without waiting for it, from `folder`, so that the
// program folder is not held as the current one.
bool startRemovalScript(const QString& scriptPath, const QString& folder);

// Makes the downloaded installer executable for the user alone and starts it
// without waiting; false when it cannot be started.
bool startInstaller(const QString& path);

}  // namespace korbisto
