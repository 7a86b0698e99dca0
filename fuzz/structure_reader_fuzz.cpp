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
    CrossSheet sheet;
    sheet.setCrosses(crosses);
    if (sheet.AnzZW() + sheet.AnzDW() > kMatches || sheet.crosses() != crosses) std::abort();
    return 0;
}
