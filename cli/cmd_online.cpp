#include "cli_common.h"

#include "files/version_info_file.h"
#include "online/match_day_download.h"

namespace korbisto::cli {
namespace {

int runSaturdays(const CommandLine& args) {
    args.expectPositional(0);
    const QDateTime now = parseNow(args.value(QStringLiteral("now")));
    out(matchDaySaturdays(now).join(u'\n') + u'\n');
    return 0;
}

const RegisterCommand saturdaysCommand({
    QStringLiteral("saturdays"),
    QStringLiteral("saturdays [--now DATUM]\n\n"
                   "Gibt die Samstage aus, die das Fenster „Spieltag- Download“ anbietet, einen je Zeile, den\n"
                   "ältesten zuerst; der letzte ist der vorgewählte.\n"
                   "  --now DATUM   „jetzt“ als TT.MM.JJJJ oder TT.MM.JJJJTHH:MM"),
    runSaturdays,
    {{QStringLiteral("now"), QStringLiteral("DATUM")}},
});

int runMakeVersionInfo(const CommandLine& args) {
    args.expectPositional(1);
    writeVersionInfoFile(args.required(QStringLiteral("out")), args.positional().first());
    return 0;
}

const RegisterCommand makeVersionInfoCommand({
    QStringLiteral("make-versioninfo"),
    QStringLiteral("make-versioninfo VERSION --out DATEI\n\n"
                   "Schreibt die Versionsdatei (verinfos.krvi), die das Programm-Update vom Server liest: ein\n"
                   "Eintrag von 24 Bytes, der VERSION (bis 15 Zeichen wie 1.3.0.0) anbietet.\n"
                   "  --out DATEI   die Datei, die geschrieben wird"),
    runMakeVersionInfo,
    {{QStringLiteral("out"), QStringLiteral("DATEI")}},
});

}  // namespace
}  // namespace korbisto::cli
