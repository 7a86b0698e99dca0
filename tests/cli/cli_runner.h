#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace korbisto::test {

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the real korbisto-cli binary.
CliResult runCli(const QStringList& args);

}  // namespace korbisto::test
