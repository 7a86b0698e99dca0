#include "fuzz_support.h"

#include "core/error.h"
#include "core/paths.h"
#include "files/pattern_file.h"

using namespace korbisto;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    fuzz::privateDataFolder();
    PatternLevels levels;
    levels.fill(2);
    try {
        LoadPattern(fuzz::inputFile(data, size), levels);
    } catch (const KorbistoError& e) {
        // The conversion error quotes at most 40 characters of the line.
        fuzz::checkMessage(e.message(), 90);
    }
    for (const std::int32_t level : levels) check(level >= 0 && level <= kMaxLevel);
    // Whatever was read, the file saved of it reads back the same.
    SavePattern(patternFilePath(), levels);
    PatternLevels again{};
    LoadPattern(patternFilePath(), again);
    check(again == levels);
    return 0;
}
