#include "removal_script.h"

#include "binary_io.h"

#include "core/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cerrno>
#include <cstdlib>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korbisto {

namespace {

// 'it''s' for the shell: single quotes, a quote inside as '\''.
QByteArray quoted(const QString& path) {
    QByteArray bytes = encodeFileName(path);
    bytes.replace('\'', "'\\''");
    return '\'' + bytes + '\'';
}

}  // namespace

bool programIsRemovable(const QString& programFile) {
    const QFileInfo info(programFile);
    const QString canonical = info.canonicalFilePath();
    const QString path = canonical.isEmpty() ? info.absoluteFilePath() : canonical;
    if (path.startsWith(QStringLiteral("/usr/"))) return false;
    // Deleting a file takes the right to write its folder.
    return QFileInfo(info.absolutePath()).isWritable();
}

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

QString writeRemovalScript(const ProgramRemoval& removal, const QString& tempFolder) {
#if defined(_WIN32)
    Q_UNUSED(removal);
    Q_UNUSED(tempFolder);
    throw KorbistoError(QStringLiteral("Das Entfernen des Programms ist hier nur unter Linux gebaut."));
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
    return QProcess::startDetached(QStringLiteral("/bin/sh"), {scriptPath}, tempFolder);
}

}  // namespace korbisto
