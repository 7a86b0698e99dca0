#include "cli_runner.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace korbisto::test {

CliResult runCli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(KORBISTO_CLI_PATH), args);
    CliResult r;
    if (!p.waitForFinished(120000)) {
        ADD_FAILURE() << "korbisto-cli did not finish: " << args.join(u' ').toStdString();
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.outBytes = p.readAllStandardOutput();
    r.out = QString::fromUtf8(r.outBytes);
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

}  // namespace korbisto::test
