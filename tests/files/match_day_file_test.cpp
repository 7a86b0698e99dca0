#include "files/match_day_file.h"

#include "core/error.h"
#include "core/german.h"
#include "support/test_env.h"
#include "support/tip_rows.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace korbisto;
using test::writeBytes;

namespace {

void putDouble(QByteArray& b, int offset, double v) { std::memcpy(b.data() + offset, &v, 8); }

void putName(QByteArray& b, int offset, const QByteArray& name, int lengthByte = -1) {
    b[offset] = static_cast<char>(lengthByte < 0 ? name.size() : lengthByte);
    std::memcpy(b.data() + offset + 1, name.constData(), static_cast<size_t>(name.size()));
}

// 13.03.2021, Bayern München vs. Dortmund first, results 1 0 2 repeating.
QByteArray handBuilt(double q1 = 1000000, double q2 = 50000, double q3 = 0, double q4 = 45.5) {
    QByteArray b(1648, '\0');
    putDouble(b, 0, 44268.0);
    putName(b, 8, "Bayern M\xfc" "nchen");
    putName(b, 39, "Borussia Dortmund");
    putName(b, 8 + 62 * 12, "A");
    putName(b, 39 + 62 * 12, "B");
    for (int m = 0; m < 13; ++m) b[1388 + m] = static_cast<char>(m % 3 == 0 ? 1 : m % 3 == 1 ? 0 : 2);
    putDouble(b, 1600, q1);
    putDouble(b, 1608, q2);
    putDouble(b, 1616, q3);
    putDouble(b, 1624, q4);
    return b;
}

const QDateTime kLater(QDate(2021, 3, 20), QTime(12, 0));


}  // namespace

TEST(MatchDayFile, FieldsSitAtTheirOffsets) {
    const TSpieltag day = decodeMatchDay(handBuilt().constData());
    EXPECT_EQ(day.Datum, 44268.0);
    EXPECT_EQ(day.Heim[0], QStringLiteral("Bayern München"));
    EXPECT_EQ(day.Gast[0], QStringLiteral("Borussia Dortmund"));
    EXPECT_EQ(day.Heim[12], QStringLiteral("A"));
    EXPECT_EQ(day.Gast[12], QStringLiteral("B"));
    EXPECT_EQ(day.Heim[5], QString());
    EXPECT_EQ(day.Ergebnis[0], 1);
    EXPECT_EQ(day.Ergebnis[1], 0);
    EXPECT_EQ(day.Ergebnis[2], 2);
    EXPECT_EQ(day.Quote[0], 1000000.0);
    EXPECT_EQ(day.Quote[3], 45.5);
}

TEST(MatchDayFile, WriterFillsOnlyTheReadFields) {
    const QByteArray original = handBuilt();
    const QByteArray written = encodeMatchDay(decodeMatchDay(original.constData()));
    EXPECT_EQ(written, original);
    TSpieltag day;
    day.Heim[0] = QString(31, u'x');
    EXPECT_EQ(test::errorOf([&] { encodeMatchDay(day); }),
              QStringLiteral("Der Name „%1“ (Spiel 1, Heim) ist länger als 30 Zeichen.").arg(QString(31, u'x')));
    day.Heim[0] = QStringLiteral("Ωmega");
    EXPECT_FALSE(test::errorOf([&] { encodeMatchDay(day); }).isEmpty());
}

TEST(MatchDayFile, LongLengthBytesStayInsideTheirField) {
    QByteArray b = handBuilt();
    putName(b, 8, QByteArray(30, 'H'), 200);
    b[39] = 'Z';  // the away field's length byte follows right after
    const TSpieltag day = decodeMatchDay(b.constData());
    EXPECT_EQ(day.Heim[0], QString(30, u'H'));
}

TEST(MatchDayFile, ShortFileIsTheEndOfFileErrorAndChangesNothing) {
    test::TempDataFolder tmp;
    const QString path = tmp.path(QStringLiteral("kurz.sptag"));
    writeBytes(path, handBuilt().left(1647));
    BetModel model;
    model.setQuota(1, QStringLiteral("5"));
    QSignalSpy spy(&model, &BetModel::winningChanged);
    EXPECT_EQ(test::errorOf([&] { SpieltagEinlesen(model, path, kLater); }),
              QStringLiteral("Versuch hinter dem Dateiende zu lesen"));
    EXPECT_EQ(test::errorOf([&] { SpieltagEinlesen(model, tmp.path(QStringLiteral("weg.sptag")), kLater); }),
              QStringLiteral("Die angegebene Datei wurde nicht gefunden"));
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(model.quota(1), QStringLiteral("5"));
    EXPECT_FALSE(model.matchDayDate().has_value());
}

