#include "cli_runner.h"

#include <QProcess>

namespace korbisto::test {

CliResult runCli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(KORBISTO_CLI_PATH), args);
    CliResult r;
    if (!p.waitForFinished(120000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

}  // namespace korbisto::test
