#include "cli_common.h"
#include "json_writer.h"
#include "output.h"

#include "core/error.h"
#include "core/german.h"
#include "core/text_helpers.h"
#include "files/slip_file.h"
#include "systems/cross_sheet.h"
#include "systems/full_system.h"
#include "systems/reduced_catalogue.h"
#include "systems/vew_catalogue.h"
#include "systems/vew_expansion.h"

#include <array>

namespace korbisto::cli {
namespace {

// The sheet after the crosses were clicked match by match, column by column.
void applyCrosses(CrossSheet& sheet, const OutcomeCrosses& crosses) {
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c)
            if (crosses[static_cast<size_t>(outcomeIndex(m, c))]) sheet.toggle(m, c);
}

void writeStructureJson(const CrossSheet& sheet) {
    const SheetCounts counts = sheet.counts().value_or(SheetCounts{});
    JsonWriter json;
    json.beginObject();
    json.key(u"bankers").number(counts.bankers);
    json.key(u"zw").number(counts.zw);
    json.key(u"dw").number(counts.dw);
    json.key(u"rows").number(counts.rows);
    json.key(u"vew");
    if (const int vew = sheet.offeredVew(); vew == 0) json.null();
    else json.beginObject().key(u"number").number(vew).key(u"rows").number(vewEintrag(vew).Reihen).endObject();
    json.key(u"full_enabled").boolean(sheet.fullSystemAllowed());
    json.endObject().finish();
}

QString structureText(const CrossSheet& sheet) {
    const SheetCounts counts = sheet.counts().value_or(SheetCounts{});
    QString s = QStringLiteral("Spiel  1  0  2\n");
    for (int m = 1; m <= kMatches; ++m) {
        s += QString::number(m).rightJustified(5) + u' ';
        for (int c = 1; c <= 3; ++c) s += sheet.crossed(m, c) ? QStringLiteral("  X") : QStringLiteral("  .");
        if (sheet.crossed(m, kZWSpalte)) s += QStringLiteral("   Zweiweg");
        if (sheet.crossed(m, kDWSpalte)) s += QStringLiteral("   Dreiweg");
        s += u'\n';
    }
    s += QStringLiteral("\nStruktur: %1 Bänke, %2 ZW, %3 DW\n").arg(counts.bankers).arg(counts.zw).arg(counts.dw);
    s += QStringLiteral("Tippreihen im Vollsystem: %1\n").arg(formatCount(counts.rows));
    if (sheet.fullSystemAllowed())
        s += QStringLiteral("Vollsystem: kann abgewickelt werden\n");
    else if (!sheet.AlleGetippt())
        s += QStringLiteral("Vollsystem: nicht jedes Spiel ist angekreuzt\n");
    else
        s += QStringLiteral("Vollsystem: mehr als %1 Tippreihen, im Programm nicht abwickelbar\n")
                 .arg(formatCount(kMaxVollsystemReihen));
    if (sheet.offeredVew() != 0)
        s += QStringLiteral("VEW-System %1 %2\n").arg(sheet.offeredVew()).arg(vewRowsCaption(vewEintrag(sheet.offeredVew()).Reihen));
    else
        s += QStringLiteral("VEW-System: keines\n");
    return s;
}



void requireComplete(const CrossSheet& sheet) {
    if (!sheet.AlleGetippt())
        throw KorbistoError(refusal(QStringLiteral(
            "Nicht jedes der 13 Spiele ist angekreuzt. Ein System braucht auf jedem Spiel mindestens ein Kreuz.")));
}

// A development held whole, handed on as one block.
NextBlock wholeTable(std::optional<TipTable>& rows) {
    return [&rows](TipTable& block) {
        if (!rows) return 0;
        block = std::move(*rows);
        rows.reset();
        return block.dataRowCount();
    };
}

int runStructure(const CommandLine& args) {
    args.expectPositional(0);
    const Format format = outputFormat(args, QStringLiteral("text|json"));
    const OutcomeCrosses crosses = parseCrosses(args.required(QStringLiteral("crosses")));
    CrossSheet sheet;
    applyCrosses(sheet, crosses);
    if (format == Format::Json) writeStructureJson(sheet);
    else out(structureText(sheet));
    return 0;
}

// The complete sheet of --crosses for the developments.
void completeSheet(const CommandLine& args, CrossSheet& sheet) {
    args.expectPositional(0);
    const OutcomeCrosses crosses = parseCrosses(args.required(QStringLiteral("crosses")));
    applyCrosses(sheet, crosses);
    requireComplete(sheet);
}

int runFull(const CommandLine& args) {
    const Format format = rowsFormat(args);
    CrossSheet sheet;
    completeSheet(args, sheet);
    // All of 3^13 never sits in memory: each block is written and forgotten.
    FullSystemRows rows(sheet.structure());
    writeRows(args, [&](TipTable& block) { return rows.appendTo(block, SlipReader::kBlockRows); }, format);
    return 0;
}

QString catalogueStructures() {
    QStringList list;
    for (int n = 1; n <= kVewSysteme; ++n)
        list << QStringLiteral("%1 ZW/%2 DW").arg(vewEintrag(n).ZW).arg(vewEintrag(n).DW);
    return list.join(QStringLiteral(", "));
}

int runVew(const CommandLine& args) {
    const Format format = rowsFormat(args);
    CrossSheet sheet;
    completeSheet(args, sheet);
    if (sheet.offeredVew() == 0)
        throw KorbistoError(refusal(
            QStringLiteral("Zu dieser Struktur mit %1 ZW und %2 DW gibt es kein VEW-System. VEW-Systeme gibt es für %3.")
                .arg(sheet.AnzZW())
                .arg(sheet.AnzDW())
                .arg(catalogueStructures())));
    std::optional<TipTable> rows = expandVew(sheet.structure(), sheet.offeredVew());
    writeRows(args, wholeTable(rows), format);
    return 0;
}


int runReduce(const CommandLine& args) {
    const Format format = rowsFormat(args);
    const int guarantee = parseGuarantee(args.required(QStringLiteral("guarantee")));
    CrossSheet sheet;
    completeSheet(args, sheet);
    std::optional<TipTable> rows = expandReduced(sheet.structure(), guarantee);
    if (format != Format::Json) {
        emitRows(args, wholeTable(rows), format);
        return 0;
    }
    JsonWriter json;
    json.beginObject();
    json.key(u"zw").number(sheet.AnzZW());
    json.key(u"dw").number(sheet.AnzDW());
    json.key(u"guarantee").number(guarantee);
    json.key(u"count").number(rows ? rows->dataRowCount() : 0);
    json.key(u"rows").beginArray();
    if (rows)
        for (const TipTable::Row& row : rows->rows()) json.tips(row.tips);
    json.endArray().endObject().finish();
    return 0;
}

Option crossesOption() {
    return {QStringLiteral("crosses"), QStringLiteral("SPEC"),
            QStringLiteral("die Kreuze: 13 Gruppen, durch „,“ getrennt, je Spiel die angekreuzten\n"
                           "Ausgänge aus 1, 0, 2 (X = 0) in beliebiger Folge; eine leere Gruppe\n"
                           "ist ein Spiel ohne Kreuz. Beispiel: 1,10,102,2,0,1,1,12,02,102,1,1,0")};
}

Option slipOutOption() {
    return outOption(QStringLiteral("DATEI.krsc"), QStringLiteral("die Reihen als Spielschein (.krsc) speichern statt ausgeben"));
}

const RegisterCommand structureCommand({
    .name = QStringLiteral("structure"),
    .synopsis = QStringLiteral("--crosses SPEC [--format text|json]"),
    .summary = QStringLiteral("zeigt, was der Kreuzbogen zu Kreuzen anzeigt"),
    .description = QStringLiteral("Zeigt, was der Kreuzbogen zu diesen Kreuzen anzeigt: Bänke, Zwei- und Dreiwege,\n"
                                  "Tippreihen im Vollsystem, das passende VEW-System und ob das Vollsystem abwickelbar "
                                  "ist."),
    .run = runStructure,
    .options = {crossesOption(), textOrJsonOption(),
                jsonAlias()},
});

const RegisterCommand fullCommand({
    .name = QStringLiteral("full"),
    .synopsis = QStringLiteral("--crosses SPEC [--out DATEI.krsc] [--format text|csv|json]"),
    .summary = QStringLiteral("wickelt das Vollsystem der Kreuze ab"),
    .description = QStringLiteral("Wickelt das Vollsystem der Kreuze ab (ohne die Grenze von 96.000 Reihen des "
                                  "Fensters)\nund gibt die Tippreihen aus wie „Reihen kopieren“, oder speichert sie als "
                                  "Spielschein."),
    .run = runFull,
    .options = {crossesOption(), slipOutOption(), rowsFormatOption(), jsonAlias()},
});

const RegisterCommand vewCommand({
    .name = QStringLiteral("vew"),
    .synopsis = QStringLiteral("--crosses SPEC [--out DATEI.krsc] [--format text|csv|json]"),
    .summary = QStringLiteral("wickelt das VEW-System ab, das zu den Kreuzen passt"),
    .description = QStringLiteral("Wickelt das VEW-System ab, das zur Struktur der Kreuze passt, und gibt die "
                                  "Tippreihen\naus wie „Reihen kopieren“, oder speichert sie als Spielschein. Passt "
                                  "keines: Exit-Code 1."),
    .run = runVew,
    .options = {crossesOption(), slipOutOption(), rowsFormatOption(), jsonAlias()},
});

const RegisterCommand reduceCommand({
    .name = QStringLiteral("reduce"),
    .synopsis = QStringLiteral("--crosses SPEC --guarantee 12|11|10 [--out DATEI.krsc] [--format text|csv|json]"),
    .summary = QStringLiteral("wickelt das reduzierte System des Katalogs ab"),
    .description = QStringLiteral(
        "Wickelt das reduzierte System des Katalogs ab, das für jedes Ergebnis innerhalb der\n"
        "Kreuze eine Tippreihe mit mindestens 12, 11 oder 10 Richtigen garantiert, und gibt\n"
        "die Tippreihen aus wie „Reihen kopieren“, oder speichert sie als Spielschein.\n"
        "Ohne Zwei- und Dreiwege ist es das Vollsystem, die eine Reihe der Bänke."),
    .run = runReduce,
    .options = {crossesOption(),
                {QStringLiteral("guarantee"), QStringLiteral("12|11|10"), QStringLiteral("12, 11 oder 10 Richtige garantiert")},
                slipOutOption(),
                formatOption(QStringLiteral("text|csv|json"),
                             QStringLiteral("Trennzeichen „,“ (text) oder „;“ (csv), oder JSON mit\n"
                                            "Struktur, Garantie, Anzahl und Reihen")),
                jsonAlias()},
});

}  // namespace
}  // namespace korbisto::cli
