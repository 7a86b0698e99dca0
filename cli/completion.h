#pragma once

#include <QString>

namespace korbisto::cli {

// The completion script of `shell` ("bash", "zsh" or "fish") for every
// command and option of the tool, made from the commands' own tables;
// empty for a shell it does not know.
QString completionScript(const QString& shell);

}  // namespace korbisto::cli
