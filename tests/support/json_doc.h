#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

namespace korbisto::test {

// The commands whose JSON docs/json.md describes.
QStringList documentedJsonCommands();

// What in `output` does not fit the description of `command`'s JSON in
// docs/json.md, one line each; empty when it fits. The keys met (as the
// document names them) are added to `seen`.
QStringList jsonDocProblems(const QString& command, const QByteArray& output, QSet<QString>* seen = nullptr);

// The keys the document lists for `command` that are not in `seen`.
QStringList unseenKeys(const QString& command, const QSet<QString>& seen);

}  // namespace korbisto::test
