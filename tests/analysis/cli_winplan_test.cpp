#include "support/cli_runner.h"
#include "support/test_env.h"

#include "analysis/live_chances.h"
#include "analysis/win_plan.h"
#include "core/german.h"
#include "files/slip_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace korbisto;
using test::runCli;

namespace {

const QString kFourThreeWays = QStringLiteral("102,102,102,102,1,1,1,1,1,1,1,1,1");

QString rankName(int rank) { return QString::fromLatin1(RangNamen[static_cast<size_t>(rank)]); }

// The texts as the tool built them before it streamed: the library's figures
// of the whole slip, formatted cell by cell through QString.
QString planTextOf(const WinPlan& plan) {
    QString s = QStringLiteral("Ergebnisse: %1\n").arg(formatCount(plan.results));
    s += QStringLiteral("Sicherer Rang: %1\n\n")
             .arg(plan.guaranteedRank == 0 ? QStringLiteral("keiner") : rankName(plan.guaranteedRank));
    s += QStringLiteral("  Rang I  Rang II  Rang III  Rang IV  Ergebnisse\n");
    for (const WinPlanClass& c : plan.classes)
        s += QString::number(c.ranks[0]).rightJustified(8) + QString::number(c.ranks[1]).rightJustified(9) +
             QString::number(c.ranks[2]).rightJustified(10) + QString::number(c.ranks[3]).rightJustified(9) +
             formatCount(c.results).rightJustified(12) + u'\n';
    return s;
}

QString chancesTextOf(const LiveChances& live) {
    QString s = QStringLiteral("Offene Spiele: %1\n\n").arg(live.open);
    s += QStringLiteral("Reihe  Richtig  Bester Rang     Rang I    Rang II   Rang III    Rang IV\n");
    for (const LiveRow& row : live.rows) {
        s += QString::number(row.number).rightJustified(5) + QString::number(row.hits).rightJustified(9) +
             (row.bestRank == 0 ? QStringLiteral("-") : rankName(row.bestRank)).rightJustified(13);
        for (const double p : row.p) s += formatPercent(p).rightJustified(11);
        s += u'\n';
    }
    s += QStringLiteral("\nMindestens eine Reihe in Rang I: %1, bis II: %2, bis III: %3, bis IV: %4\n")
             .arg(formatPercent(live.atLeast[0]), formatPercent(live.atLeast[1]), formatPercent(live.atLeast[2]),
                  formatPercent(live.atLeast[3]));
    s += QStringLiteral("Erwartete Reihen: I %1, II %2, III %3, IV %4\n")
             .arg(formatAmount(live.expected[0]), formatAmount(live.expected[1]), formatAmount(live.expected[2]),
                  formatAmount(live.expected[3]));
    return s;
}

// 60,000 rows over many read blocks, near the result 1021021021021: now and
// then a match without a tip or a row without a first tip; duplicates too.
QByteArray largeSlip() {
    std::mt19937 random(2213);
    const char* near = "1021021021021";
    QByteArray bytes;
    for (int r = 0; r < 60000; ++r) {
        QByteArray record(TScheinOffen::kSize, '\0');
        for (int m = 0; m < kMatches; ++m) {
            const unsigned pick = random() % 60;
            if (pick == 0 || (m == 0 && r % 1009 == 7)) continue;
            const int column = pick < 40 ? (near[m] == '1' ? 0 : near[m] == '0' ? 1 : 2) : static_cast<int>(pick % 3);
            record[1 + 3 * m + column] = static_cast<char>(pick % 2 ? 1 : 0xFF);
        }
        bytes += record;
    }
    return bytes;
}

}  // namespace

