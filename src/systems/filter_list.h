#pragma once

#include "row_filters.h"

#include <QByteArray>
#include <QString>

namespace korbisto {

// A filter list as a small text file (*.krfilter), one line each, CR LF:
//
//   Korbisto-Filter 1
//   tolerance 1
//   levels 310,111,003,111,111,111,111,111,111,111,111,111,111
//   signs 0=2..6@1-6
//   run ..4
//   changes 5..12
//   level 1=3..
//   best 500                    (or: probability 0.001)
//
// The values are those of the command line's options of the same names.
// Empty lines and lines starting with "#" are passed over.
inline constexpr int kFilterFileVersion = 1;

QByteArray filterFileText(const FilterList& list);

// The list a file's bytes hold. Throws KorbistoError naming `fileName` and
// the line for anything else, and for a list of a newer version.
FilterList parseFilterFile(const QByteArray& bytes, const QString& fileName);

}  // namespace korbisto
