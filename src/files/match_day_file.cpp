#include "match_day_file.h"

#include "binary_io.h"

#include "core/codepage.h"
#include "core/error.h"
#include "core/german.h"
#include "core/text_helpers.h"

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
                                .arg(quotedInput(name))
                                .arg(match)
                                .arg(QString::fromUtf8(side)));
    if (bytes->size() > TSpieltag::kNameLength)
        throw KorbistoError(QStringLiteral("Der Name „%1“ (Spiel %2, %3) ist länger als 30 Zeichen.")
                                .arg(quotedInput(name))
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

QString matchDayProblem(QByteArrayView bytes, std::optional<QDate> saturday) {
    if (bytes.size() < TSpieltag::kSize)
        return QStringLiteral("Ein Spieltag hat %1 Bytes, hier sind es nur %2.").arg(TSpieltag::kSize).arg(bytes.size());
    const char* record = bytes.data();
    const double datum = readDouble(record);
    // 01.01.1900 up to 31.12.9999: a record of other bytes (a bet slip's, say)
    // reads as a date near 30.12.1899, where no match day ever was.
    if (!(datum >= 2.0 && datum < 2958466.0)) return QStringLiteral("Das Datum ist kein Tag.");
    if (saturday) {
        const double day = std::floor(datum);
        const double chosen = dayNumberOf(*saturday);
        if (day < chosen - 7 || day > chosen + 7)
            return QStringLiteral("Das Datum %1 liegt mehr als sieben Tage vom %2 entfernt.")
                .arg(formatDate(*dateOfDayNumber(datum)), formatDate(*saturday));
    }
    for (int m = 0; m < kMatches; ++m) {
        const char* match = record + kNamesOffset + kMatchStride * m;
        for (const char* field : {match, match + kAwayOffset}) {
            const int length = static_cast<unsigned char>(field[0]);
            if (length > TSpieltag::kNameLength)
                return QStringLiteral("Der Name %1 von Spiel %2 wäre %3 Zeichen lang, erlaubt sind 30.")
                    .arg(field == match ? QStringLiteral("der Heimmannschaft") : QStringLiteral("der Gastmannschaft"))
                    .arg(m + 1)
                    .arg(length);
        }
        const int result = static_cast<unsigned char>(record[kResultsOffset + m]);
        if (result > 2)
            return QStringLiteral("Das Ergebnis von Spiel %1 ist %2, erlaubt sind 0, 1 und 2.").arg(m + 1).arg(result);
    }
    for (int k = 0; k < kRanks; ++k) {
        const double quota = readDouble(record + kQuotasOffset + 8 * k);
        if (!std::isfinite(quota) || quota < 0.0)
            return QStringLiteral("Die Quote von Rang %1 ist keine Zahl von 0 an.").arg(k + 1);
    }
    return QString();
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