TEST(AnalysisCli, StreamedTextIsTheTextOfTheWholeSlipByteForByte) {
    test::TempDataFolder tmp;
    const QString slip = tmp.path(QStringLiteral("gross.krsc"));
    test::writeBytes(slip, largeSlip());
    TipTable rows;
    readSlipFile(slip, rows);

    // Three-way matches, some two-way ones and bankers the rows now and then miss.
    const QString crosses = QStringLiteral("102,102,102,10,02,12,1,0,2,1,0,102,102");
    const auto plan = runCli({"winplan", "--slip", slip, "--crosses", crosses});
    ASSERT_EQ(plan.exitCode, 0) << plan.err.toStdString();
    EXPECT_TRUE(plan.outBytes == planTextOf(*winPlan(rows, [&] {
                                  OutcomeCrosses c{};
                                  const QStringList groups = crosses.split(u',');
                                  for (int m = 1; m <= kMatches; ++m)
                                      for (const QChar ch : groups[m - 1])
                                          c[static_cast<size_t>(outcomeIndex(m, ch == u'1' ? 1 : ch == u'0' ? 2 : 3))] = true;
                                  return c;
                              }()))
                                  .toUtf8());

    // Halves and quarters make shares that lie exactly between two hundredths
    // (3,125 %), which the text rounds up.
    LiveResult result{};
    const QString resultText = QStringLiteral("10210-----021");
    for (int m = 0; m < kMatches; ++m) result[static_cast<size_t>(m)] = tipCodeOfText(resultText.mid(m, 1));
    std::array<OutcomeWeights, kMatches> weights;
    weights.fill(kEqualWeights);
    for (int m = 5; m < 10; ++m) weights[static_cast<size_t>(m)] = m % 2 ? OutcomeWeights{3, 0, 1} : OutcomeWeights{1, 1, 0};
    const auto chances = runCli({"chances", "--slip", slip, "--result", resultText, "--weights",
                                 "-,-,-,-,-,3/0/1,1/1/0,3/0/1,1/1/0,3/0/1,-,-,-"});
    ASSERT_EQ(chances.exitCode, 0) << chances.err.toStdString();
    const QString expected = chancesTextOf(*liveChances(rows, result, weights));
    ASSERT_TRUE(expected.contains(QStringLiteral(" 3,13 %")));
    EXPECT_TRUE(chances.outBytes == expected.toUtf8());
}

