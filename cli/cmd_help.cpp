#include "cli_common.h"
#include "completion.h"

#include "core/text_helpers.h"

namespace korbisto::cli {
namespace {

int runHelp(const CommandLine& args) {
    const QStringList words = args.positional();
    if (words.size() > 1) throw UsageError(QStringLiteral("Unerwartete Argumente: %1").arg(quotedInput(words.mid(1).join(u' '))));
    if (words.isEmpty()) {
        out(overview());
        return 0;
    }
    const Command* command = findCommand(words.first());
    if (!command) throw unknownCommand(words.first());
    out(helpText(*command));
    return 0;
}

const RegisterCommand helpCommand({
    .name = QStringLiteral("help"),
    .synopsis = QStringLiteral("[BEFEHL]"),
    .summary = QStringLiteral("erklärt einen Befehl, ohne BEFEHL alle"),
    .description = QStringLiteral("Zeigt die Hilfe eines Befehls wie „korbisto-cli BEFEHL --help“, ohne BEFEHL die "
                                  "Übersicht."),
    .run = runHelp,
    .options = {},
    .operand = QStringLiteral("BEFEHL"),
});

int runCompletion(const CommandLine& args) {
    if (args.positional().size() != 1)
        throw UsageError(QStringLiteral("Es wird genau eine Shell erwartet: bash, zsh oder fish."));
    const QString script = completionScript(args.positional().first());
    if (script.isEmpty()) throw UsageError(QStringLiteral("Vervollständigung gibt es für bash, zsh und fish."));
    out(script);
    return 0;
}

const RegisterCommand completionCommand({
    .name = QStringLiteral("completion"),
    .synopsis = QStringLiteral("bash|zsh|fish"),
    .summary = QStringLiteral("das Skript, mit dem die Shell Befehle und Optionen ergänzt"),
    .description = QStringLiteral(
        "Gibt das Skript aus, mit dem bash, zsh oder fish Befehle, Optionen und ihre Werte ergänzen.\n"
        "Die Pakete bringen es schon mit; von Hand etwa: source <(korbisto-cli completion bash)"),
    .run = runCompletion,
    .options = {},
    .operand = QStringLiteral("bash|zsh|fish"),
});

}  // namespace
}  // namespace korbisto::cli
