#include "online_support.h"

#include "support/cli_runner.h"

#include "core/paths.h"
#include "files/version_info_file.h"

#include <QFileInfo>

using namespace korbisto;
using korbisto::test::CliResult;
using korbisto::test::runCli;

namespace {

class CheckUpdateTest : public test::OnlineTest {
protected:
    QByteArray record(const char* version) { return encodeVersionRecord(QString::fromLatin1(version)); }
    CliResult check(const QByteArray& versionFile, bool json = true) {
        serve(QStringLiteral("/downloads/verinfos.krvi"), versionFile);
        return json ? runCli({"check-update", "--json"}) : runCli({"check-update"});
    }
};

}  // namespace

TEST_F(CheckUpdateTest, TheToolSaysWhatTheServerOffers) {
    const struct {
        QByteArray file;
        const char* json;
    } cases[] = {
        {record("1.3.0.0"), R"({"installed":"1.3.0.0","offered":"1.3.0.0","download":false})"},
        {record("1.2.9.9"), R"({"installed":"1.3.0.0","offered":"1.2.9.9","download":true})"},
        {record("1.3.0.0") + record("1.3.0.1") + "rest", R"({"installed":"1.3.0.0","offered":"1.3.0.1","download":true})"},
        {QByteArray(23, '\x05'), R"({"installed":"1.3.0.0","offered":null,"download":false})"},
    };
    for (const auto& c : cases) {
        const CliResult result = check(c.file);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(result.out, QString::fromLatin1(c.json) + u'\n');
    }
    EXPECT_EQ(readVersionInfoFile(appPaths().DataFolder + QStringLiteral("verinfos.krvi")), std::nullopt);

    const CliResult text = check(record("1.3.0.1"), false);
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out, QStringLiteral("Installierte Version: 1.3.0.0\nVerfügbare Version:   1.3.0.1\n"
                                       "Download:             möglich\n"));
}

TEST_F(CheckUpdateTest, AFileThatCannotBeHadFailsAndTheOldCopyIsGone) {
    const QString local = appPaths().DataFolder + QStringLiteral("verinfos.krvi");
    const CliResult shortOne = check("abc");
    EXPECT_EQ(shortOne.exitCode, 1);
    EXPECT_EQ(shortOne.err, QStringLiteral("Die Prüfung hat leider nicht geklappt.\n"));
    EXPECT_EQ(shortOne.out, QString());

    test::writeBytes(local, record("9.9.9.9"));
    qputenv("KORBISTO_SERVER", (site() + QStringLiteral("/elsewhere")).toUtf8());
    EXPECT_EQ(runCli({"check-update"}).exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(local));
}