TEST(WinPlanCli, ThePlanOfAVewSystemWithItsWins) {
    test::TempDataFolder tmp;
    const QString slip = tmp.path(QStringLiteral("vew2.krsc"));
    ASSERT_EQ(runCli({"vew", "--crosses", kFourThreeWays, "--out", slip}).exitCode, 0);

    const auto json = runCli({"winplan", "--slip", slip, "--crosses", kFourThreeWays, "--quota", "I=1.000", "--quota",
                              "II=100", "--quota", "III=kaputt", "--quota", "IV=0,50", "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(json.outBytes).object();
    EXPECT_EQ(o["results"].toInt(), 81);
    EXPECT_EQ(o["guaranteed"].toString(), QStringLiteral("II"));
    EXPECT_EQ(o["plan"].toArray(),
              (QJsonArray{QJsonObject{{"ranks", QJsonArray{1, 0, 0, 8}}, {"results", 9}},
                          QJsonObject{{"ranks", QJsonArray{0, 1, 3, 3}}, {"results", 72}}}));
    // 1.004,00 for 9 results, 101,50 for 72: a mean of 16.344 / 81, in euros to the cent.
    EXPECT_EQ(o["win"].toObject(), (QJsonObject{{"min", 101.5}, {"max", 1004}, {"mean", 201.78}}));

    const auto text = runCli({"winplan", "--slip", slip, "--crosses", kFourThreeWays});
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.contains(QStringLiteral("Sicherer Rang: II\n")));
    EXPECT_TRUE(text.out.contains(QStringLiteral("       0        1         3        3          72\n")));
    EXPECT_FALSE(text.out.contains(QStringLiteral("Gewinn:")));

    // Crosses the rows do not fit: tips outside them are wrong everywhere.
    const auto off = runCli({"winplan", "--slip", slip, "--crosses", "1,1,1,1,2,2,2,2,1,1,1,1,1", "--json"});
    const QJsonObject none = QJsonDocument::fromJson(off.outBytes).object();
    EXPECT_EQ(none["results"].toInt(), 1);
    EXPECT_TRUE(none["guaranteed"].isNull());
    EXPECT_TRUE(none["win"].isNull());

    const auto missing = runCli({"winplan", "--slip", slip, "--crosses", "1,1,1,1,1,1,1,1,1,1,1,1,"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.startsWith(QStringLiteral("Nicht jedes der 13 Spiele ist angekreuzt.")));
    EXPECT_EQ(runCli({"winplan", "--slip", slip}).exitCode, 2);
    EXPECT_EQ(runCli({"winplan", "--slip", slip, "--crosses", kFourThreeWays, "--quota", "V=1"}).exitCode, 2);
}

TEST(ChancesCli, TheChancesOfTheRowsAndTheSlip) {
    test::TempDataFolder tmp;
    const QString slip = tmp.path(QStringLiteral("vew2.krsc"));
    ASSERT_EQ(runCli({"vew", "--crosses", kFourThreeWays, "--out", slip}).exitCode, 0);

    // Matches 5 and 6 open, match 5 at "1" three times as likely as "0", never "2".
    const auto r = runCli({"chances", "--slip", slip, "--result", "1021--1111111", "--weights",
                           "-,-,-,-,3/1/0,-,-,-,-,-,-,-,-", "--quota", "III=10", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.outBytes).object();
    EXPECT_EQ(o["open"].toInt(), 2);
    const QJsonArray rows = o["rows"].toArray();
    ASSERT_EQ(rows.size(), 9);
    // Row 1 tips 1111 on the three-ways: two wrong so far (matches 2 and 3), both open tips "1".
    const QJsonObject first = rows[0].toObject();
    EXPECT_EQ(first["number"].toInt(), 1);
    EXPECT_EQ(first["hits"].toInt(), 9);
    EXPECT_EQ(first["best"].toString(), QStringLiteral("III"));
    const QJsonArray p = first["p"].toArray();
    EXPECT_DOUBLE_EQ(p[2].toDouble(), 0.75 / 3);  // both open ones right
    EXPECT_DOUBLE_EQ(p[3].toDouble(), 0.75 * 2 / 3 + 0.25 / 3);
    const QJsonObject slipFigures = o["slip"].toObject();
    const QJsonArray expected = slipFigures["expected"].toArray();
    double third = 0;
    for (const QJsonValue& row : rows) third += row.toObject()["p"].toArray()[2].toDouble();
    EXPECT_NEAR(expected[2].toDouble(), third, 1e-12);
    EXPECT_EQ(slipFigures["win"].toDouble(), std::round(third * 1000) / 100);
    EXPECT_DOUBLE_EQ(slipFigures["p_at_least"].toArray()[3].toDouble(), 1.0);

    const auto text = runCli({"chances", "--slip", slip, "--result", "1021--1111111"});
    EXPECT_TRUE(text.out.startsWith(QStringLiteral("Offene Spiele: 2\n")));
    EXPECT_TRUE(text.out.contains(QStringLiteral("Mindestens eine Reihe in Rang I: 0,00 %")));

    // Weights that give no shares: none at all, a negative one, all 0, no
    // number, or a sum beyond any number.
    for (const char* wrong : {"1/2", "-,-,-,-,1/-1/1,-,-,-,-,-,-,-,-", "-,-,-,-,0/0/0,-,-,-,-,-,-,-,-",
                              "-,-,-,-,1/nan/1,-,-,-,-,-,-,-,-", "-,-,-,-,1e308/1e308/1e308,-,-,-,-,-,-,-,-"}) {
        const auto refused = runCli({"chances", "--slip", slip, "--result", "1021--1111111", "--weights", wrong});
        EXPECT_EQ(refused.exitCode, 2) << wrong;
        EXPECT_TRUE(refused.out.isEmpty()) << wrong;
    }
    EXPECT_TRUE(runCli({"chances", "--slip", slip, "--result", "1021--1111111", "--weights",
                        "-,-,-,-,1e308/1e308/1e308,-,-,-,-,-,-,-,-"})
                    .err.contains(QStringLiteral("Spiel 5: Die Gewichte „1e308/1e308/1e308“ sind zusammen zu groß")));
    EXPECT_EQ(runCli({"chances", "--slip", slip}).exitCode, 2);
}
