#include "fuzz_support.h"

#include "core/bet_model.h"
#include "core/error.h"
#include "files/match_day_file.h"

#include <cstdlib>
#include <cstring>

using namespace korbisto;

namespace {
bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    BetModel model;
    const QDateTime now(QDate(2021, 3, 20), QTime(12, 0));
    TSpieltag day;
    try {
        day = readMatchDayFile(fuzz::inputFile(data, size));
    } catch (const KorbistoError&) {
        if (size >= TSpieltag::kSize) std::abort();
        return 0;
    }
    showMatchDay(model, day, now);
    for (int m = 1; m <= kMatches; ++m)
        if (pairingCaption(model.pairing(m).home, model.pairing(m).away).size() > 63) std::abort();
    // Everything the reader takes from a file, the writer can put back.
    const TSpieltag again = decodeMatchDay(encodeMatchDay(day).constData());
    if (!sameBits(again.Datum, day.Datum) || again.Heim != day.Heim || again.Gast != day.Gast ||
        again.Ergebnis != day.Ergebnis)
        std::abort();
    for (int k = 0; k < kRanks; ++k)
        if (!sameBits(again.Quote[static_cast<size_t>(k)], day.Quote[static_cast<size_t>(k)])) std::abort();
    return 0;
}
