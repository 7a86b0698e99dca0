#include "fuzz_support.h"

#include "core/error.h"
#include "files/version_info_file.h"

#include <QByteArray>

#include <algorithm>

using namespace korbisto;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::optional<QString> version;
    try {
        version = readVersionInfoFile(fuzz::inputFile(data, size));
    } catch (const KorbistoError&) {
        std::abort();  // a regular file of any bytes reads
    }
    // A version exactly when there is a whole record, never longer than its field.
    check(version.has_value() == (size >= kVersionRecordSize));
    check(version == lastVersionOf(bytes));
    if (!version) return 0;
    check(version->size() <= kMaxVersionText);
    // What the maker's tool may write, it writes so that it reads back.
    const bool printable = !version->isEmpty() && std::all_of(version->begin(), version->end(), [](QChar c) {
        return c >= u' ' && c < u'\x7f';
    });
    try {
        check(lastVersionOf(encodeVersionRecord(*version)) == version);
        check(printable);
    } catch (const KorbistoError&) {
        check(!printable);
    }
    return 0;
}
