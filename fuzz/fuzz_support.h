#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace korbisto::fuzz {

// A file of this process holding the input, rewritten for every run.
QString inputFile(const std::uint8_t* data, size_t size);

// Points the program's folders at a private temporary folder once.
void privateDataFolder();

}  // namespace korbisto::fuzz
