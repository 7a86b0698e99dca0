#include "match_day_file.h"

#include "binary_io.h"

#include "core/codepage.h"
#include "core/error.h"
#include "core/german.h"

#include <cmath>
#include <cstring>

namespace korbisto {

namespace {

constexpr int kNamesOffset = 8;
constexpr int kMatchStride = 62;
constexpr int kAwayOffset = 31;
constexpr int kResultsOffset = 1388;
constexpr int kQuotasOffset = 1600;

double readDouble(const char* p) {
    double v;
    std::memcpy(&v, p, sizeof v);  // little-endian on every target we build for
    return v;
}

void writeDouble(char* p, double v) { std::memcpy(p, &v, sizeof v); }

QString readName(const char* field) {
    int length = static_cast<unsigned char>(field[0]);
    if (length > TSpieltag::kNameLength) length = TSpieltag::kNameLength;
    return decodeWindows1252(field + 1, length);
}

void writeName(char* field, const QString& name, int match, const char* side) {
    const auto bytes = encodeWindows1252(name);
    if (!bytes)
        throw KorbistoError(QStringLiteral("Der Name „%1“ (Spiel %2, %3) enthält Zeichen, die eine Spieltag-Datei "
                                           "nicht speichern kann.")
                                .arg(name)
                                .arg(match)
                                .arg(QString::fromUtf8(side)));
    if (bytes->size() > TSpieltag::kNameLength)
        throw KorbistoError(QStringLiteral("Der Name „%1“ (Spiel %2, %3) ist länger als 30 Zeichen.")
                                .arg(name)
                                .arg(match)
                                .arg(QString::fromUtf8(side)));
    field[0] = static_cast<char>(bytes->size());
    std::memcpy(field + 1, bytes->constData(), static_cast<size_t>(bytes->size()));
}

}  // namespace

TSpieltag decodeMatchDay(const char* record) {
    TSpieltag day;
    day.Datum = readDouble(record);
    for (int m = 0; m < kMatches; ++m) {
        const char* match = record + kNamesOffset + kMatchStride * m;
        day.Heim[static_cast<size_t>(m)] = readName(match);
        day.Gast[static_cast<size_t>(m)] = readName(match + kAwayOffset);
        day.Ergebnis[static_cast<size_t>(m)] = static_cast<std::uint8_t>(record[kResultsOffset + m]);
    }
    for (int k = 0; k < kRanks; ++k) day.Quote[static_cast<size_t>(k)] = readDouble(record + kQuotasOffset + 8 * k);
    return day;
}

QByteArray encodeMatchDay(const TSpieltag& day) {
    QByteArray bytes(TSpieltag::kSize, '\0');
    char* record = bytes.data();
    writeDouble(record, day.Datum);
    for (int m = 0; m < kMatches; ++m) {
        char* match = record + kNamesOffset + kMatchStride * m;
        writeName(match, day.Heim[static_cast<size_t>(m)], m + 1, "Heim");
        writeName(match + kAwayOffset, day.Gast[static_cast<size_t>(m)], m + 1, "Gast");
        record[kResultsOffset + m] = static_cast<char>(day.Ergebnis[static_cast<size_t>(m)]);
    }
    for (int k = 0; k < kRanks; ++k) writeDouble(record + kQuotasOffset + 8 * k, day.Quote[static_cast<size_t>(k)]);
    return bytes;
}

TSpieltag readMatchDayFile(const QString& path) {
    char record[TSpieltag::kSize] = {};
    InputFile file(path);
    file.readExactly(record, TSpieltag::kSize);
    return decodeMatchDay(record);
}

void writeMatchDayFile(const QString& path, const TSpieltag& day) {
    writeFileAtomically(path, encodeMatchDay(day));
}

QString pairingCaption(const QString& home, const QString& away) {
    return (home + QStringLiteral(" - ")).left(33).append(away).left(63);
}

bool quotasDue(double datum, const QDateTime& now) { return toDayNumber(now) - 1.0 > datum; }

QString quotaText(double quota) {
    // A quota that is no finite number had no winner either.
    return quota > 0.0 && std::isfinite(quota) ? formatAmount(quota) : QStringLiteral("unbesetzt");
}

void showMatchDay(BetModel& model, const TSpieltag& day, const QDateTime& now) {
    std::array<Pairing, kMatches> pairings;
    for (int m = 1; m <= kMatches; ++m) {
        model.setWinning(m, QString::number(day.Ergebnis[static_cast<size_t>(m - 1)]));
        pairings[static_cast<size_t>(m - 1)] = {day.Heim[static_cast<size_t>(m - 1)], day.Gast[static_cast<size_t>(m - 1)]};
    }
    model.setMatchDayPlan(dateOfDayNumber(day.Datum), pairings);
    const double rankFour = day.Quote[3];
    if (quotasDue(day.Datum, now) && rankFour > 0.0 && std::isfinite(rankFour)) {
        for (int k = 1; k <= kRanks; ++k) model.setQuota(k, quotaText(day.Quote[static_cast<size_t>(k - 1)]));
    } else {
        model.clearQuotas();
    }
}

void SpieltagEinlesen(BetModel& model, const QString& path, const QDateTime& now) {
    showMatchDay(model, readMatchDayFile(path), now);
}

}  // namespace korbisto
