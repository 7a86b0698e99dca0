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

}  // namespace korbisto::test
