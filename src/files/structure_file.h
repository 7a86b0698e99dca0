#pragma once

#include "core/outcomes.h"

#include <QString>

namespace korbisto {

// The crosses of the sheet's outcome columns, one byte each.
inline constexpr int kStructureRecordSize = kOutcomeCrosses;
using StructureRecord = OutcomeCrosses;

// DataFolder + "struktur.qui".
QString structureFilePath();

// Reads the first 39 bytes; any byte other than 0 is a cross, later bytes are
// ignored. Throws KorbistoError with the runtime's texts, "Versuch hinter dem
// Dateiende zu lesen" for a shorter file.
StructureRecord readStructureFile(const QString& path);

// Writes 39 bytes of 0 and 1 in one step; a failed save leaves the previous
// file as it was.
void writeStructureFile(const QString& path, const StructureRecord& crosses);

}  // namespace korbisto
