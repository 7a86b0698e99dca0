#include "online_support.h"

#include "support/cli_runner.h"
#include "support/json_doc.h"

#include "core/paths.h"
#include "files/version_info_file.h"
#include "online/donation_status.h"
#include "online/program_update.h"

#include <QDir>
#include <QFile>
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
    };
    for (const auto& c : cases) {
        const CliResult result = check(c.file);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(result.out, QString::fromLatin1(c.json) + u'\n');
        EXPECT_EQ(test::jsonDocProblems(QStringLiteral("check-update"), result.outBytes), QStringList());
    }
    EXPECT_EQ(readVersionInfoFile(versionFilePath()), QStringLiteral("1.3.0.1"));

    const CliResult text = check(record("1.3.0.1"), false);
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out, QStringLiteral("Installierte Version: 1.3.0.0\nVerfügbare Version:   1.3.0.1\n"
                                       "Download:             möglich\n"));
}

TEST_F(CheckUpdateTest, WhatIsNoVersionFileFailsAndTheOldCopyStays) {
    QByteArray longText = record("1.3.0.1");
    longText[8] = 16;
    QByteArray control = record("1.3.0.1");
    control[10] = '\n';
    const struct {
        QByteArray file;  // none on the server when null, before any is served
        const char* kind;
    } cases[] = {
        {QByteArray(), "status: HTTP status 404"},
        {"abc", "too-short: announced 3 bytes"},
        {QByteArray(23, '\x05'), "implausible: Die Versionsdatei hat 23 Bytes und damit keinen ganzen Eintrag von 24 Bytes."},
        {"<html><head><title>Fehler</title></head><body>Wartung</body></html>",
         "implausible: Eintrag 1 der Versionsdatei wäre 101 Zeichen lang, erlaubt sind 15."},
        {record("1.3.0.0") + longText, "implausible: Eintrag 2 der Versionsdatei wäre 16 Zeichen lang, erlaubt sind 15."},
        {control, "implausible: Eintrag 1 der Versionsdatei enthält Zeichen, die keine Versionsangabe bilden."},
        {QByteArray(24, '\0'), "implausible: Der letzte Eintrag der Versionsdatei ist leer."},
    };
    QDir().mkpath(appPaths().DataFolder);
    test::writeBytes(versionFilePath(), record("9.9.9.9"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const CliResult result = c.file.isNull() ? runCli({"check-update"}) : check(c.file, false);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, QStringLiteral("Die Prüfung hat leider nicht geklappt.\n") + QString::fromUtf8(c.kind) + u'\n');
        EXPECT_EQ(result.out, QString());
        EXPECT_EQ(test::readBytes(versionFilePath()), record("9.9.9.9"));
    }
}

// Nothing is written into the shared temp folder, and nothing there is
// read or written through: a link planted under each name the program once
// used leads to a file of the user's that must stay as it is.
TEST_F(CheckUpdateTest, NothingGoesThroughTheSharedTempFolder) {
    serve(QStringLiteral("/downloads/verinfos.krvi"), record("1.3.0.1"));
    serve(QStringLiteral("/downloads/wach13.txt"), "123,45\r\n");
    serve(QStringLiteral("/downloads/krviupdate.exe"), "#!/bin/sh\nexit 0\n");
    const QString shared = qEnvironmentVariable("TMPDIR");
    const QString victim = folder.path(QStringLiteral("eigene-datei.txt"));
    test::writeBytes(victim, "wertvoll");
    for (const char* name : {"wach13.txt", "verinfos.krvi", "Update.exe", "tmp.tmp"})
        ASSERT_TRUE(QFile::link(victim, shared + u'/' + QString::fromLatin1(name)));
    const QStringList planted = QDir(shared).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);

    const auto status = waitFor<DonationStatus>([](QObject* parent, auto done) { GetDonationStatus(parent, done); });
    ASSERT_TRUE(status);
    EXPECT_EQ(status->line, QStringLiteral("123,45"));
    const auto check = waitFor<UpdateCheck>([](QObject* parent, auto done) { CheckForUpdate(parent, done); });
    ASSERT_TRUE(check);
    EXPECT_EQ(check->offered, QStringLiteral("1.3.0.1"));
    const auto installer = waitFor<DownloadResult>([](QObject* parent, auto done) { DownloadInstaller(parent, done); });
    ASSERT_TRUE(installer);
    EXPECT_TRUE(installer->ok()) << installer->detail.toStdString();
    EXPECT_EQ(runCli({"donation-status"}).out, QStringLiteral("123,45\n"));

    EXPECT_EQ(test::readBytes(victim), "wertvoll");
    EXPECT_EQ(QDir(shared).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), planted);
    EXPECT_EQ(test::readBytes(versionFilePath()), record("1.3.0.1"));
    EXPECT_EQ(test::readBytes(installerFilePath()), "#!/bin/sh\nexit 0\n");
}
