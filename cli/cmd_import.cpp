#include "cli_common.h"
#include "json_writer.h"
#include "output.h"

#include "core/german.h"
#include "core/outcomes.h"
#include "files/slip_file.h"
#include "files/text_file.h"
#include "files/text_import.h"

namespace korbisto::cli {
namespace {

void writeJson(ImportMode mode, std::optional<QChar> separator, const TipTable& rows) {
    JsonWriter json;
    json.beginObject().key(u"mode").string(mode == ImportMode::FixedWidth ? u"fixed" : u"separated");
    json.key(u"separator");
    if (separator) json.string(QString(*separator));
    else json.null();
    json.key(u"rows").beginArray();
    for (const TipTable::Row& row : rows.rows()) json.tips(row.tips);
    // What is no tip stands as "?" in its row and here as it was read.
    json.endArray().key(u"odd").beginArray();
    for (const TipTable::Row& row : rows.rows())
        for (int m = 1; m <= kMatches; ++m)
            if (row.tips[static_cast<size_t>(m - 1)] == kTipOther)
                json.beginObject()
                    .key(u"row")
                    .number(row.number)
                    .key(u"match")
                    .number(m)
                    .key(u"text")
                    .string(rows.oddText(row, m))
                    .endObject();
    json.endArray().endObject().finish();
}

QString separatorName(QChar c) {
    switch (c.unicode()) {
    case u' ':
        return QStringLiteral("Leerzeichen");
    case u'\t':
        return QStringLiteral("Tab");
    default:
        return QStringLiteral("„%1“").arg(c);
    }
}

QString summary(const TipImport& import) {
    if (import.rowsFound == 0) return QStringLiteral("Keine Reihe gefunden.\n");
    const QString found = import.rowsFound == 1 ? QStringLiteral("1 Reihe gefunden")
                                                : QStringLiteral("%1 Reihen gefunden").arg(formatCount(import.rowsFound));
    if (import.mode == ImportMode::FixedWidth) return found + QStringLiteral(" (13 Zeichen je Zeile).\n");
    if (!import.separator) return found + QStringLiteral(" (ohne erkanntes Trennzeichen).\n");
    return found + QStringLiteral(" (Trennzeichen %1).\n").arg(separatorName(*import.separator));
}

int runImport(const CommandLine& args) {
    args.expectPositional(1);
    const Format format = outputFormat(args, QStringLiteral("text|json"));
    const QString path = args.positional().first();
    const QString outPath = args.value(QStringLiteral("out"));
    // The slip is what goes out then; rows beside it would spoil it.
    const bool slipOut = args.has(QStringLiteral("out")) && outToStandardOutput(args, true);
    if (slipOut && format == Format::Json)
        throw UsageError(QStringLiteral("--out - schreibt den Spielschein auf die Standardausgabe, dort ist kein Platz "
                                        "für JSON."));
    LoadedText loaded = onFile(path, [&] { return loadTextFile(path, LineBreaks::AsTheyAre); });
    // Loading runs the field's change handler first: tabs become commas.
    const FieldChange field = fieldChanged(loaded.text);
    TipImport import = importTipRows(field.text);
    const QString summaryLine = summary(import);
    const ImportMode mode = import.mode;
    const std::optional<QChar> separator = import.separator;

    TipDocument grid;
    takeImport(grid, std::move(import), loaded.fileName);
    if (args.has(QStringLiteral("out"))) {
        // What the rows lack is said of the rows, before any file is named.
        checkCanSave(grid);
        validateSlipRows(grid.table());
    }
    if (slipOut) {
        standardOutput().append(encodeSlip(grid.table()));
        err(summaryLine);
        return 0;
    }
    if (args.has(QStringLiteral("out"))) onFile(outPath, [&] { saveSlip(grid, outPath); }, true);

    if (format == Format::Json) {
        writeJson(mode, separator, grid.table());
    } else {
        printRows(grid.table(), ',');
        err(summaryLine);
    }
    return 0;
}

const RegisterCommand registration({
    .name = QStringLiteral("import"),
    .synopsis = QStringLiteral("DATEI [--out DATEI.krsc] [--format text|json]"),
    .summary = QStringLiteral("liest Tippreihen aus einer Text-Datei"),
    .description = QStringLiteral(
        "Liest eine Text-Datei (.txt, .csv) wie „Textdatei öffnen...“ im Fenster „Von Tippreihen zum\n"
        "Spielschein“ und wendet „Auslesen“ an: Zeilen aus genau 13 Zeichen (1201120112011) oder\n"
        "Zeilen, deren Tipps durch Leerzeichen, „;“, Tab oder „,“ getrennt sind; ein X gilt als 0.\n"
        "Die Reihen stehen auf der Standardausgabe, die 13 Tipps durch „,“ getrennt, wie „Reihen\n"
        "kopieren“ sie liefert; eine Zeile auf der Fehlerausgabe nennt die Zahl der Reihen. Wurde keine\n"
        "Reihe gefunden, bleibt wie im Fenster eine leere Reihe stehen. „-“ als DATEI liest die\n"
        "Standardeingabe."),
    .run = runImport,
    .options = {outOption(QStringLiteral("DATEI.krsc"),
                          QStringLiteral("speichert die Reihen als Spielschein; jede Zelle muss 0, 1 oder 2 sein,\n"
                                         "sonst wird nichts geschrieben")),
                formatOption(QStringLiteral("text|json"),
                             QStringLiteral("die Reihen als Text oder als JSON mit Modus, Trennzeichen und den\n"
                                            "Zellen, die kein Tipp sind")),
                jsonAlias()},
    .operand = QStringLiteral("DATEI"),
});

}  // namespace
}  // namespace korbisto::cli
