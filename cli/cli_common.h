#pragma once

#include "analysis/live_chances.h"
#include "core/error.h"
#include "core/evaluation.h"
#include "core/outcomes.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace korbisto {
class SlipReader;
class TipTable;
}

namespace korbisto::cli {

// Wrong use of the command line: exit code 2, the message and where to read more.
struct UsageError : std::runtime_error {
    explicit UsageError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// One option of a subcommand. The help, the man page and the shell
// completions are all made from this table.
struct Option {
    QString name;
    // Empty: a flag. "DATEI…" names a file (completions offer files); lower-case
    // words joined by "|" ("text|csv") are the values it takes.
    QString valueName;
    QString help = {};  // German; a line break starts a continued line

    bool takesFile() const { return valueName.startsWith(QLatin1String("DATEI")); }
    // The values of a choice ("text|csv|json"), empty for free text.
    QStringList choices() const;
};

// Options several commands share, worded once.
Option nowOption();
Option jsonAlias();
Option formatOption(const QString& choices, const QString& help);
// --format text|json with the plain wording.
Option textOrJsonOption();
// --format text|csv|json of commands that print tip rows.
Option rowsFormatOption();
Option slipOption(const QString& help);
Option outOption(const QString& valueName, const QString& help);

struct Command;

// The command line of one subcommand as QCommandLineParser reads it: "--name VALUE"
// or "--name=VALUE", flags without value, positional arguments in order.
class CommandLine {
public:
    // Throws a UsageError in German for whatever the parser refuses.
    CommandLine(const QStringList& args, const std::vector<Option>& options);

    bool helpRequested() const;
    // False also for an option the command does not take, so that shared
    // code may ask for one (--out) that only some commands have.
    bool has(const QString& name) const { return parser_.optionNames().contains(name); }
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
    QString synopsis;     // the call after the name, "--slip DATEI [--json]"
    QString summary;      // one line for the overview and the completions
    QString description;  // what the help says before the options
    std::function<int(const CommandLine&)> run;
    std::vector<Option> options;
    // The positional argument, as the synopsis names it: "DATEI" completes
    // files; lower-case words joined by "|" are its values. Empty: none.
    QString operand = {};
};

// Registry filled by each subcommand's file, in the order they are linked.
std::vector<Command>& commands();
const Command* findCommand(const QString& name);
struct RegisterCommand {
    explicit RegisterCommand(Command command) { commands().push_back(std::move(command)); }
};

// "Aufruf: korbisto-cli NAME SYNOPSIS", the description and the options.
QString helpText(const Command& command);
// Every command with its summary.
QString overview();
// Where the synopsis names an option the table lacks, or an option has no
// help: what is wrong, one line each.
QStringList tableProblems(const Command& command);
// The nearest command name to a mistyped one; empty when none is near.
QString nearestCommand(const QString& typed);
// The usage error of a word that is no command, suggesting the nearest one.
UsageError unknownCommand(const QString& typed);

// Output in UTF-8; line ends as given. Standard output goes through
// standardOutput(), in order with everything else written there.
void out(const QString& text);
void err(const QString& text);

// "-" where a FILE is read: standard input; as --out: standard output.
inline bool isStandardStream(const QString& path) { return path == QLatin1String("-"); }
// A file name in a message: "name" as given, "-" as the standard stream.
QString shownFileName(const QString& path, bool output = false);
// The error `e` of reading or writing `path`, naming the file: a folder says
// so instead of the system's number.
KorbistoError namedError(const QString& path, const KorbistoError& e, bool output = false);
// Runs `work` on the file `path`; what it throws names the file.
template <typename Work>
decltype(auto) onFile(const QString& path, Work&& work, bool output = false) {
    try {
        return work();
    } catch (const KorbistoError& e) {
        throw namedError(path, e, output);
    }
}
// A slip read a block at a time, as SlipReader does; its errors name the file.
class SlipInput {
public:
    explicit SlipInput(const QString& path);
    ~SlipInput();
    SlipInput(const SlipInput&) = delete;
    SlipInput& operator=(const SlipInput&) = delete;

    // The records the file holds, 0 for a pipe.
    qint64 records() const;
    int readInto(TipTable& block);
    // The bytes after the last whole record, once every row has been read.
    qint64 leftoverBytes() const;

private:
    QString path_;
    std::unique_ptr<SlipReader> reader_;
};

// Refuses an empty file name, and more than one file reading standard input
// ("-") at once.
void checkFileArguments(const CommandLine& args, const Command& command);
// --out - : the bytes of the file go to standard output instead. A binary
// file is not written to a terminal.
bool outToStandardOutput(const CommandLine& args, bool binary);

// How a command writes: rows "1,0,2,..." (text), "1;0;2;..." (csv), or JSON.
enum class Format { Text, Csv, Json };
// --format (or --json) among `choices` ("text|json", "text|csv|json"); text
// when neither is given.
Format outputFormat(const CommandLine& args, const QString& choices);
// The same for a command whose rows go to the slip of --out instead: there
// no format is asked for.
Format rowsFormat(const CommandLine& args);
// Appends the next rows to the block and returns how many; 0 at the end.
using NextBlock = std::function<int(TipTable&)>;
// The rows a block at a time into the slip of --out (a file, or "-" for
// standard output) or onto the output as text or csv.
void emitRows(const CommandLine& args, const NextBlock& nextBlock, Format format);
// The same, or as JSON {"rows":[...],"count":N}.
void writeRows(const CommandLine& args, const NextBlock& nextBlock, Format format);

// --guarantee: 12, 11 or 10.
int parseGuarantee(const QString& text);

// A tip row of 13 characters from "0 1 2 X x -": X means 0, "-" no entry.
QStringList parseRowArgument(const QString& row, const QString& option);
// A day as TT.MM.JJJJ or JJJJ-MM-TT; invalid otherwise.
QDate parseDateArgument(const QString& text);
// TT.MM.JJJJ[THH:MM] or JJJJ-MM-TT[THH:MM[:SS]]; the system clock when empty.
QDateTime parseNow(const QString& text);
// "1,10,102,...": per match the crossed outcomes, X for 0; an empty group is
// a match without a cross.
OutcomeCrosses parseCrosses(const QString& spec);
// A quota as the window would read it, but a single "." before one or two
// digits is a decimal point ("10.5" is 10,50, not 105,00); dots that are
// neither that nor thousands are refused, naming both readings.
QString quotaArgument(const QString& text, const QString& option);
// "1/1/2,-,...": per match the weights of "1", "0" and "2", or "-" for equal
// ones; a match decided in `result` keeps equal weights. Empty: all equal.
std::array<OutcomeWeights, kMatches> parseWeights(const QString& spec, const LiveResult& result);
// The value of --OPTION as a whole number of decimal digits alone, 0 to `max`.
unsigned long long numberOption(const CommandLine& args, const QString& option, unsigned long long max);
// The --quota RANG=TEXT options in their order, as rank 1 .. 4 and text.
std::vector<std::pair<int, QString>> parseQuotas(const CommandLine& args);

}  // namespace korbisto::cli
