#include "cli_runner.h"

#include "test_env.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace korbisto::test {

namespace {

CliResult finish(QProcess& p, const QStringList& args, int seconds = 120) {
    CliResult r;
    if (!p.waitForFinished(seconds * 1000)) {
        ADD_FAILURE() << "korbisto-cli did not finish: " << args.join(u' ').toStdString();
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.outBytes = p.readAllStandardOutput();
    r.out = QString::fromUtf8(r.outBytes);
    r.errBytes = p.readAllStandardError();
    r.err = QString::fromUtf8(r.errBytes);
    return r;
}

}  // namespace

CliResult runCli(const QStringList& args, int seconds) {
    QProcess p;
    p.start(QStringLiteral(KORBISTO_CLI_PATH), args);
    return finish(p, args, seconds);
}

CliResult runCliWithBytes(const QList<QByteArray>& args) {
    QString command = QStringLiteral("exec \"$0\"");
    QStringList shown;
    for (const QByteArray& arg : args) {
        command += QStringLiteral(" $'");
        for (char c : arg)
            command += QStringLiteral("\\x%1").arg(static_cast<uint>(static_cast<unsigned char>(c)), 2, 16, QChar(u'0'));
        command += u'\'';
        shown << QString::fromUtf8(arg);
    }
    QProcess p;
    p.start(QStringLiteral("bash"), QStringList{QStringLiteral("-c"), command, QStringLiteral(KORBISTO_CLI_PATH)});
    return finish(p, shown);
}

CliResult runCliWithInput(const QStringList& args, const QByteArray& input) {
    QProcess p;
    p.start(QStringLiteral(KORBISTO_CLI_PATH), args);
    p.write(input);
    p.closeWriteChannel();
    return finish(p, args);
}

CliResult runCliRedirected(const QStringList& args, const QString& redirections) {
    QProcess p;
    p.start(QStringLiteral("bash"), QStringList{QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$@\" ") + redirections,
                                                QStringLiteral(KORBISTO_CLI_PATH)} +
                                        args);
    return finish(p, args);
}

CliResult runCliInto(const QStringList& args, const QString& file) {
    QProcess p;
    p.setStandardOutputFile(file);
    p.start(QStringLiteral(KORBISTO_CLI_PATH), args);
    return finish(p, args);
}

CliResult runCliReadingOnly(const QStringList& args, qint64 bytes) {
    // A real pipe into head, as a user's shell makes it; the tool's exit code
    // is what bash saw of the pipe's first command.
    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("out"));
    const QString err = folder.filePath(QStringLiteral("err"));
    QProcess p;
    p.start(QStringLiteral("bash"), QStringList{QStringLiteral("-c"),
                                                QStringLiteral("\"$0\" \"$@\" 2>'%1' | head -c %2 >'%3'; echo ${PIPESTATUS[0]}")
                                                    .arg(err)
                                                    .arg(bytes)
                                                    .arg(out),
                                                QStringLiteral(KORBISTO_CLI_PATH)} +
                                        args);
    const CliResult shell = finish(p, args);
    CliResult r;
    r.exitCode = shell.out.trimmed().toInt();
    r.outBytes = readBytes(out);
    r.out = QString::fromUtf8(r.outBytes);
    r.err = QString::fromUtf8(readBytes(err));
    return r;
}

}  // namespace korbisto::test
