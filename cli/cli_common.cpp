#include "cli_common.h"
#include "json_writer.h"
#include "output.h"

#include "core/german.h"
#include "core/text_helpers.h"
#include "core/tip_table.h"
#include "files/binary_io.h"
#include "files/slip_file.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace korbisto::cli {

namespace {

const QString kHelp = QStringLiteral("help");

// QCommandLineParser goes on after a refusal and explains in English; this names the
// earliest word it refused, as typed, in German.
QString complaint(const QCommandLineParser& parser, const QStringList& args, const std::vector<Option>& options) {
    qsizetype first = args.size();
    QString text;
    const auto consider = [&](qsizetype index, const QString& message) {
        if (index < first) {
            first = index;
            text = message;
        }
    };
    const QStringList unknown = parser.unknownOptionNames();
    QStringList flags{QStringLiteral("h"), kHelp};
    for (const Option& o : options) {
        if (o.valueName.isEmpty()) {
            flags << o.name;
        } else if (parser.optionNames().count(o.name) > parser.values(o.name).size()) {
            // Only the last word can lack its value.
            consider(args.size() - 1, QStringLiteral("%1 braucht einen Wert.").arg(quotedInput(args.last())));
        }
    }
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& word = args[i];
        if (word.size() < 2 || !word.startsWith(u'-')) continue;
        const bool dashes = word.startsWith(QLatin1String("--"));
        const QString name = word.mid(dashes ? 2 : 1).section(u'=', 0, 0);
        // After a single dash the parser reads one-letter options.
        const bool refused = dashes ? unknown.contains(name)
                                    : std::any_of(name.begin(), name.end(),
                                                  [&](QChar c) { return unknown.contains(QString(c)); });
        if (refused)
            consider(i, QStringLiteral("Unbekannte Option: %1").arg(quotedInput(word)));
        else if (flags.contains(name) && word.contains(u'='))
            consider(i, QStringLiteral("%1 nimmt keinen Wert.").arg(quotedInput(word.section(u'=', 0, 0))));
    }
    return text.isEmpty() ? QStringLiteral("Der Aufruf ist nicht zu verstehen.") : text;
}

// "text, csv und json"
QString listed(const QStringList& words) {
    if (words.size() < 2) return words.join(QString());
    return words.mid(0, words.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" und ") + words.last();
}

// Edits from one word to the other, a swap of neighbours counting one.
int distance(const QString& a, const QString& b) {
    std::vector<std::vector<int>> d(static_cast<size_t>(a.size() + 1), std::vector<int>(static_cast<size_t>(b.size() + 1)));
    for (qsizetype i = 0; i <= a.size(); ++i) d[i][0] = static_cast<int>(i);
    for (qsizetype j = 0; j <= b.size(); ++j) d[0][j] = static_cast<int>(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

// Lines after the first of a help text, indented to `column`.
QString indented(const QString& text, int column) {
    QString s = text;
    s.replace(u'\n', u'\n' + QString(column, u' '));
    return s;
}

}  // namespace

QStringList Option::choices() const {
    static const QRegularExpression words(QStringLiteral("^[a-z0-9]+(\\|[a-z0-9]+)*$"));
    return words.match(valueName).hasMatch() ? valueName.split(u'|') : QStringList();
}

Option nowOption() {
    return {QStringLiteral("now"), QStringLiteral("DATUM"),
            QStringLiteral("„jetzt“ als TT.MM.JJJJ[THH:MM] oder JJJJ-MM-TT[THH:MM]; sonst die Uhr")};
}

Option jsonAlias() { return {QStringLiteral("json"), QString(), QStringLiteral("wie --format json")}; }

Option formatOption(const QString& choices, const QString& help) {
    return {QStringLiteral("format"), choices, help};
}

Option textOrJsonOption() {
    return formatOption(QStringLiteral("text|json"), QStringLiteral("Ausgabe als Text oder JSON"));
}

Option rowsFormatOption() {
    return formatOption(QStringLiteral("text|csv|json"), QStringLiteral("Trennzeichen „,“ (text) oder „;“ (csv), oder JSON"));
}

Option slipOption(const QString& help) {
    return {QStringLiteral("slip"), QStringLiteral("DATEI"), help + QStringLiteral(";\n„-“ liest die Standardeingabe")};
}

Option outOption(const QString& valueName, const QString& help) {
    return {QStringLiteral("out"), valueName, help + QStringLiteral(";\n„-“ schreibt sie auf die Standardausgabe")};
}

CommandLine::CommandLine(const QStringList& args, const std::vector<Option>& options) {
    // Options are words after two dashes; -h is the only one-letter option, so any other
    // single-dash word is refused rather than read as a long option.
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser_.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), kHelp}));
    for (const Option& o : options) parser_.addOption(QCommandLineOption(o.name, QString(), o.valueName));
    // The parser skips the first word as the program's name.
    if (!parser_.parse(QStringList{QStringLiteral("korbisto-cli")} + args))
        throw UsageError(complaint(parser_, args, options));
}

