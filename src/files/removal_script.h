#pragma once

#include <QByteArray>
#include <QString>

namespace korbisto {

// What the update removes once the program has ended: its own file, then its
// folder if that is empty then.
struct ProgramRemoval {
    QString programFile;
    QString programFolder;
    int tries = 60;  // deletions tried, one every `secondsApart`, before it gives up
    int secondsApart = 1;
};

// Whether the update may remove the program file: not one the system's
// package manager installed (below /usr), and one the user may write and
// delete.
bool programIsRemovable(const QString& programFile);

// The script (on Windows a batch file): it retries the deletion of the program file until the file is
// gone or the tries are used up, removes the program folder when that is
// empty, and deletes itself. Every path is quoted for the shell.
QByteArray removalScript(const ProgramRemoval& removal);

// Writes the script under a unique name ending in ".sh" into `tempFolder`,
// executable by the user alone, and returns its path. Throws KorbistoError.
QString writeRemovalScript(const ProgramRemoval& removal, const QString& tempFolder);

// Starts the script without waiting for it, from `tempFolder`, so that the
// program folder is not held as the current one.
bool startRemovalScript(const QString& scriptPath, const QString& tempFolder);

// Makes the downloaded installer executable for the user alone and starts it
// without waiting; false when it cannot be started.
bool startInstaller(const QString& path);

}  // namespace korbisto
