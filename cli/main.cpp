#include "cli_common.h"
#include "output.h"

#include "core/error.h"
#include "core/paths.h"
#include "files/binary_io.h"

#include <QCoreApplication>

#include <csignal>
#include <fcntl.h>
#ifndef _WIN32
#include <unistd.h>
#endif

using namespace korbisto;
using namespace korbisto::cli;

namespace {

// Message boxes put line breaks where the original had carriage returns.
QString plain(const QString& message) {
    QString text = message;
    text.replace(u'\r', u'\n');
    return text;
}

// What a command wrote before it failed still goes out; a second failure of
// the output is not reported twice.
void flushAfterFailure() {
    try {
        standardOutput().finish();
    } catch (const KorbistoError&) {
    } catch (const OutputClosed&) {
    }
}

// Runs `work` and turns what it throws into a message and the exit code.
// `more` is the command whose help a wrong call points to.
template <typename Work>
int guarded(const QString& more, Work&& work) {
    try {
        const int result = work();
        standardOutput().finish();
        return result;
    } catch (const UsageError& e) {
        flushAfterFailure();
        err(QString::fromUtf8(e.what()) + QStringLiteral("\nMehr dazu: korbisto-cli %1--help\n").arg(more));
        return 2;
    } catch (const KorbistoError& e) {
        flushAfterFailure();
        err(plain(e.message()) + u'\n');
        return 1;
    } catch (const OutputClosed&) {
        // The reader has what it wanted, as `| head` means.
        return 0;
    } catch (const std::bad_alloc&) {
        flushAfterFailure();
        err(QStringLiteral("Zu wenig Arbeitsspeicher.\n"));
        return 1;
    }
}

#ifndef _WIN32
// A standard stream the caller closed gets a stand-in that fails as that
// stream would (reading or writing /dev/null the wrong way), so that no file
// the tool opens later takes its number and receives the output.
void standInForClosedStreams() {
    for (const int fd : {0, 1, 2}) {
        if (::fcntl(fd, F_GETFD) != -1) continue;
        const int mode = fd == 1 ? O_RDONLY : O_WRONLY;
        const int opened = ::open("/dev/null", mode);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifndef _WIN32
    standInForClosedStreams();
#endif
#ifdef SIGPIPE
    // A reader that goes away (`| head`) shows as a failed write, which ends
    // the command quietly.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korbisto-cli"));
    setStandardInputName(QStringLiteral("-"));
#ifdef _WIN32
    QStringList args = QCoreApplication::arguments().mid(1);
#else
    // Qt would turn the bytes of a file name that is not UTF-8 into U+FFFD
    // and so name another file; these come back as the bytes given.
    QStringList args;
    for (int i = 1; i < argc; ++i) args << decodeFileName(QByteArray(argv[i]));
#endif
    if (args.isEmpty()) {
        err(overview());
        return 2;
    }
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h"))
        return guarded(QString(), [] {
            out(overview());
            return 0;
        });
    if (name == QLatin1String("--version"))
        return guarded(QString(), [] {
            out(QStringLiteral("korbisto-cli %1\n").arg(QLatin1String(ProgramVersion)));
            return 0;
        });
    const Command* command = findCommand(name);
    if (!command) return guarded(QString(), [&]() -> int { throw unknownCommand(name); });
    return guarded(command->name + u' ', [&] {
        const CommandLine line(args, command->options);
        if (line.helpRequested()) {
            out(helpText(*command));
            return 0;
        }
        checkFileArguments(line, *command);
        return command->run(line);
    });
}
