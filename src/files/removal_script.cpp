#include "removal_script.h"

#include "binary_io.h"

#include "core/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdlib>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korbisto {

#if !defined(_WIN32)
namespace {

// 'it''s' for the shell: single quotes, a quote inside as '\''.
QByteArray quoted(const QString& path) {
    QByteArray bytes = encodeFileName(path);
    bytes.replace('\'', "'\\''");
    return '\'' + bytes + '\'';
}

}  // namespace
#endif

bool programIsRemovable(const QString& programFile) {
    const QFileInfo info(programFile);
    const QString canonical = info.canonicalFilePath();
    const QString path = canonical.isEmpty() ? info.absoluteFilePath() : canonical;
    if (path.startsWith(QStringLiteral("/usr/"))) return false;
    // A file the user may not write is the system's or another user's, even
    // where its folder would let it be deleted.
    if (info.exists() && !info.isWritable()) return false;
    // Deleting a file takes the right to write its folder.
    return QFileInfo(info.absolutePath()).isWritable();
}

#if defined(_WIN32)
QByteArray removalScript(const ProgramRemoval& removal) {
    // The batch names itself with %~f0; its lines end in CR LF.
    const QByteArray program = '"' + QDir::toNativeSeparators(removal.programFile).toLocal8Bit() + '"';
    const QByteArray folder = '"' + QDir::toNativeSeparators(removal.programFolder).toLocal8Bit() + '"';
    QByteArray script;
    script += "@echo off\r\n";
    script += "set tries=0\r\n";
    script += ":Label1\r\n";
    script += "del " + program + " 2>nul\r\n";
    script += "if not Exist " + program + " goto Label2\r\n";
    script += "set /a tries+=1\r\n";
    script += "if %tries% geq " + QByteArray::number(removal.tries) + " goto Label2\r\n";
    script += "ping -n " + QByteArray::number(removal.secondsApart + 1) + " 127.0.0.1 >nul\r\n";
    script += "goto Label1\r\n";
    script += ":Label2\r\n";
    script += "rmdir " + folder + " 2>nul\r\n";
    script += "del \"%~f0\"\r\n";
    return script;
}
#else
QByteArray removalScript(const ProgramRemoval& removal) {
    QByteArray script;
    script += "#!/bin/sh\n";
    script += "# Korbisto's update: removes the old program once it has ended.\n";
    script += "program=" + quoted(removal.programFile) + "\n";
    script += "folder=" + quoted(removal.programFolder) + "\n";
    script += "tries=0\n";
    script += "while [ -e \"$program\" ] && [ \"$tries\" -lt " + QByteArray::number(removal.tries) + " ]; do\n";
    script += "  rm -f -- \"$program\" 2>/dev/null\n";
    script += "  [ -e \"$program\" ] || break\n";
    script += "  tries=$((tries + 1))\n";
    script += "  sleep " + QByteArray::number(removal.secondsApart) + "\n";
    script += "done\n";
    script += "rmdir -- \"$folder\" 2>/dev/null\n";
    script += "rm -f -- \"$0\"\n";
    return script;
}
#endif

QString writeRemovalScript(const ProgramRemoval& removal, const QString& tempFolder) {
#if defined(_WIN32)
    QTemporaryFile file(QDir(tempFolder).filePath(QStringLiteral("uisXXXXXX.bat")));
    file.setAutoRemove(false);
    if (!file.open() || file.write(removalScript(removal)) < 0 || !file.flush()) {
        file.remove();
        throw ioError(EACCES);
    }
    return file.fileName();
#else
    QByteArray name = encodeFileName(QDir(tempFolder).filePath(QStringLiteral("uisXXXXXX.sh")));
    errno = 0;
    const int fd = ::mkstemps(name.data(), 3);
    if (fd < 0) throw ioError(errno != 0 ? errno : EACCES);
    const QByteArray script = removalScript(removal);
    const bool written = ::write(fd, script.constData(), static_cast<size_t>(script.size())) == script.size();
    const int error = errno;
    // mkstemps made it for the user alone; the user may run it.
    const bool executable = ::fchmod(fd, 0700) == 0;
    ::close(fd);
    if (!written || !executable) {
        ::unlink(name.constData());
        throw ioError(written ? EACCES : (error != 0 ? error : ENOSPC));
    }
    return decodeFileName(name);
#endif
}

bool startRemovalScript(const QString& scriptPath, const QString& tempFolder) {
#if defined(_WIN32)
    return QProcess::startDetached(QStringLiteral("cmd.exe"), {QStringLiteral("/c"), scriptPath}, tempFolder);
#else
    return QProcess::startDetached(QStringLiteral("/bin/sh"), {scriptPath}, tempFolder);
#endif
}

bool startInstaller(const QString& path) {
#if !defined(_WIN32)
    // Executable for the user alone, whatever the download left.
    const QByteArray name = encodeFileName(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    if (::chmod(name.constData(), (status.st_mode & 0700) | S_IXUSR) != 0) return false;
#endif
    return QProcess::startDetached(path, {});
}

}  // namespace korbisto
