#include "cli_common.h"
#include "output.h"

#include "core/text_helpers.h"
#include "core/tip_table.h"
#include "files/slip_file.h"

namespace korbisto::cli {
namespace {

int runSlip(const CommandLine& args) {
    args.expectPositional(1);
    const QString format = args.has(QStringLiteral("format")) ? args.value(QStringLiteral("format"))
                                                              : QStringLiteral("text");
    if (format != QLatin1String("text") && format != QLatin1String("csv"))
        throw UsageError(QStringLiteral("--format kennt nur text und csv."));
    // A block at a time: the largest slip costs no more memory than a small one.
    SlipReader reader(args.positional().first());
    TipTable block;
    while (reader.readInto(block) > 0) {
        printRows(block, format == QLatin1String("csv") ? ';' : ',');
        block.clearAll();
    }
    // The rows are all there; what follows them is no row, which the user should know.
    if (const qint64 rest = reader.leftoverBytes(); rest > 0) {
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
    QStringLiteral("slip"),
    QStringLiteral("slip DATEI [--format text|csv]\n\n"
                   "Gibt die Tippreihen eines Spielscheins (.krsc) aus, eine Zeile je Reihe, die 13 Tipps\n"
                   "durch „,“ getrennt (text) oder durch „;“ (csv), wie „Reihen kopieren“ sie liefert."),
    runSlip,
    {{QStringLiteral("format"), QStringLiteral("text|csv")}},
});

}  // namespace
}  // namespace korbisto::cli