bool CommandLine::helpRequested() const { return parser_.isSet(kHelp); }

QString CommandLine::required(const QString& name) const {
    if (!has(name)) throw UsageError(QStringLiteral("--%1 fehlt.").arg(name));
    return value(name);
}

void CommandLine::expectPositional(int n) const {
    const QStringList positional = parser_.positionalArguments();
    if (positional.size() != n)
        throw UsageError(n == 1 ? QStringLiteral("Es wird genau eine Datei erwartet.")
                                : QStringLiteral("Unerwartete Argumente: %1").arg(quotedInput(positional.join(u' '))));
}

std::vector<Command>& commands() {
    static std::vector<Command> list;
    return list;
}

const Command* findCommand(const QString& name) {
    for (const Command& c : commands())
        if (c.name == name) return &c;
    return nullptr;
}

QString helpText(const Command& command) {
    QString s = QStringLiteral("Aufruf: korbisto-cli %1 %2\n\n%3\n").arg(command.name, command.synopsis, command.description);
    std::vector<std::pair<QString, QString>> rows;
    for (const Option& o : command.options)
        rows.emplace_back(QStringLiteral("--") + o.name + (o.valueName.isEmpty() ? QString() : u' ' + o.valueName), o.help);
    rows.emplace_back(QStringLiteral("-h, --help"), QStringLiteral("zeigt diese Hilfe"));
    // One column for the help; a longer option gets its help on the next line.
    constexpr qsizetype kLongest = 24;
    qsizetype width = 0;
    for (const auto& [label, help] : rows)
        if (label.size() <= kLongest) width = std::max(width, label.size());
    const int column = static_cast<int>(width) + 4;
    s += QStringLiteral("\nOptionen:\n");
    for (const auto& [label, help] : rows) {
        s += QStringLiteral("  ") + label;
        if (label.size() > width) s += u'\n' + QString(column, u' ');
        else s += QString(column - 2 - label.size(), u' ');
        s += indented(help, column) + u'\n';
    }
    return s;
}

QString overview() {
    QString s = QStringLiteral(
        "Korbisto auf der Kommandozeile: Spielscheine prüfen, Spieltage lesen und schreiben,\n"
        "Systeme abwickeln.\n\n"
        "Aufruf: korbisto-cli BEFEHL [OPTIONEN]\n\nBefehle:\n");
    qsizetype width = 0;
    for (const Command& c : commands()) width = std::max(width, c.name.size());
    for (const Command& c : commands()) s += QStringLiteral("  ") + c.name.leftJustified(width + 2) + c.summary + u'\n';
    s += QStringLiteral(
        "\n„korbisto-cli help BEFEHL“ oder „korbisto-cli BEFEHL --help“ erklärt einen Befehl;\n"
        "„korbisto-cli --version“ nennt die Version.\n"
        "Wo eine DATEI gelesen wird, liest „-“ die Standardeingabe; „--out -“ schreibt auf die\n"
        "Standardausgabe. JSON-Ausgaben beschreibt docs/json.md.\n"
        "Exit-Code: 0 Erfolg, 1 Datei- oder Eingabefehler, 2 falscher Aufruf.\n");
    return s;
}

