#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace korbisto::test {

struct CliResult {
    int exitCode = -1;
    QByteArray outBytes;
    QString out;  // outBytes as UTF-8
    QString err;
    QByteArray errBytes;
};

// Runs the real korbisto-cli binary; a run that does not end within
// `seconds` is a failure.
CliResult runCli(const QStringList& args, int seconds = 120);
// The same with arguments as bytes, which need not be UTF-8: a shell passes
// them on as they are, where QProcess would encode them.
CliResult runCliWithBytes(const QList<QByteArray>& args);
// The same with `input` as its standard input, through a pipe.
CliResult runCliWithInput(const QStringList& args, const QByteArray& input);
// The same with a shell's redirections of its streams, such as "<&-" (closed
// standard input) or ">&-".
CliResult runCliRedirected(const QStringList& args, const QString& redirections);
// The same with the standard output going into `file` (such as /dev/full).
CliResult runCliInto(const QStringList& args, const QString& file);
// The same with a reader that takes `bytes` of the output and then goes away,
// as `| head -c` does.
CliResult runCliReadingOnly(const QStringList& args, qint64 bytes);

}  // namespace korbisto::test
