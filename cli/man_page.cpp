#include "man_page.h"

#include "cli_common.h"

#include "app/program_call.h"
#include "core/paths.h"

namespace korbisto::cli {
namespace {

// Text as roff shows it: backslashes escaped, no line starting a request.
QString roff(const QString& text) {
    QString s = text;
    s.replace(u'\\', QStringLiteral("\\e"));
    QStringList lines = s.split(u'\n');
    for (QString& line : lines)
        if (line.startsWith(u'.') || line.startsWith(u'\'')) line.prepend(QStringLiteral("\\&"));
    return lines.join(u'\n');
}

// A command line: its dashes are minus signs, so that it can be copied.
QString call(const QString& text) {
    QString s = roff(text);
    s.replace(u'-', QStringLiteral("\\-"));
    return s;
}

QString header(const QString& name, const QString& summary) {
    // Ragged right and unhyphenated: calls would be stretched, and German words
    // split by the English rules.
    return QStringLiteral(".TH %1 1 \"\" \"Korbisto %2\" \"Korbisto\"\n.ad l\n.nh\n.SH BEZEICHNUNG\n%3 \\- %4\n")
        .arg(name.toUpper(), QLatin1String(ProgramVersion), call(name), roff(summary));
}

QString option(const QString& names, const QString& valueName, const QString& help) {
    const QString head = valueName.isEmpty() ? QStringLiteral(".B %1").arg(call(names))
                                             : QStringLiteral(".BI \"%1 \" \"%2\"").arg(call(names), roff(valueName));
    return QStringLiteral(".TP\n") + head + u'\n' + roff(help) + u'\n';
}

const QString kEnvironment = QStringLiteral(
    ".SH UMGEBUNG\n"
    ".TP\n.B XDG_DATA_HOME\n"
    "Die Daten liegen in \\fI$XDG_DATA_HOME/Korbisto/\\fR, sonst in \\fI~/.local/share/Korbisto/\\fR.\n"
    ".TP\n.B KORBISTO_SERVER\n"
    "Der Server für Spieltage und Versionsprüfung, wo \\fIoptionen.ini\\fR [Server] Adresse= keinen nennt.\n"
    ".TP\n.B KORBISTO_CA_FILE\n"
    "Eine weitere vertrauenswürdige CA (PEM), wo \\fIoptionen.ini\\fR [Server] CA= keine nennt.\n");

}  // namespace

QString cliManPage() {
    QString s = header(QStringLiteral("korbisto-cli"),
                       QStringLiteral("Korbisto auf der Kommandozeile: Spielscheine prüfen, Spieltage lesen und "
                                      "schreiben, Systeme abwickeln"));
    s += QStringLiteral(".SH ÜBERSICHT\n.B korbisto\\-cli\n.I BEFEHL\n[\\fIOPTIONEN\\fR]\n.br\n"
                        ".B korbisto\\-cli \\-\\-version\n.br\n.B korbisto\\-cli help\n[\\fIBEFEHL\\fR]\n");
    s += QStringLiteral(
        ".SH BESCHREIBUNG\n"
        "\\fBkorbisto\\-cli\\fR rechnet wie das Programm \\fBkorbisto\\fR(1), ohne Fenster. Wo eine DATEI gelesen "
        "wird, liest \\fB\\-\\fR die Standardeingabe; \\fB\\-\\-out \\-\\fR schreibt die Datei auf die "
        "Standardausgabe. Text auf der Standardausgabe endet mit LF. Liest der Empfänger nicht mehr "
        "weiter (\\fB| head\\fR), endet der Befehl still. Die JSON-Ausgaben (\\fB\\-\\-format json\\fR) "
        "beschreibt \\fI/usr/share/doc/korbisto\\-cli/json.md\\fR.\n");
    s += QStringLiteral(".SH BEFEHLE\n");
    for (const Command& c : commands()) {
        s += QStringLiteral(".SS \"%1\"\n.B korbisto\\-cli %1\n%2\n.PP\n%3\n")
                 .arg(call(c.name), call(c.synopsis), roff(c.description));
        for (const Option& o : c.options) s += option(QStringLiteral("--") + o.name, o.valueName, o.help);
    }
    s += QStringLiteral(
        ".SH EXIT-STATUS\n"
        ".TP\n.B 0\nErfolg, auch wenn der Empfänger der Ausgabe vorher aufhört zu lesen.\n"
        ".TP\n.B 1\nEin Datei- oder Eingabefehler, oder die Ausgabe ließ sich nicht schreiben; die Meldung nennt die "
        "Datei.\n"
        ".TP\n.B 2\nEin falscher Aufruf: eine Zeile sagt, was nicht stimmt, eine zweite, wo es mehr dazu gibt.\n");
    s += kEnvironment;
    s += QStringLiteral(".SH SIEHE AUCH\n.BR korbisto (1)\n");
    return s;
}

QString programManPage() {
    const app::ProgramCall& program = app::programCall();
    QString s = header(QStringLiteral("korbisto"), program.summary);
    s += QStringLiteral(".SH ÜBERSICHT\n.B korbisto\n%1\n").arg(call(program.synopsis));
    s += QStringLiteral(".SH BESCHREIBUNG\n%1\n.SH OPTIONEN\n").arg(roff(program.description));
    for (const auto& [names, help] : program.options) s += option(names, QString(), help);
    s += kEnvironment;
    s += QStringLiteral(".SH SIEHE AUCH\n.BR korbisto\\-cli (1)\n");
    return s;
}

}  // namespace korbisto::cli