QStringList tableProblems(const Command& command) {
    QStringList problems;
    static const QRegularExpression optionWord(QStringLiteral("--([a-z][a-z-]*)"));
    for (auto it = optionWord.globalMatch(command.synopsis); it.hasNext();) {
        const QString name = it.next().captured(1);
        const bool known = std::any_of(command.options.begin(), command.options.end(),
                                       [&](const Option& o) { return o.name == name; });
        if (!known) problems << QStringLiteral("%1: --%2 steht im Aufruf, aber in keiner Option.").arg(command.name, name);
    }
    for (const Option& o : command.options)
        if (o.help.isEmpty()) problems << QStringLiteral("%1: --%2 hat keine Hilfe.").arg(command.name, o.name);
    if (command.summary.isEmpty() || command.summary.contains(u'\n'))
        problems << QStringLiteral("%1: die Zusammenfassung muss eine Zeile sein.").arg(command.name);
    return problems;
}

QString nearestCommand(const QString& typed) {
    const QString word = typed.toLower();
    QString best;
    int bestDistance = 3;
    for (const Command& c : commands()) {
        // A beginning that fits one command only is that command.
        if (word.size() >= 3 && c.name.startsWith(word)) {
            const auto fitting = std::count_if(commands().begin(), commands().end(),
                                               [&](const Command& other) { return other.name.startsWith(word); });
            if (fitting == 1) return c.name;
        }
        const int d = distance(word, c.name);
        if (d < bestDistance && d * 3 <= c.name.size()) {
            bestDistance = d;
            best = c.name;
        }
    }
    return best;
}

UsageError unknownCommand(const QString& typed) {
    QString message = typed.startsWith(u'-') ? QStringLiteral("Unbekannte Option: %1").arg(quotedInput(typed))
                                             : QStringLiteral("Unbekannter Befehl: „%1“.").arg(quotedInput(typed));
    if (const QString nearest = nearestCommand(typed); !nearest.isEmpty())
        message += QStringLiteral(" Meinten Sie „%1“?").arg(nearest);
    return UsageError(message);
}

void out(const QString& text) { standardOutput().text(text); }

