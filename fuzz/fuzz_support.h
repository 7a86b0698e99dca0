#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace korbisto::fuzz {

// A path naming a file of this process that holds the input. The file lives
// in memory and is rewritten for every run, so readers see a real file
// without a disk write.
QString inputFile(const std::uint8_t* data, size_t size);

// Stops the run when `ok` is false: the input broke a promise of the code.
inline void check(bool ok) {
    if (!ok) std::abort();
}

// A message the user sees: no control characters and no more than
// `longest` characters, whatever input it quotes.
void checkMessage(const QString& message, qsizetype longest);

// Points the program's folders at a private temporary folder, on a memory
// file system where there is one, once; the folder goes at exit.
void privateDataFolder();

}  // namespace korbisto::fuzz
