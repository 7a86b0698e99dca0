#include "fuzz_support.h"

#include "core/german.h"
#include "files/match_day_file.h"
#include "files/version_info_file.h"
#include "online/donation_status.h"

#include <QByteArray>
#include <QDate>

#include <cmath>

using namespace korbisto;
using fuzz::check;

// The checks a downloaded answer must pass before it is stored: whatever a
// server sends, what they let through reads as a file of its kind.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // The Saturday asked for comes from the input too, so that the window of
    // seven days is met now and then.
    const QDate saturday = QDate(2021, 3, 13).addDays(7 * (size % 400));
    const QString near = matchDayProblem(bytes, saturday);
    const QString any = matchDayProblem(bytes);
    check(near.isEmpty() || !near.contains(u'\n'));
    // A day within a week of a Saturday is a day at all.
    if (near.isEmpty()) check(any.isEmpty());
    if (any.isEmpty()) {
        const TSpieltag day = decodeMatchDay(bytes.constData());
        check(dateOfDayNumber(day.Datum).has_value());
        for (int m = 0; m < kMatches; ++m) check(day.Ergebnis[static_cast<size_t>(m)] <= 2);
        for (const double q : day.Quote) check(std::isfinite(q) && q >= 0);
        // What passed once is stored and read back as the same match day.
        check(matchDayProblem(encodeMatchDay(day)).isEmpty());
        if (near.isEmpty()) check(matchDayProblem(encodeMatchDay(day), saturday).isEmpty());
    }

    if (versionFileProblem(bytes).isEmpty()) {
        const std::optional<QString> version = lastVersionOf(bytes);
        check(version && !version->isEmpty() && version->size() <= kMaxVersionText);
        check(versionFileProblem(encodeVersionRecord(*version)).isEmpty());
    }

    if (donationStatusProblem(bytes).isEmpty()) {
        // Text without control characters shows as it is, up to its length.
        const QString line = donationStatusLine(bytes);
        check(donationStatusProblem(line.toUtf8()).isEmpty());
    }
    return 0;
}
