#pragma once

#include "analysis/live_chances.h"
#include "core/evaluation.h"
#include "core/outcomes.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace korbisto {
class TipTable;
}

namespace korbisto::cli {

// Wrong use of the command line: exit code 2 with the usage text.
struct UsageError : std::runtime_error {
    explicit UsageError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// One option of a subcommand; a value name makes it take a value.
struct Option {
    QString name;
    QString valueName;  // empty: a flag
};

// The command line of one subcommand as QCommandLineParser reads it: "--name VALUE"
// or "--name=VALUE", flags without value, positional arguments in order.
class CommandLine {
public:
    // Throws a UsageError in German for whatever the parser refuses.
    CommandLine(const QStringList& args, const std::vector<Option>& options);

    bool helpRequested() const;
    bool has(const QString& name) const { return parser_.isSet(name); }
    QString value(const QString& name) const { return parser_.value(name); }  // last given; empty if absent
    QStringList values(const QString& name) const { return parser_.values(name); }
    QStringList positional() const { return parser_.positionalArguments(); }
    QString required(const QString& name) const;
    // Exactly `n` positional arguments.
    void expectPositional(int n) const;

private:
    QCommandLineParser parser_;
};

struct Command {
    QString name;
    QString usage;  // first line: the synopsis; then the description
    std::function<int(const CommandLine&)> run;
    std::vector<Option> options;
};

// Registry filled by each subcommand's file.
std::vector<Command>& commands();
struct RegisterCommand {
    explicit RegisterCommand(Command command) { commands().push_back(std::move(command)); }
};

// Output in UTF-8; line ends as given. Standard output goes through
// standardOutput(), in order with everything else written there.
void out(const QString& text);
void err(const QString& text);

// How rows are written: "1,0,2,..." (text), "1;0;2;..." (csv) or JSON.
enum class RowFormat { Text, Csv, Json };
// --format of a command that writes rows; json only where `json` allows it,
// and never with --out.
RowFormat rowFormat(const CommandLine& args, bool json);
// The rows a block at a time into the slip of --out or onto the output;
// `nextBlock` appends the next rows to the block and returns how many.
void emitRows(const CommandLine& args, const std::function<int(TipTable&)>& nextBlock, char separator);

// --guarantee: 12, 11 or 10.
int parseGuarantee(const QString& text);

// A tip row of 13 characters from "0 1 2 X x -": X means 0, "-" no entry.
QStringList parseRowArgument(const QString& row, const QString& option);
// DD.MM.YYYY or DD.MM.YYYYTHH:MM; the system clock when empty.
QDateTime parseNow(const QString& text);
// "1,10,102,...": per match the crossed outcomes, X for 0; an empty group is
// a match without a cross.
OutcomeCrosses parseCrosses(const QString& spec);
// "1/1/2,-,...": per match the weights of "1", "0" and "2", or "-" for equal
// ones; a match decided in `result` keeps equal weights. Empty: all equal.
std::array<OutcomeWeights, kMatches> parseWeights(const QString& spec, const LiveResult& result);
// The --quota RANG=TEXT options in their order, as rank 1 .. 4 and text.
std::vector<std::pair<int, QString>> parseQuotas(const CommandLine& args);


}  // namespace korbisto::cli
