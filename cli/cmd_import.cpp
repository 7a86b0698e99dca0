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
    for (const TipTable::Row& row : rows.rows()) {
        json.beginArray();
        for (int m = 1; m <= kMatches; ++m) json.string(rows.tipView(row, m));
        json.endArray();
    }
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
    LoadedText loaded = loadTextFile(args.positional().first(), LineBreaks::AsTheyAre);
    // Loading runs the field's change handler first: tabs become commas.
    const FieldChange field = fieldChanged(loaded.text);
    TipImport import = importTipRows(field.text);
    const QString summaryLine = summary(import);
    const ImportMode mode = import.mode;
    const std::optional<QChar> separator = import.separator;

    TipDocument grid;
    takeImport(grid, std::move(import), loaded.fileName);
    if (args.has(QStringLiteral("out"))) saveSlip(grid, args.value(QStringLiteral("out")));

    if (args.has(QStringLiteral("json"))) {
        writeJson(mode, separator, grid.table());
    } else {
        printRows(grid.table(), ',');
        err(summaryLine);
    }
    return 0;
}

const RegisterCommand registration({
    QStringLiteral("import"),
    QStringLiteral(
        "import DATEI [--out DATEI.krsc] [--json]\n\n"
        "Liest eine Text-Datei (.txt, .csv) wie „Textdatei öffnen...“ im Fenster „Von Tippreihen zum\n"
        "Spielschein“ und wendet „Auslesen“ an: Zeilen aus genau 13 Zeichen (1201120112011) oder\n"
        "Zeilen, deren Tipps durch Leerzeichen, „;“, Tab oder „,“ getrennt sind; ein X gilt als 0.\n"
        "Ohne --json stehen die Reihen auf der Standardausgabe, die 13 Tipps durch „,“ getrennt, wie\n"
        "„Reihen kopieren“ sie liefert; eine Zeile auf der Fehlerausgabe nennt die Zahl der Reihen.\n"
        "Wurde keine Reihe gefunden, bleibt wie im Fenster eine leere Reihe stehen.\n\n"
        "  --out DATEI   speichert die Reihen als Spielschein; jede Zelle muss 0, 1 oder 2 sein,\n"
        "                sonst wird nichts geschrieben.\n"
        "  --json        gibt {\"mode\":\"fixed\"|\"separated\",\"separator\":\" \"|\";\"|\"\\t\"|\",\"|null,\n"
        "                \"rows\":[[13 Texte]...]} aus; ein leeres Feld steht als \" \"."),
    runImport,
    {{QStringLiteral("out"), QStringLiteral("DATEI.krsc")}, {QStringLiteral("json"), QString()}},
});

}  // namespace
}  // namespace korbisto::cli
