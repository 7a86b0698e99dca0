#include "fuzz_support.h"

#include "core/error.h"
#include "files/structure_file.h"
#include "systems/cross_sheet.h"

#include <cstdlib>

using namespace korbisto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    StructureRecord crosses;
    try {
        crosses = readStructureFile(fuzz::inputFile(data, size));
    } catch (const KorbistoError&) {
        if (size >= kStructureRecordSize) std::abort();
        return 0;
    }
    for (int i = 0; i < kStructureRecordSize; ++i)
        if (crosses[static_cast<size_t>(i)] != (data[i] != 0)) std::abort();
    // Whatever the file holds, the sheet it gives is a valid one.
    CrossSheet sheet(QString{});
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c)
            if (crosses[static_cast<size_t>(structureIndex(m, c))]) sheet.KreuzVerwerten(m, c);
    if (sheet.AnzZW() + sheet.AnzDW() > kMatches) std::abort();
    return 0;
}
