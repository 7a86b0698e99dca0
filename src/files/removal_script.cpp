#include "removal_script.h"

#include "binary_io.h"

#include "core/error.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>

#include <algorithm>
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

FileIdentity identityOf(const QString& path) {
    FileIdentity identity;
#if !defined(_WIN32)
    struct stat st {};
    if (::lstat(encodeFileName(path).constData(), &st) != 0) throw ioError(errno);
    if (!S_ISREG(st.st_mode)) throw ioError(EACCES);
    identity.stat = QByteArray::number(static_cast<qulonglong>(st.st_dev)) + ':' +
                    QByteArray::number(static_cast<qulonglong>(st.st_ino)) + ':' +
                    QByteArray::number(static_cast<qlonglong>(st.st_size)) + ':' +
                    QByteArray::number(static_cast<qlonglong>(st.st_ctim.tv_sec)) + '.' +
                    QByteArray::number(static_cast<qlonglong>(st.st_ctim.tv_nsec)).rightJustified(9, '0');
#endif
    InputFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    char buffer[65536];
    for (qint64 n; (n = file.read(buffer, sizeof buffer)) > 0;) hash.addData(QByteArrayView(buffer, n));
    identity.digest = hash.result().toHex();
    return identity;
}

#if defined(_WIN32)
QByteArray removalScript(const ProgramRemoval& removal, const FileIdentity&) {
    // A running program cannot be deleted here, so the batch retries until
    // it has ended. It names itself with %~f0; its lines end in CR LF.
    const QByteArray program = '"' + QDir::toNativeSeparators(removal.programFile).toLocal8Bit() + '"';
    QByteArray script;
    script += "@echo off\r\n";
    script += "set tries=0\r\n";
    script += ":Label1\r\n";
    script += "del " + program + " 2>nul\r\n";
    script += "if not Exist " + program + " goto Label2\r\n";
    script += "set /a tries+=1\r\n";
    script += "if %tries% geq " + QByteArray::number(std::max(1, removal.waitTenths / 10)) + " goto Label2\r\n";
    script += "ping -n 2 127.0.0.1 >nul\r\n";
    script += "goto Label1\r\n";
    script += ":Label2\r\n";
    script += "del \"%~f0\"\r\n";
    return script;
}
#else
QByteArray removalScript(const ProgramRemoval& removal, const FileIdentity& identity) {
    QByteArray script;
    script += "#!/bin/sh\n";
    script += "# Korbisto's update: removes the old program file once the program has ended,\n";
    script += "# and only while it is still that file, never a new one in its place.\n";
    script += "program=" + quoted(removal.programFile) + "\n";
    script += "identity='" + identity.stat + "'\n";
    script += "digest='" + identity.digest + "  -'\n";
    script += "tries=0\n";
    script += "while kill -0 " + QByteArray::number(removal.processId) + " 2>/dev/null && [ \"$tries\" -lt " +
              QByteArray::number(removal.waitTenths) + " ]; do\n";
    script += "  sleep 0.1\n";
    script += "  tries=$((tries + 1))\n";
    script += "done\n";
    script += "if [ \"$(stat -c '%d:%i:%s:%.9Z' -- \"$program\" 2>/dev/null)\" = \"$identity\" ] &&\n";
    script += "   [ \"$(sha256sum < \"$program\" 2>/dev/null)\" = \"$digest\" ]; then\n";
    script += "  rm -f -- \"$program\"\n";
    script += "fi\n";
    script += "rm -f -- \"$0\"\n";
    return script;
}
#endif

QString writeRemovalScript(const ProgramRemoval& removal, const QString& folder) {
    const QByteArray script = removalScript(removal, identityOf(removal.programFile));
#if defined(_WIN32)
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral("uisXXXXXX.bat")));
    file.setAutoRemove(false);
    if (!file.open() || file.write(script) < 0 || !file.flush()) {
        file.remove();
        throw ioError(EACCES);
    }
    return file.fileName();
#else
    QByteArray name = encodeFileName(QDir(folder).filePath(QStringLiteral("uisXXXXXX.sh")));
    errno = 0;
    const int fd = ::mkstemps(name.data(), 3);
    if (fd < 0) throw ioError(errno != 0 ? errno : EACCES);
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

bool startRemovalScript(const QString& scriptPath, const QString& folder) {
#if defined(_WIN32)
    return QProcess::startDetached(QStringLiteral("cmd.exe"), {QStringLiteral("/c"), scriptPath}, folder);
#else
    return QProcess::startDetached(QStringLiteral("/bin/sh"), {scriptPath}, folder);
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
