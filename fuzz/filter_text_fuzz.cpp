#include "fuzz_support.h"

#include "core/error.h"
#include "systems/filter_list.h"
#include "systems/row_filters.h"

#include <QByteArray>
#include <QString>

using namespace korbisto;
using fuzz::check;

namespace {

// A value that parses is written as a text that parses back to it; a
// refusal says why in one short line.
template <typename T, typename Parse, typename Write>
void roundTrip(const QString& text, Parse parse, Write write) {
    const Parsed<T> p = parse(text);
    check(p.value.has_value() == p.error.isEmpty());
    if (!p.value) {
        fuzz::checkMessage(p.error, 200);
        return;
    }
    const Parsed<T> again = parse(write(*p.value));
    check(again.value && *again.value == *p.value);
}

}  // namespace

// The text forms of filters, as options and lines of a filter file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = QString::fromUtf8(bytes);

    roundTrip<CountRange>(text, parseCountRange, countRangeText);
    roundTrip<PatternLevels>(text, parseLevelPattern, levelPatternText);
    for (const FilterKind kind : {FilterKind::Signs, FilterKind::Run, FilterKind::Changes, FilterKind::Level})
        roundTrip<RowFilter>(text, [kind](const QString& t) { return parseRowFilter(kind, t); }, rowFilterText);
    const Parsed<MatchSet> matches = parseMatchSet(text);
    check(!matches.value || (*matches.value != 0 && (*matches.value & ~kAllMatches) == 0));
    const Parsed<double> share = parseShare(text);
    check(!share.value || (*share.value >= 0 && *share.value <= 1));

    FilterList list;
    try {
        list = parseFilterFile(bytes, QStringLiteral("f.krfilter"));
    } catch (const KorbistoError& e) {
        fuzz::checkMessage(e.message(), 400);
        return 0;
    }
    check(static_cast<int>(list.filters.size()) <= kMostFilters);
    // A list read is a list written the same.
    check(parseFilterFile(filterFileText(list), QStringLiteral("f.krfilter")) == list);
    return 0;
}
