#include "cli_common.h"
#include "output.h"

#include "core/german.h"
#include "core/text_helpers.h"
#include "core/tip_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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

}  // namespace

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

void out(const QString& text) { standardOutput().text(text); }

void err(const QString& text) {
    // Whatever a message quotes, nothing reaches the terminal as a control sequence.
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) line = visibleText(line);
    const QByteArray bytes = lines.join(u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
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

QDateTime parseNow(const QString& text) {
    if (text.isEmpty()) return QDateTime::currentDateTime();
    const QDate date = parseDate(text.left(10));
    QTime time(0, 0);
    if (text.size() > 10) {
        if (text[10] != u'T') time = QTime();
        else time = QTime::fromString(text.mid(11), QStringLiteral("HH:mm"));
    }
    if (!date.isValid() || !time.isValid())
        throw UsageError(
            QStringLiteral("--now erwartet TT.MM.JJJJ oder TT.MM.JJJJTHH:MM, nicht „%1“.").arg(quotedInput(text)));
    return QDateTime(date, time);
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
        quotas.emplace_back(rank, q.mid(eq + 1));
    }
    return quotas;
}

}  // namespace korbisto::cli
