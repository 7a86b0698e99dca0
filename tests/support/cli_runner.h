#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace korbisto::test {

struct CliResult {
    int exitCode = -1;
    QByteArray outBytes;
    QString out;  // outBytes as UTF-8
    QString err;
};

// Runs the real korbisto-cli binary; a run that does not end is a failure.
CliResult runCli(const QStringList& args);
// The same with the standard output going into `file` (such as /dev/full).
CliResult runCliInto(const QStringList& args, const QString& file);
// The same with a reader that takes `bytes` of the output and then goes away,
// as `| head -c` does.
CliResult runCliReadingOnly(const QStringList& args, qint64 bytes);

}  // namespace korbisto::test