void err(const QString& text) {
    // Whatever a message quotes, nothing reaches the terminal as a control sequence.
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) line = visibleText(line);
    const QByteArray bytes = lines.join(u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

QString shownFileName(const QString& path, bool output) {
    if (isStandardStream(path)) return output ? QStringLiteral("Standardausgabe") : QStringLiteral("Standardeingabe");
    // A name is shown whole up to a sensible length, else its end, where the file's own name is.
    constexpr qsizetype kLongest = 120;
    const QString shown = path.size() <= kLongest ? path : QChar(0x2026) + path.right(kLongest - 1);
    return u'"' + visible(shown) + u'"';
}

KorbistoError namedError(const QString& path, const KorbistoError& e, bool output) {
    QString message = e.message();
    struct stat st {};
    if (!isStandardStream(path) && ::stat(encodeFileName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode))
        message = QStringLiteral("Das ist ein Ordner, keine Datei.");
    else if (!message.isEmpty() && message.back().isLetterOrNumber())
        message += u'.';
    return KorbistoError(shownFileName(path, output) + QStringLiteral(": ") + message);
}

SlipInput::SlipInput(const QString& path)
    : path_(path), reader_(onFile(path, [&] { return std::make_unique<SlipReader>(path); })) {}

SlipInput::~SlipInput() = default;

qint64 SlipInput::records() const { return reader_->records(); }

qint64 SlipInput::leftoverBytes() const { return reader_->leftoverBytes(); }

int SlipInput::readInto(TipTable& block) {
    return onFile(path_, [&] { return reader_->readInto(block); });
}

void checkFileArguments(const CommandLine& args, const Command& command) {
    int fromInput = 0;
    const auto check = [&](const QString& value, const QString& what, bool input) {
        if (value.isEmpty()) throw UsageError(QStringLiteral("%1: Der Dateiname ist leer.").arg(what));
        if (input && isStandardStream(value)) ++fromInput;
    };
    for (const Option& o : command.options)
        if (o.takesFile())
            for (const QString& value : args.values(o.name))
                check(value, QStringLiteral("--") + o.name, o.name != QLatin1String("out"));
    if (command.operand.startsWith(QLatin1String("DATEI")))
        for (const QString& value : args.positional()) check(value, command.operand, true);
    if (fromInput > 1)
        throw UsageError(QStringLiteral("Nur eine Datei kann „-“ sein: die Standardeingabe lässt sich einmal lesen."));
}

bool outToStandardOutput(const CommandLine& args, bool binary) {
    if (!isStandardStream(args.value(QStringLiteral("out")))) return false;
#ifdef _WIN32
    const bool terminal = ::_isatty(1);
#else
    const bool terminal = ::isatty(1);
#endif
    if (binary && terminal)
        throw UsageError(QStringLiteral("--out -: Die Datei ist binär und wird nicht auf ein Terminal geschrieben; "
                                        "leiten Sie die Ausgabe um."));
    return true;
}

Format outputFormat(const CommandLine& args, const QString& choices) {
    const bool json = args.has(QStringLiteral("json"));
    QString format = json ? QStringLiteral("json") : QStringLiteral("text");
    if (args.has(QStringLiteral("format"))) {
        format = args.value(QStringLiteral("format"));
        if (json && format != QLatin1String("json"))
            throw UsageError(QStringLiteral("--json und --format %1 widersprechen einander.").arg(quotedInput(format)));
    }
    const QStringList allowed = choices.split(u'|');
    if (!allowed.contains(format)) throw UsageError(QStringLiteral("--format kennt nur %1.").arg(listed(allowed)));
    return format == QLatin1String("json") ? Format::Json : format == QLatin1String("csv") ? Format::Csv : Format::Text;
}

QStringList parseRowArgument(const QString& row, const QString& option) {
    if (row.size() != 13)
        throw UsageError(QStringLiteral("%1 braucht genau 13 Zeichen aus 0, 1, 2, X und -.").arg(option));
    QStringList texts;
    for (QChar c : row) {
        switch (c.unicode()) {
        case u'0':
        case u'1':
        case u'2':
            texts << QString(c);
            break;
        case u'X':
        case u'x':
            texts << QStringLiteral("0");
            break;
        case u'-':
            texts << QString();
            break;
        default:
            throw UsageError(QStringLiteral("%1: „%2“ ist kein Tipp (erlaubt sind 0, 1, 2, X und -).")
                                     .arg(option, visibleText(QString(c))));
        }
    }
    return texts;
}

QDate parseDateArgument(const QString& text) {
    static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (iso.match(text).hasMatch()) return QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    return parseDate(text);
}

QDateTime parseNow(const QString& text) {
    if (text.isEmpty()) return QDateTime::currentDateTime();
    const qsizetype t = text.indexOf(u'T');
    const QString day = t < 0 ? text : text.left(t);
    const QDate date = parseDateArgument(day);
    QTime time(0, 0);
    if (t >= 0) {
        const QString clock = text.mid(t + 1);
        // Seconds only in the ISO form, where they are usual.
        const bool iso = day.contains(u'-');
        time = QTime::fromString(clock, QStringLiteral("HH:mm"));
        if (!time.isValid() && iso) time = QTime::fromString(clock, QStringLiteral("HH:mm:ss"));
    }
    if (!date.isValid() || !time.isValid())
        throw UsageError(QStringLiteral("--now erwartet TT.MM.JJJJ[THH:MM] oder JJJJ-MM-TT[THH:MM], nicht „%1“.")
                             .arg(quotedInput(text)));
    return QDateTime(date, time);
}

unsigned long long numberOption(const CommandLine& args, const QString& option, unsigned long long max) {
    const QString text = args.value(option);
    bool ok = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const unsigned long long value = ok ? text.toULongLong(&ok) : 0;
    if (!ok || value > max)
        throw UsageError(
            QStringLiteral("--%1 erwartet eine ganze Zahl von 0 bis %2, nicht „%3“.").arg(option).arg(max).arg(quotedInput(text)));
    return value;
}

OutcomeCrosses parseCrosses(const QString& spec) {
    const QStringList groups = spec.split(u',');
    if (groups.size() != kMatches)
        throw UsageError(QStringLiteral("--crosses braucht 13 Gruppen, durch „,“ getrennt (eine je Spiel), nicht %1.")
                             .arg(groups.size()));
    OutcomeCrosses crosses{};
    for (int m = 1; m <= kMatches; ++m) {
        for (QChar ch : groups[m - 1]) {
            int column = 0;
            switch (ch.unicode()) {
            case u'1':
                column = 1;
                break;
            case u'0':
            case u'X':
            case u'x':
                column = 2;
                break;
            case u'2':
                column = 3;
                break;
            default:
                throw UsageError(QStringLiteral("--crosses, Spiel %1: „%2“ ist kein Ausgang (erlaubt sind 1, 0, 2 und X).")
                                     .arg(m)
                                     .arg(visibleText(QString(ch))));
            }
            bool& box = crosses[static_cast<size_t>(outcomeIndex(m, column))];
            if (box)
                throw UsageError(QStringLiteral("--crosses, Spiel %1: „%2“ ist doppelt angekreuzt.")
                                     .arg(m)
                                     .arg(QLatin1String(TippText[static_cast<size_t>(column)])));
            box = true;
        }
    }
    return crosses;
}

QString quotaArgument(const QString& text, const QString& option) {
    // Only a number as the window reads it can be a hundred times off; other text is no quota.
    const std::optional<double> german = ParseQuota(text);
    if (!text.contains(u'.') || !german) return text;
    QString plain = text;
    plain.remove(u' ');
    const QString whole = plain.section(u',', 0, 0);
    const QStringList groups = whole.split(u'.');
    // One dot before one or two digits is no thousands separator: a decimal point.
    if (!plain.contains(u',') && groups.size() == 2 && !groups[0].isEmpty() && groups[1].size() <= 2 &&
        !groups[1].isEmpty())
        return groups[0] + u',' + groups[1];
    const bool thousands = !groups[0].isEmpty() && groups[0].size() <= 3 &&
                           std::all_of(groups.begin() + 1, groups.end(), [](const QString& g) { return g.size() == 3; });
    if (thousands) return text;
    const QString shown = quotedInput(text);
    // A reading is named where it can be a quota; one of a dozen digits and more is none.
    constexpr double kLargest = 1e12;
    if (plain.contains(u',') || plain.endsWith(u'.') || *german >= kLargest)
        throw UsageError(QStringLiteral("%1: In „%2“ trennen die Punkte keine Tausender (je drei Ziffern)%3.")
                             .arg(option, shown,
                                  *german < kLargest ? QStringLiteral("; deutsch gelesen wäre es %1").arg(formatAmount(*german))
                                                     : QString()));
    const qsizetype point = whole.lastIndexOf(u'.');
    const double decimal = (whole.left(point).remove(u'.') + u'.' + whole.mid(point + 1)).toDouble();
    throw UsageError(QStringLiteral("%1: „%2“ ist mehrdeutig: deutsch gelesen %3, mit Dezimalpunkt %4; bitte mit "
                                    "Dezimalkomma schreiben.")
                         .arg(option, shown, formatAmount(*german), formatAmount(decimal)));
}

std::array<OutcomeWeights, kMatches> parseWeights(const QString& spec, const LiveResult& result) {
    std::array<OutcomeWeights, kMatches> weights;
    weights.fill(kEqualWeights);
    if (spec.isEmpty()) return weights;
    const QStringList groups = spec.split(u',');
    if (groups.size() != kMatches)
        throw UsageError(QStringLiteral("--weights braucht 13 Gruppen, durch „,“ getrennt (eine je Spiel), nicht %1.")
                             .arg(groups.size()));
    for (int m = 0; m < kMatches; ++m) {
        const QString& group = groups[m];
        // A decided match's weights do not count.
        if (group == QLatin1String("-") || result[static_cast<size_t>(m)] != kTipEmpty) continue;
        const QStringList parts = group.split(u'/');
        OutcomeWeights& w = weights[static_cast<size_t>(m)];
        bool valid = parts.size() == 3;
        for (int c = 0; valid && c < 3; ++c) {
            w[static_cast<size_t>(c)] = parts[c].toDouble(&valid);
            valid = valid && w[static_cast<size_t>(c)] >= 0 && std::isfinite(w[static_cast<size_t>(c)]);
        }
        // Each one a number, but too large together to give shares.
        if (valid && !validWeights(w) && w != OutcomeWeights{0, 0, 0})
            throw UsageError(QStringLiteral("--weights, Spiel %1: Die Gewichte „%2“ sind zusammen zu groß, um Anteile zu "
                                            "geben.")
                                 .arg(m + 1)
                                 .arg(quotedInput(group)));
        if (!valid || !validWeights(w))
            throw UsageError(QStringLiteral("--weights, Spiel %1: „%2“ sind nicht drei Gewichte a/b/c (Zahlen ab 0, "
                                            "nicht alle 0) oder „-“.")
                                 .arg(m + 1)
                                 .arg(quotedInput(group)));
    }
    return weights;
}

std::vector<std::pair<int, QString>> parseQuotas(const CommandLine& args) {
    std::vector<std::pair<int, QString>> quotas;
    for (const QString& q : args.values(QStringLiteral("quota"))) {
        const qsizetype eq = q.indexOf(u'=');
        int rank = 0;
        for (int k = 1; k <= kRanks && eq > 0; ++k)
            if (q.left(eq) == QLatin1String(RangNamen[static_cast<size_t>(k)])) rank = k;
        if (rank == 0) throw UsageError(QStringLiteral("--quota erwartet RANG=TEXT mit RANG I, II, III oder IV."));
        quotas.emplace_back(rank, quotaArgument(q.mid(eq + 1), QStringLiteral("--quota ") + q.left(eq)));
    }
    return quotas;
}

Format rowsFormat(const CommandLine& args) {
    const Format format = outputFormat(args, QStringLiteral("text|csv|json"));
    if (args.has(QStringLiteral("out")) && (args.has(QStringLiteral("format")) || args.has(QStringLiteral("json"))))
        throw UsageError(QStringLiteral("--format gilt nur für die Ausgabe der Reihen, nicht mit --out."));
    return format;
}

void emitRows(const CommandLine& args, const NextBlock& nextBlock, Format format) {
    const bool toFile = args.has(QStringLiteral("out"));
    const QString path = toFile ? args.value(QStringLiteral("out")) : QString();
    const bool slipOut = toFile && outToStandardOutput(args, true);
    std::optional<SlipWriter> slip;
    if (toFile && !slipOut) onFile(path, [&] { slip.emplace(path); }, true);
    TipTable block;
    while (nextBlock(block) > 0) {
        if (slip)
            onFile(path, [&] { slip->write(block); }, true);
        else if (slipOut)
            standardOutput().append(encodeSlip(block));
        else
            printRows(block, format == Format::Csv ? ';' : ',');
        block.clearAll();
    }
    if (slip) onFile(path, [&] { slip->commit(); }, true);
}

namespace {

// The rows as JSON, {"rows":[...],"count":N}.
void writeJsonRows(const NextBlock& nextBlock) {
    JsonWriter json;
    json.beginObject().key(u"rows").beginArray();
    long long count = 0;
    TipTable block;
    while (nextBlock(block) > 0) {
        for (const TipTable::Row& row : block.rows()) json.tips(row.tips);
        count += block.dataRowCount();
        block.clearAll();
    }
    json.endArray().key(u"count").number(count).endObject().finish();
}

}  // namespace

void writeRows(const CommandLine& args, const NextBlock& nextBlock, Format format) {
    if (format == Format::Json) writeJsonRows(nextBlock);
    else emitRows(args, nextBlock, format);
}

int parseGuarantee(const QString& text) {
    if (text == QLatin1String("12") || text == QLatin1String("11") || text == QLatin1String("10")) return text.toInt();
    throw UsageError(QStringLiteral("--guarantee kennt nur 12, 11 und 10, nicht „%1“.").arg(quotedInput(text)));
}

}  // namespace korbisto::cli
