#include "support/cli_runner.h"
#include "support/test_env.h"
#include "support/tip_rows.h"

#include "files/slip_file.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace korbisto;
using test::runCli;

namespace {

// 3 × 3 × 3 × 2 = 54 rows; matches 5 to 13 are bankers.
const QStringList kFilter{"filter", "--crosses", "102,102,102,10,1,1,1,1,1,1,1,1,1"};

QStringList lines(const QString& out) {
    QStringList l = out.split(u'\n');
    EXPECT_EQ(l.takeLast(), QString());
    return l;
}

// Rows of 13 signs without separators, as the JSON has them.
QStringList compact(const QStringList& rows) {
    QStringList c;
    for (QString r : rows) c << r.remove(u',').remove(u';');
    return c;
}

QStringList jsonRows(const QJsonObject& o) {
    QStringList rows;
    for (const QJsonValue& v : o.value(QStringLiteral("rows")).toArray()) rows << v.toString();
    return rows;
}

int equalSigns(const QString& a, const QString& b) {
    int n = 0;
    for (int m = 0; m < 13; ++m) n += a[m] == b[m];
    return n;
}

}  // namespace

TEST(FilterCli, FilterPrintsThePassingRowsAndCountsThem) {
    // Two or more draws on matches 1 to 4, and no run longer than 9: the
    // bankers' run of nine "1" must not go on into match 4.
    const auto run = runCli(kFilter + QStringList{"--signs", "X=2..@1-4", "--run", "..9"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList rows = lines(run.out);
    QStringList expected;
    for (const char* a : {"1", "0", "2"})
        for (const char* b : {"1", "0", "2"})
            for (const char* c : {"1", "0", "2"})
                for (const char* d : {"1", "0"}) {
                    const QString head = QStringLiteral("%1,%2,%3,%4").arg(a, b, c, d);
                    if (head.count(u'0') >= 2 && QLatin1String(d) == QLatin1String("0"))
                        expected << head + QStringLiteral(",1,1,1,1,1,1,1,1,1");
                }
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(run.err, QStringLiteral("%1 von 54 Reihen erfüllen die Filter.\n").arg(expected.size()));

    const auto csv = runCli(kFilter + QStringList{"--signs", "X=2..@1-4", "--run", "..9", "--format", "csv"});
    EXPECT_EQ(csv.out, QString(run.out).replace(u',', u';'));

    const auto json = runCli(kFilter + QStringList{"--signs", "X=2..@1-4", "--run", "..9", "--format", "json",
                                                 "--weights", "1/1/2,-,-,-,-,-,-,-,-,-,-,-,-"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    EXPECT_TRUE(json.err.isEmpty());
    const QJsonObject o = QJsonDocument::fromJson(json.outBytes).object();
    EXPECT_EQ(o.value("count").toInt(), expected.size());
    EXPECT_EQ(o.value("of").toInt(), 54);
    EXPECT_EQ(jsonRows(o), compact(expected));
    // Match 1 "1" a quarter, matches 2 to 4 a third each, the bankers a third each.
    double p = 0;
    for (const QString& row : compact(expected)) p += (row[0] == u'2' ? 0.5 : 0.25) / 27 / std::pow(3, 9);
    EXPECT_NEAR(o.value("probability").toDouble(), p, p * 1e-12);
}

TEST(FilterCli, CoverGuaranteesItsRankForEveryFilteredRow) {
    const QStringList crosses{"--crosses", "102,102,102,102,102,10,10,1,1,1,1,1,1"};
    const QStringList filters{"--changes", "3..", "--signs", "0=1..3", "--weights", "5/3/2,-,-,-,-,-,-,-,-,-,-,-,-"};
    const auto filtered = runCli(QStringList{"filter"} + crosses + filters + QStringList{"--format", "json"});
    const QStringList passing = jsonRows(QJsonDocument::fromJson(filtered.outBytes).object());
    ASSERT_GT(passing.size(), 100);
    for (const int g : {12, 11, 10}) {
        const auto run = runCli(QStringList{"cover"} + crosses + filters + QStringList{"--guarantee", QString::number(g), "--format", "json"});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QJsonObject o = QJsonDocument::fromJson(run.outBytes).object();
        const QStringList cover = jsonRows(o);
        EXPECT_EQ(o.value("guarantee").toInt(), g);
        EXPECT_EQ(o.value("covers").toInt(), passing.size());
        EXPECT_EQ(o.value("count").toInt(), cover.size());
        EXPECT_EQ(o.value("probability").toDouble(), QJsonDocument::fromJson(filtered.outBytes).object().value("probability").toDouble());
        for (const QString& row : passing)
            EXPECT_TRUE(std::any_of(cover.begin(), cover.end(), [&](const QString& c) { return equalSigns(row, c) >= g; })) << g;

        const auto text = runCli(QStringList{"cover"} + crosses + filters + QStringList{"--guarantee", QString::number(g)});
        EXPECT_EQ(compact(lines(text.out)), cover);
        EXPECT_TRUE(text.err.contains(QStringLiteral("%1 Reihen garantieren mindestens %2 Richtige, wenn das Ergebnis die Filter erfüllt.")
                                          .arg(cover.size())
                                          .arg(g)))
            << text.err.toStdString();
    }
}

TEST(FilterCli, SlipsAreFilteredRowByRowAndSavedOnlyWithRows) {
    test::TempDataFolder folder;
    const QString slip = folder.path(QStringLiteral("schein.krsc"));
    // By hand: a record with a match without tip is no candidate.
    QByteArray bytes;
    for (const char* row : {"1111111111111", "0000000000000", "1111111111111", "1-11111111111", "2222222222220"})
        bytes += test::slipRecord(row);
    test::writeBytes(slip, bytes);
    const auto run = runCli({"filter", "--slip", slip, "--signs", "1=..12"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("0,0,0,0,0,0,0,0,0,0,0,0,0\n2,2,2,2,2,2,2,2,2,2,2,2,0\n"));
    EXPECT_EQ(run.err, QStringLiteral("2 von 4 Reihen erfüllen die Filter. 1 Reihe des Spielscheins mit anderen Tipps als 1, 0 "
                                      "und 2 zählt nicht mit.\n"));

    const QString out = folder.path(QStringLiteral("gefiltert.krsc"));
    ASSERT_EQ(runCli({"cover", "--slip", slip, "--guarantee", "12", "--out", out}).exitCode, 0);
    TipTable table;
    EXPECT_EQ(readSlipFile(out, table), 3);

    const QString none = folder.path(QStringLiteral("leer.krsc"));
    const auto empty = runCli({"filter", "--slip", slip, "--run", "14..", "--out", none});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_TRUE(empty.err.startsWith(QStringLiteral("Keine Reihe erfüllt alle Filter."))) << empty.err.toStdString();
    EXPECT_FALSE(QFile::exists(none));
    const auto emptyText = runCli({"filter", "--slip", slip, "--run", "14.."});
    EXPECT_EQ(emptyText.exitCode, 0);
    EXPECT_TRUE(emptyText.out.isEmpty());
    EXPECT_TRUE(emptyText.err.startsWith(QStringLiteral("Keine Reihe erfüllt alle Filter (0 von 4).")));
}

TEST(FilterCli, WrongFiltersAreUsageErrors) {
    const QStringList wrong[] = {
        {"filter", "--crosses", "102,1,1,1,1,1,1,1,1,1,1,1,1", "--run", "5..3"},
        {"filter", "--crosses", "102,1,1,1,1,1,1,1,1,1,1,1,1", "--signs", "1=1..2@14"},
        {"filter", "--crosses", "102,1,1,1,1,1,1,1,1,1,1,1,1", "--signs", "3=1"},
        {"filter", "--crosses", "102,1,1,1,1,1,1,1,1,1,1,1,1", "--level", "1=2"},
        {"filter", "--crosses", "102,1,1,1,1,1,1,1,1,1,1,1,1", "--best", "5"},
        {"filter", "--crosses", "102,1,1,1,1,1,1,1,1,1,1,1,1", "--slip", "x.krsc"},
        {"filter", "--crosses", "102,1,1,1,1,1,1,1,1,1,1,1,1", "--run", "..4", "--tolerance", "1000000000"},
        {"filter", "--run", "..4"},
        {"cover", "--crosses", "102,1,1,1,1,1,1,1,1,1,1,1,1"},
        {"cover", "--crosses", "102,1,1,1,1,1,1,1,1,1,1,1,1", "--guarantee", "9"},
    };
    for (const QStringList& args : wrong) {
        const auto run = runCli(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("Mehr dazu: korbisto-cli ") + args[0])) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    const auto incomplete = runCli({"filter", "--crosses", "102,1,1,1,1,1,1,1,1,1,1,1,"});
    EXPECT_EQ(incomplete.exitCode, 1);
    EXPECT_TRUE(incomplete.err.contains(QStringLiteral("Nicht jedes der 13 Spiele ist angekreuzt.")));
}
