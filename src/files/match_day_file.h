#pragma once

#include "core/bet_model.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace korbisto {

// One match day: date, pairings, results and quotas.
struct TSpieltag {
    static constexpr int kSize = 1648;
    static constexpr int kNameLength = 30;

    double Datum = 0.0;  // days since 30.12.1899
    std::array<QString, kMatches> Heim;
    std::array<QString, kMatches> Gast;
    std::array<std::uint8_t, kMatches> Ergebnis{};
    std::array<double, kRanks> Quote{};
};

// Decodes the first 1648 bytes. A length byte over 30 is read as 30.
TSpieltag decodeMatchDay(const char* record);
// The 1648 bytes of a match day; the bytes this program does not read are 0.
// Throws when a team name is longer than 30 characters or has a character
// outside Windows-1252.
QByteArray encodeMatchDay(const TSpieltag& day);

// Why `bytes` do not read as a match day, in German; empty when their first
// 1648 bytes do: a date (within seven days of `saturday` when one is given),
// results 0, 1 or 2, name lengths up to 30, quotas finite and not negative.
QString matchDayProblem(QByteArrayView bytes, std::optional<QDate> saturday = std::nullopt);

TSpieltag readMatchDayFile(const QString& path);
void writeMatchDayFile(const QString& path, const TSpieltag& day);

// "Home - Away" as a pairing panel shows it: the text up to the away name
// cut to 33, the whole to 63.
QString pairingCaption(const QString& home, const QString& away);
// Whether the quotas are shown: the match day lies more than a day back.
bool quotasDue(double datum, const QDateTime& now);
// The quota text of one rank: "%.2n" or "unbesetzt".
QString quotaText(double quota);

// SpieltagEinlesen: reads the file and shows it; each changed result may
// start an instant evaluation, the quotas follow after the 13 results.
void SpieltagEinlesen(BetModel& model, const QString& path, const QDateTime& now);
void showMatchDay(BetModel& model, const TSpieltag& day, const QDateTime& now);

}  // namespace korbisto