// The pairing as its panel shows it.
QString shownPairing(const BetModel& model, int match) {
    return pairingCaption(model.pairing(match).home, model.pairing(match).away);
}

TEST(MatchDayFile, ShowsResultsPairingsDateAndQuotas) {
    test::TempDataFolder tmp;
    const QString path = tmp.path(QStringLiteral("13032021.sptag"));
    writeBytes(path, handBuilt() + QByteArray(100, '\x7f'));  // bytes after the record are ignored
    BetModel model;
    SpieltagEinlesen(model, path, kLater);
    EXPECT_EQ(model.winning(1), QStringLiteral("1"));
    EXPECT_EQ(model.winning(2), QStringLiteral("0"));
    EXPECT_EQ(model.winning(3), QStringLiteral("2"));
    EXPECT_EQ(shownPairing(model, 1), QStringLiteral("Bayern München - Borussia Dortmund"));
    EXPECT_EQ(shownPairing(model, 13), QStringLiteral("A - B"));
    EXPECT_EQ(shownPairing(model, 2), QStringLiteral(" - "));
    EXPECT_EQ(model.matchDayDate(), std::optional<QDate>(QDate(2021, 3, 13)));
    EXPECT_EQ(model.quota(1), QStringLiteral("1.000.000,00"));
    EXPECT_EQ(model.quota(2), QStringLiteral("50.000,00"));
    EXPECT_EQ(model.quota(3), QStringLiteral("unbesetzt"));
    EXPECT_EQ(model.quota(4), QStringLiteral("45,50"));
}

TEST(MatchDayFile, QuotasAppearOnlyAfterAFullDay) {
    const TSpieltag day = decodeMatchDay(handBuilt().constData());
    const QDate date(2021, 3, 13);
    EXPECT_FALSE(quotasDue(day.Datum, QDateTime(date, QTime(20, 0))));
    EXPECT_FALSE(quotasDue(day.Datum, QDateTime(date.addDays(1), QTime(0, 0))));
    EXPECT_TRUE(quotasDue(day.Datum, QDateTime(date.addDays(1), QTime(0, 1))));

    BetModel model;
    for (int k = 1; k <= 4; ++k) model.setQuota(k, QStringLiteral("9"));
    showMatchDay(model, day, QDateTime(date, QTime(23, 0)));
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(model.quota(k), QString());
}

TEST(MatchDayFile, NoRankFourWinnerEmptiesAllQuotas) {
    BetModel model;
    model.setQuota(2, QStringLiteral("12"));
    showMatchDay(model, decodeMatchDay(handBuilt(5, 6, 7, 0).constData()), kLater);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(model.quota(k), QString());
}

TEST(MatchDayFile, GarbageNumbersAreShownSensibly) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QByteArray b = handBuilt(nan, inf, -3, 2);
    putDouble(b, 0, nan);
    BetModel model;
    showMatchDay(model, decodeMatchDay(b.constData()), kLater);
    EXPECT_FALSE(model.matchDayDate().has_value());
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(model.quota(k), QString());  // a NaN date is never a day old

    putDouble(b, 0, -1e300);
    showMatchDay(model, decodeMatchDay(b.constData()), kLater);
    EXPECT_FALSE(model.matchDayDate().has_value());
    EXPECT_EQ(model.quota(1), QStringLiteral("unbesetzt"));
    EXPECT_EQ(model.quota(2), QStringLiteral("unbesetzt"));
    EXPECT_EQ(model.quota(3), QStringLiteral("unbesetzt"));
    EXPECT_EQ(model.quota(4), QStringLiteral("2,00"));

    putDouble(b, 1624, inf);
    showMatchDay(model, decodeMatchDay(b.constData()), kLater);
    EXPECT_EQ(model.quota(4), QString());
}

TEST(MatchDayFile, OddResultBytesShowAsNumbersAndNeverHit) {
    QByteArray b = handBuilt();
    b[1388] = static_cast<char>(200);
    BetModel model;
    model.rows().replaceRows(test::tableOf({"1111111111111"}));
    showMatchDay(model, decodeMatchDay(b.constData()), kLater);
    EXPECT_EQ(model.winning(1), QStringLiteral("200"));
    EXPECT_EQ(model.table().cellText(1, 14), QStringLiteral("4"));  // matches 4, 7, 10, 13
}

