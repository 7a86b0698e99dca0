#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>
#include <vector>

namespace korbisto {
class TipTable;
}

namespace korbisto::cli {

// Wrong use of the command line: exit code 2 with the usage text.
struct UsageError : std::runtime_error {
    explicit UsageError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// Options of one subcommand: "--name VALUE" or "--name=VALUE", flags without
// value, positional arguments in order.
class Arguments {
public:
    Arguments(const QStringList& args, const QStringList& valueOptions, const QStringList& flags);

    bool helpRequested() const { return help_; }
    bool has(const QString& name) const;
    QString value(const QString& name) const;  // last given; empty if absent
    QStringList values(const QString& name) const;
    const QStringList& positional() const { return positional_; }
    QString required(const QString& name) const;
    // Exactly `n` positional arguments.
    void expectPositional(int n) const;

private:
    bool help_ = false;
    std::vector<std::pair<QString, QString>> options_;
    QStringList positional_;
};

struct Command {
    QString name;
    QString usage;  // first line: the synopsis; then the description
    std::function<int(const Arguments&)> run;
    QStringList valueOptions;
    QStringList flags;
};

// Registry filled by each subcommand's file.
std::vector<Command>& commands();
struct RegisterCommand {
    explicit RegisterCommand(Command command) { commands().push_back(std::move(command)); }
};

// Output in UTF-8; line ends as given.
void out(const QString& text);
void err(const QString& text);

// A tip row of 13 characters from "0 1 2 X x -": X means 0, "-" no entry.
QStringList parseRowArgument(const QString& row, const QString& option);
// DD.MM.YYYY or DD.MM.YYYYTHH:MM; the system clock when empty.
QDateTime parseNow(const QString& text);

// Prints the rows as the clipboard copy gives them, in blocks, so that
// millions of rows never sit in memory twice.
void printRows(const TipTable& table, QChar separator);

// Minimal JSON text in the key order we write.
QString jsonString(const QString& text);
QString jsonStringArray(const QStringList& texts);

}  // namespace korbisto::cli
