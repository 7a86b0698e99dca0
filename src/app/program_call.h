#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace korbisto::app {

// How the program is called: what `korbisto --help` says and its man page
// shows, from this one table.
struct ProgramCall {
    QString synopsis;     // after the name: "[DATEI]..."
    QString summary;      // one line
    QString description;  // paragraphs
    std::vector<std::pair<QString, QString>> options;  // "-h, --help" and its help
};
const ProgramCall& programCall();

// The text of --help.
QString programHelp();

// --help or --version among the arguments: answered on standard output,
// before any window or display is needed; the exit code then.
std::optional<int> answerWithoutWindow(int argc, char** argv);

}  // namespace korbisto::app
