#pragma once

#include <QString>

namespace korbisto::cli {

// The man pages korbisto-cli(1) and korbisto(1) in roff, from the same
// tables as the help of the tool and of the program.
QString cliManPage();
QString programManPage();

}  // namespace korbisto::cli
