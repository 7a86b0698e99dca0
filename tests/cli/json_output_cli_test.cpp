#include "support/cli_runner.h"

#include "files/slip_file.h"
#include "support/test_env.h"
#include "support/tip_rows.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace korbisto;
using test::runCli;

namespace {

// Ones in every match; every second row has a 2 in match 13.
QString slipOfOnes(const test::TempDataFolder& tmp, int rows) {
    std::vector<const char*> tips;
    for (int r = 1; r <= rows; ++r) tips.push_back(r % 2 == 0 ? "1111111111112" : "1111111111111");
    const QString path = tmp.path(QStringLiteral("schein.krsc"));
    test::writeSlip(path, tips);
    return path;
}

}  // namespace

// Team names, quotas and cells go out as typed: quotes, backslashes and control
// characters escaped, umlauts and everything else as UTF-8.
TEST(CliJson, OddTextIsEscapedByteForByte) {
    test::TempDataFolder tmp;
    const QString slip = slipOfOnes(tmp, 1);
    const QString day = tmp.path(QStringLiteral("tag.sptag"));
    const auto made = runCli({"make-matchday", "--out", day, "--date", "13.03.2021", "--result", "1111111111111",
                              "--pairing", QStringLiteral("Bay\"er\\n M\tü\x01nchen|Dort\x1fmund\r"), "--pairing",
                              QStringLiteral("„Kickers“|Ö/Ä")});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const QString text = tmp.path(QStringLiteral("reihen.txt"));
    test::writeBytes(text, "1;2;0;1;2;0;1;2;0;1;2;0;1\r\nK\"o;\\b\\;\xC3\xA4;\xE2\x82\xAC;\x7F;1;2;2;2;1;0;2;1\r\n"
                           "2;2;2;2;2;2;2;2;2;2;2;2;2\r\n");

    struct Case {
        QStringList args;
        QByteArray json;
    };
    const QByteArray noPairing = R"({"home":"","away":""})";
    const Case cases[] = {
        // A quota typed as no number is none, whatever it holds.
        {{"evaluate", "--slip", slip, "--result", "1111111111111", "--quota", "I=a\"b\\c", "--quota",
          QStringLiteral("II=\n\r\t\x01\x1f") + QStringLiteral("äß€😀"), "--json"},
         R"({"winning_row":"1111111111111","quotas":[null,null,null,null],"rows":[{"number":1,"tips":"1111111111111",)"
         R"("hits":13}],"ranks":[{"rank":"I","count":1,"amount":null},{"rank":"II","count":0,"amount":null},)"
         R"({"rank":"III","count":0,"amount":null},{"rank":"IV","count":0,"amount":null}],"total":0})"
         "\n"},
        {{"matchday", day, "--now", "20.03.2021", "--json"},
         R"({"date":"2021-03-13","pairings":[{"home":"Bay\"er\\n M\t)"
         "\xC3\xBC"
         R"(\u0001nchen","away":"Dort\u001fmund\r"},{"home":")"
         "\xE2\x80\x9EKickers\xE2\x80\x9C\",\"away\":\"\xC3\x96/\xC3\x84\"},"
         + noPairing.repeated(11).replace("}{", "},{") +
         R"(],"winning_row":"1111111111111","quotas":null})"
         "\n"},
        {{"import", text, "--json"},
         R"({"mode":"separated","separator":";","rows":["1201201201201","?????12221021","2222222222222"],)"
         R"("odd":[{"row":2,"match":1,"text":"K\"o"},{"row":2,"match":2,"text":"\\b\\"},)"
         "{\"row\":2,\"match\":3,\"text\":\"\xC3\xA4\"},{\"row\":2,\"match\":4,\"text\":\"\xE2\x82\xAC\"},"
         "{\"row\":2,\"match\":5,\"text\":\"\x7F\"}]}\n"},
    };
    for (const Case& c : cases) {
        const auto r = runCli(c.args);
        EXPECT_EQ(r.exitCode, 0) << c.args.first().toStdString() << ": " << r.err.toStdString();
        EXPECT_EQ(r.outBytes, c.json) << c.args.first().toStdString();
    }
}

// Far more than one block of output: still one document, nothing lost or doubled
// where the blocks meet.
TEST(CliJson, ManyRowsStayOneDocument) {
    test::TempDataFolder tmp;
    constexpr int kRows = 30000;
    const auto r = runCli({"evaluate", "--slip", slipOfOnes(tmp, kRows), "--result", "1111111111111", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_GT(r.outBytes.size(), 20 * 65536);
    EXPECT_TRUE(r.outBytes.endsWith("\"total\":0}\n"));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(r.outBytes, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << " at " << error.offset;
    const QJsonArray rows = document.object().value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(rows.size(), kRows);
    for (int i = 0; i < kRows; ++i) {
        const QJsonObject row = rows[i].toObject();
        ASSERT_EQ(row.value(QStringLiteral("number")).toInt(), i + 1);
        ASSERT_EQ(row.value(QStringLiteral("hits")).toInt(), i % 2 ? 12 : 13) << i;
        ASSERT_EQ(row.value(QStringLiteral("tips")).toString(), i % 2 ? QStringLiteral("1111111111112")
                                                                        : QStringLiteral("1111111111111"));
    }
    const QJsonArray ranks = document.object().value(QStringLiteral("ranks")).toArray();
    EXPECT_EQ(ranks[0].toObject().value(QStringLiteral("count")).toInt(), kRows / 2);
    EXPECT_EQ(ranks[1].toObject().value(QStringLiteral("count")).toInt(), kRows / 2);
}
