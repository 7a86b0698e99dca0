#pragma once

#include "core/outcomes.h"

#include <QByteArray>
#include <QString>

namespace korbisto {

// SettingsFolder + "Quick.wh13".
QString patternFilePath();

// The 39 levels a line each, every line ended by CR LF: 117 bytes.
QByteArray encodePattern(const PatternLevels& levels);
// SavePattern: the file in one step, replacing any old one.
void SavePattern(const QString& path, const PatternLevels& levels);

// LoadPattern: line a (at most 39) sets level a, so a shorter file leaves the
// rest as they were. A value outside 0 .. 3 becomes 0; a line that is no
// number ends the load with the conversion error, the levels before it set.
void LoadPattern(const QString& path, PatternLevels& levels);

}  // namespace korbisto
