#include "cli_common.h"

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

}  // namespace
}  // namespace korbisto::cli
