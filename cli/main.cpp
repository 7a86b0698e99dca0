#include "cli_common.h"
#include "output.h"

#include "core/error.h"
#include "core/text_helpers.h"
#include "files/binary_io.h"

#include <QCoreApplication>

#include <csignal>

using namespace korbisto;
using namespace korbisto::cli;

namespace {

QString overview() {
    QString text = QStringLiteral(
        "Korbisto auf der Kommandozeile: Spielscheine prüfen, Spieltage lesen und schreiben,\n"
        "Systeme abwickeln.\n\n"
        "Aufruf: korbisto-cli BEFEHL [OPTIONEN]\n\nBefehle:\n");
    for (const Command& c : commands()) text += QStringLiteral("  ") + c.usage.section(u'\n', 0, 0) + u'\n';
    text += QStringLiteral("\n„korbisto-cli BEFEHL --help“ erklärt einen Befehl.\n"
                           "Exit-Code: 0 Erfolg, 1 Datei- oder Eingabefehler, 2 falscher Aufruf.\n");
    return text;
}

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
    }
}

}  // namespace

int main(int argc, char** argv) {
#ifdef SIGPIPE
    // A reader that goes away (`| head`) is a write error reported as such,
    // not a signal that ends the program unseen.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korbisto-cli"));
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
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        try {
            out(overview());
            standardOutput().finish();
        } catch (const KorbistoError& e) {
            err(plain(e.message()) + u'\n');
            return 1;
        }
        return 0;
    }
    for (const Command& command : commands()) {
        if (command.name != name) continue;
        try {
            const CommandLine line(args, command.options);
            if (line.helpRequested()) {
                out(QStringLiteral("Aufruf: korbisto-cli ") + command.usage + u'\n');
                standardOutput().finish();
                return 0;
            }
            const int result = command.run(line);
            standardOutput().finish();
            return result;
        } catch (const UsageError& e) {
            flushAfterFailure();
            err(QString::fromUtf8(e.what()) + QStringLiteral("\n\nAufruf: korbisto-cli ") + command.usage + u'\n');
            return 2;
        } catch (const KorbistoError& e) {
            flushAfterFailure();
            err(plain(e.message()) + u'\n');
            return 1;
        } catch (const std::bad_alloc&) {
            flushAfterFailure();
            err(QStringLiteral("Zu wenig Arbeitsspeicher.\n"));
            return 1;
        }
    }
    err(QStringLiteral("Unbekannter Befehl: %1\n\n").arg(quotedInput(name)) + overview());
    return 2;
}