TEST(MatchDayFile, InstantEvaluationSeesTheOldQuotasAndRereadingDoesNothing) {
    test::TempDataFolder tmp;
    const QString path = tmp.path(QStringLiteral("a.sptag"));
    QByteArray b = handBuilt(10, 5, 2, 1);
    for (int m = 0; m < 13; ++m) b[1388 + m] = 1;
    writeBytes(path, b);
    BetModel model;
    model.rows().replaceRows(test::tableOf({"1111111111111"}));
    QSignalSpy spy(&model, &BetModel::resultsChanged);
    SpieltagEinlesen(model, path, kLater);
    EXPECT_EQ(spy.count(), 13);
    EXPECT_EQ(model.results()->rank(1).count, 1);
    EXPECT_EQ(model.results()->rank(1).amount, std::nullopt);  // computed before the quotas arrived
    EXPECT_EQ(model.quota(1), QStringLiteral("10,00"));
    SpieltagEinlesen(model, path, kLater);
    EXPECT_EQ(spy.count(), 13);
    model.evaluate();
    EXPECT_EQ(model.results()->rank(1).amount, std::optional<double>(10.0));
}

TEST(PairingCaption, CutsAt33And63) {
    EXPECT_EQ(pairingCaption(QStringLiteral("A"), QStringLiteral("B")), QStringLiteral("A - B"));
    EXPECT_EQ(pairingCaption(QString(30, u'h'), QString(30, u'g')), QString(30, u'h') + " - " + QString(30, u'g'));
    EXPECT_EQ(pairingCaption(QString(40, u'h'), QStringLiteral("G")), QString(33, u'h') + u'G');
    EXPECT_EQ(pairingCaption(QString(31, u'h'), QString(40, u'g')).size(), 63);
    EXPECT_EQ(pairingCaption(QString(31, u'h'), QString(40, u'g')), QString(31, u'h') + " -" + QString(30, u'g'));
}

TEST(MatchDayFile, WhatIsNoMatchDaySaysWhy) {
    const QDate saturday(2021, 3, 13);  // the hand-built day is 13.03.2021
    const auto with = [](auto change) {
        QByteArray b = handBuilt();
        change(b);
        return b;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        QByteArray bytes;
        QString problem;  // empty: a match day
    } cases[] = {
        {"as built", handBuilt(), QString()},
        {"with more bytes after it", handBuilt() + "tail", QString()},
        {"seven days before", with([](QByteArray& b) { putDouble(b, 0, 44261.75); }), QString()},
        {"seven days after", with([](QByteArray& b) { putDouble(b, 0, 44275.0); }), QString()},
        {"eight days after",
         with([](QByteArray& b) { putDouble(b, 0, 44276.0); }),
         QStringLiteral("Das Datum 21.03.2021 liegt mehr als sieben Tage vom 13.03.2021 entfernt.")},
        {"one byte short", handBuilt().left(1647), QStringLiteral("Ein Spieltag hat 1648 Bytes, hier sind es nur 1647.")},
        {"a date that is no number", with([&](QByteArray& b) { putDouble(b, 0, nan); }),
         QStringLiteral("Das Datum ist kein Tag.")},
        {"a result of 3", with([](QByteArray& b) { b[1388 + 12] = 3; }),
         QStringLiteral("Das Ergebnis von Spiel 13 ist 3, erlaubt sind 0, 1 und 2.")},
        {"an away name of 31", with([](QByteArray& b) { b[39 + 62 * 4] = 31; }),
         QStringLiteral("Der Name der Gastmannschaft von Spiel 5 wäre 31 Zeichen lang, erlaubt sind 30.")},
        {"a negative quota", with([](QByteArray& b) { putDouble(b, 1624, -1.0); }),
         QStringLiteral("Die Quote von Rang 4 ist keine Zahl von 0 an.")},
        {"an endless quota", with([](QByteArray& b) { putDouble(b, 1600, std::numeric_limits<double>::infinity()); }),
         QStringLiteral("Die Quote von Rang 1 ist keine Zahl von 0 an.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(matchDayProblem(c.bytes, saturday), c.problem);
    }
    // Without a Saturday any day from 1900 on will do; a bet slip's first
    // bytes read as a date before it.
    EXPECT_EQ(matchDayProblem(with([](QByteArray& b) { putDouble(b, 0, 2.5); })), QString());
    EXPECT_EQ(matchDayProblem(with([](QByteArray& b) { putDouble(b, 0, 1.5); })), QStringLiteral("Das Datum ist kein Tag."));
}
