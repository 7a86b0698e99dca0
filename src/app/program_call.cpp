#include "program_call.h"

#include "core/error.h"
#include "core/paths.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace korbisto::app {

const ProgramCall& programCall() {
    static const ProgramCall call{
        QStringLiteral("[DATEI]..."),
        QStringLiteral("die Ergebniswette: Spielscheine, Systeme und ihre Auswertung"),
        QStringLiteral("Korbisto hilft bei der Ergebniswette auf 13 Spiele: Tippreihen eingeben und als Spielschein\n"
                       "speichern, Voll-, VEW- und reduzierte Systeme abwickeln, Reihen würfeln und filtern, Spieltage\n"
                       "laden und Spielscheine gegen Gewinnreihe und Quoten prüfen. Jede DATEI, ein Spielschein (.krsc)\n"
                       "oder ein Spieltag (.sptag), wird beim Start geöffnet. Ohne Fenster: korbisto-cli(1)."),
        {{QStringLiteral("-h, --help"), QStringLiteral("zeigt diese Hilfe, ohne ein Fenster zu öffnen")},
         {QStringLiteral("--version"), QStringLiteral("nennt die Version, ohne ein Fenster zu öffnen")}},
    };
    return call;
}

QString programHelp() {
    const ProgramCall& call = programCall();
    QString s = QStringLiteral("Aufruf: korbisto %1\n\n%2\n\nOptionen:\n").arg(call.synopsis, call.description);
    for (const auto& [names, help] : call.options) s += QStringLiteral("  %1%2\n").arg(names.leftJustified(14), help);
    return s;
}

std::optional<int> answerWithoutWindow(int argc, char** argv) {
    QString answer;
    for (int i = 1; i < argc && answer.isEmpty(); ++i) {
        if (std::strcmp(argv[i], "--version") == 0)
            answer = QStringLiteral("korbisto %1\n").arg(QLatin1String(ProgramVersion));
        else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            answer = programHelp();
    }
    if (answer.isEmpty()) return std::nullopt;
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
    const QByteArray bytes = answer.toUtf8();
    const bool written = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout) ==
                             static_cast<size_t>(bytes.size()) &&
                         std::fflush(stdout) == 0;
    // A reader that stopped early (`| head -1`) had what it wanted.
    if (written || errno == EPIPE) return 0;
    const QByteArray message =
        (QStringLiteral("Die Ausgabe ließ sich nicht schreiben: ") + ioError(errno).message() + u'\n').toUtf8();
    std::fwrite(message.constData(), 1, static_cast<size_t>(message.size()), stderr);
    return 1;
}

}  // namespace korbisto::app
