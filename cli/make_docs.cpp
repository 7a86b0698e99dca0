// Writes the man pages and the shell completions into the folder it is
// given; the build runs it. A command whose table disagrees with its
// synopsis fails the build.
#include "cli_common.h"
#include "completion.h"
#include "man_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

using namespace korbisto::cli;

namespace {

bool write(const QString& path, const QString& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0 && file.flush()) return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(file.errorString()));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: korbisto-cli-docs FOLDER\n");
        return 2;
    }
    QStringList problems;
    for (const Command& c : commands()) problems << tableProblems(c);
    for (const QString& p : problems) std::fprintf(stderr, "%s\n", qPrintable(p));
    if (!problems.isEmpty()) return 1;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const bool written = write(folder + QStringLiteral("/korbisto-cli.1"), cliManPage()) &&
                         write(folder + QStringLiteral("/korbisto.1"), programManPage()) &&
                         write(folder + QStringLiteral("/korbisto-cli.bash"), completionScript(QStringLiteral("bash"))) &&
                         write(folder + QStringLiteral("/_korbisto-cli"), completionScript(QStringLiteral("zsh"))) &&
                         write(folder + QStringLiteral("/korbisto-cli.fish"), completionScript(QStringLiteral("fish")));
    return written ? 0 : 1;
}
