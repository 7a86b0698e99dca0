#include "support/cli_runner.h"
#include "support/test_env.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace korbisto;
using test::runCli;

namespace {

const QString kFourThreeWays = QStringLiteral("102,102,102,102,1,1,1,1,1,1,1,1,1");

}  // namespace

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
    // 1.004,00 for 9 results, 101,50 for 72: a mean of 16.344 / 81.
    EXPECT_EQ(o["win"].toObject(), (QJsonObject{{"min", "101,50"}, {"max", "1.004,00"}, {"mean", "201,78"}}));

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
    EXPECT_EQ(slipFigures["win"].toString(), QString::number(third * 10, 'f', 2).replace(u'.', u','));
    EXPECT_DOUBLE_EQ(slipFigures["p_at_least"].toArray()[3].toDouble(), 1.0);

    const auto text = runCli({"chances", "--slip", slip, "--result", "1021--1111111"});
    EXPECT_TRUE(text.out.startsWith(QStringLiteral("Offene Spiele: 2\n")));
    EXPECT_TRUE(text.out.contains(QStringLiteral("Mindestens eine Reihe in Rang I: 0,00 %")));

    for (const QStringList& wrong : {QStringList{"--weights", "1/2"}, QStringList{"--weights", "-,-,-,-,0/0/0,-,-,-,-,-,-,-,-"},
                                     QStringList{"--weights", "-,-,-,-,1/-1/1,-,-,-,-,-,-,-,-"}}) {
        const auto refused = runCli(QStringList{"chances", "--slip", slip, "--result", "1021--1111111"} + wrong);
        EXPECT_EQ(refused.exitCode, 2) << wrong.join(u' ').toStdString();
    }
    EXPECT_EQ(runCli({"chances", "--slip", slip}).exitCode, 2);
}
