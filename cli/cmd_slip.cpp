#include "cli_common.h"

#include "core/text_helpers.h"
#include "core/tip_table.h"

namespace korbisto::cli {
namespace {

int runSlip(const CommandLine& args) {
    args.expectPositional(1);
    const Format format = outputFormat(args, QStringLiteral("text|csv|json"));
    const QString path = args.positional().first();
    // A block at a time: the largest slip costs no more memory than a small one.
    SlipInput slip(path);
    writeRows(args, [&](TipTable& block) { return slip.readInto(block); }, format);
    // The rows are all there; what follows them is no row, which the user should know.
    if (const qint64 rest = slip.leftoverBytes(); rest > 0) {
        const QString file = visibleText(args.positional().first());
        err(rest == 1 ? QStringLiteral("Das letzte Byte von „%1“ ist keine ganze Reihe (40 Bytes) und wurde "
                                       "übergangen.\n")
                            .arg(file)
                      : QStringLiteral("Die letzten %1 Bytes von „%2“ sind keine ganze Reihe (40 Bytes) und wurden "
                                       "übergangen.\n")
                            .arg(rest)
                            .arg(file));
    }
    return 0;
}

const RegisterCommand registration({
    .name = QStringLiteral("slip"),
    .synopsis = QStringLiteral("DATEI [--format text|csv|json]"),
    .summary = QStringLiteral("gibt die Tippreihen eines Spielscheins aus"),
    .description = QStringLiteral(
        "Gibt die Tippreihen eines Spielscheins (.krsc) aus, eine Zeile je Reihe, die 13 Tipps durch „,“\n"
        "getrennt (text) oder durch „;“ (csv), wie „Reihen kopieren“ sie liefert, oder als JSON.\n"
        "„-“ als DATEI liest den Spielschein von der Standardeingabe."),
    .run = runSlip,
    .options = {rowsFormatOption(),
                jsonAlias()},
    .operand = QStringLiteral("DATEI"),
});

}  // namespace
}  // namespace korbisto::cli
