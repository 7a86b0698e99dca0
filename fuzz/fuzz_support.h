#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace korbisto::fuzz {

// A path naming a file of this process that holds the input. The file lives
// in memory and is rewritten for every run, so readers see a real file
// without a disk write.
QString inputFile(const std::uint8_t* data, size_t size);

// Points the program's folders at a private temporary folder, on a memory
// file system where there is one, once; the folder goes at exit.
void privateDataFolder();

}  // namespace korbisto::fuzz
