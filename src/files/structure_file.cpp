#include "structure_file.h"

#include "binary_io.h"

#include "core/paths.h"

#include <QByteArray>

namespace korbisto {

QString structureFilePath() { return appPaths().DataFolder + QStringLiteral("struktur.qui"); }

StructureRecord readStructureFile(const QString& path) {
    char bytes[kStructureRecordSize];
    {
        InputFile file(path);
        file.readExactly(bytes, kStructureRecordSize);
    }
    StructureRecord crosses{};
    for (int i = 0; i < kStructureRecordSize; ++i) crosses[static_cast<size_t>(i)] = bytes[i] != 0;
    return crosses;
}

void writeStructureFile(const QString& path, const StructureRecord& crosses) {
    QByteArray bytes(kStructureRecordSize, '\0');
    for (int i = 0; i < kStructureRecordSize; ++i) bytes[i] = crosses[static_cast<size_t>(i)] ? 1 : 0;
    writeFileAtomically(path, bytes);
}

}  // namespace korbisto
