#include "online_support.h"

#include "core/paths.h"
#include "files/match_day_file.h"
#include "online/donation_status.h"
#include "online/match_day_download.h"
#include "online/server.h"
#include "support/cli_runner.h"

#include <QDir>
#include <QFile>

using namespace korbisto;
using namespace korbisto::test;

namespace {

QByteArray matchDay(int day) {
    TSpieltag m;
    m.Datum = QDate(1899, 12, 30).daysTo(QDate(2024, 1, day));
    for (int i = 0; i < kMatches; ++i) {
        m.Heim[i] = QStringLiteral("Heim %1").arg(i + 1);
        m.Gast[i] = QStringLiteral("Gast %1").arg(i + 1);
    }
    return encodeMatchDay(m);
}

const QString kFutureText =
    QStringLiteral("Für den gewählten Spieltag sind noch keine Daten online. Versuchen Sie es bitte später noch einmal.");
const QString kPastText = QStringLiteral("Für weiter zurückliegende Spieltage sind keine Daten verfügbar.");
const QString kOfflineText =
    QStringLiteral("Für den Download muss eine Verbindung zum Internet bestehen.\n\nIch breche ab.");

class MatchDayDownloadTest : public OnlineTest {
protected:
    MatchDayOutcome download(const QString& name, bool future) {
        return waitFor<MatchDayOutcome>([&](QObject* parent, auto done) {
                   DownloadMatchDay(name, serverUrl(matchDayServerPath(name)), future, parent, done);
               })
            .value_or(MatchDayOutcome::Stored);
    }
    QString status() {
        return waitFor<QString>([](QObject* parent, auto done) { GetDonationStatus(parent, done); })
            .value_or(QStringLiteral("(none)"));
    }
    QString stored(const QString& name) const { return appPaths().MatchDayFolder + name; }
};

}  // namespace

TEST_F(MatchDayDownloadTest, AWholeRecordIsStoredInANewFolder) {
    serve(QStringLiteral("/downloads/spieltage/27012024.sptag"), matchDay(27));
    ASSERT_FALSE(QFileInfo::exists(appPaths().MatchDayFolder));
    EXPECT_EQ(download(QStringLiteral("27012024.sptag"), false), MatchDayOutcome::Stored);
    EXPECT_EQ(readBytes(stored(QStringLiteral("27012024.sptag"))), matchDay(27));
    EXPECT_EQ(readMatchDayFile(stored(QStringLiteral("27012024.sptag"))).Heim[12], QStringLiteral("Heim 13"));
    EXPECT_EQ(matchDayMessage(MatchDayOutcome::Stored), QString());
}

TEST_F(MatchDayDownloadTest, NoWholeRecordGivesTheMessageOfTheDayAndKeepsTheOldFile) {
    serve(QStringLiteral("/downloads/spieltage/20012024.sptag"), matchDay(20).left(1647));
    QDir().mkpath(appPaths().MatchDayFolder);
    writeBytes(stored(QStringLiteral("20012024.sptag")), matchDay(13));
    const struct {
        const char* name;
        const char* file;
        bool future;
        MatchDayOutcome outcome;
        const QString& message;
    } cases[] = {
        {"one byte short, past", "20012024.sptag", false, MatchDayOutcome::NotAvailable, kPastText},
        {"one byte short, future", "20012024.sptag", true, MatchDayOutcome::NotYetOnline, kFutureText},
        {"none on the server", "03022024.sptag", true, MatchDayOutcome::NotYetOnline, kFutureText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MatchDayOutcome outcome = download(QString::fromLatin1(c.file), c.future);
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(matchDayMessage(outcome), c.message);
    }
    EXPECT_EQ(readBytes(stored(QStringLiteral("20012024.sptag"))), matchDay(13));
    EXPECT_FALSE(QFileInfo::exists(stored(QStringLiteral("03022024.sptag"))));
}

TEST_F(MatchDayDownloadTest, OfflineNothingIsAsked) {
    serve(QStringLiteral("/downloads/spieltage/27012024.sptag"), matchDay(27));
    online.setOnline(false);
    EXPECT_EQ(download(QStringLiteral("27012024.sptag"), false), MatchDayOutcome::Offline);
    EXPECT_EQ(matchDayMessage(MatchDayOutcome::Offline), kOfflineText);
    EXPECT_FALSE(QFileInfo::exists(stored(QStringLiteral("27012024.sptag"))));
}

TEST_F(MatchDayDownloadTest, AFolderThatCannotBeMadeShowsNothing) {
    serve(QStringLiteral("/downloads/spieltage/27012024.sptag"), matchDay(27));
    // A file where the match-day folder belongs.
    QDir().mkpath(appPaths().DataFolder);
    QString folderPath = appPaths().MatchDayFolder;
    folderPath.chop(1);
    writeBytes(folderPath, "no folder");
    const MatchDayOutcome outcome = download(QStringLiteral("27012024.sptag"), true);
    EXPECT_EQ(outcome, MatchDayOutcome::WriteFailed);
    EXPECT_EQ(matchDayMessage(outcome), QString());
    EXPECT_EQ(readBytes(folderPath), "no folder");
}

TEST_F(MatchDayDownloadTest, TheDonationStatusIsTheFirstLineAsPlainText) {
    const struct {
        const char* name;
        QByteArray file;  // empty: none on the server
        QString shown;
    } cases[] = {
        {"amount and more lines", "123,45\r\nDanke!\r\n", QStringLiteral("123,45")},
        {"one line without a break", "7,50", QStringLiteral("7,50")},
        {"longer than 20", "1234567890123456789012345", QStringLiteral("12345678901234567890")},
        {"control characters", "12\x07" "3,\t4\x1b[5\x7f" "6\n", QStringLiteral("123,4[56")},
        {"HTML stays text", "<b>99</b><script>\nx", QStringLiteral("<b>99</b><script>")},
        {"UTF-8 with its mark", "\xef\xbb\xbf" "1.000 \xe2\x82\xac\n", QStringLiteral("1.000 €")},
        {"Windows-1252", "5 \x80\r\n", QStringLiteral("5 €")},
        {"fewer than 4 bytes", "1,5", QString()},
        {"a line of a megabyte", QByteArray(1 << 20, '9'), QString()},
        {"none on the server", QByteArray(), QString()},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case a site of its own below this test's.
        const QString prefix = QStringLiteral("/%1").arg(++n);
        if (!c.file.isEmpty()) serve(prefix + QString::fromLatin1(kDonationStatusPath), c.file);
        qputenv("KORBISTO_SERVER", (site() + prefix).toUtf8());
        EXPECT_EQ(status(), c.shown);
    }
}

TEST_F(MatchDayDownloadTest, TheDonationStatusIsEmptyOfflineAndNoOlderFileIsRead) {
    serve(QString::fromLatin1(kDonationStatusPath), "42,00\n");
    online.setOnline(false);
    EXPECT_EQ(status(), QString());
    online.setOnline(true);
    EXPECT_EQ(status(), QStringLiteral("42,00"));
    // A failure later does not show the file of the earlier success.
    qputenv("KORBISTO_SERVER", (site() + QStringLiteral("/elsewhere")).toUtf8());
    EXPECT_EQ(status(), QString());
    EXPECT_FALSE(QFileInfo::exists(appPaths().TempFolder + QStringLiteral("wach13.txt")));
}

TEST_F(MatchDayDownloadTest, TheToolStoresTheMatchDayOrSaysWhyNot) {
    serve(QStringLiteral("/downloads/spieltage/27012024.sptag"), matchDay(27));
    serve(QStringLiteral("/downloads/spieltage/20012024.sptag"), "abcd");
    const QString path = appPaths().MatchDayFolder + QStringLiteral("27012024.sptag");

    const CliResult ok = runCli({"download-matchday", "27.01.2024", "--now", "28.01.2024T10:00"});
    EXPECT_EQ(ok.exitCode, 0) << ok.err.toStdString();
    EXPECT_EQ(ok.out, path + u'\n');
    EXPECT_EQ(readBytes(path), matchDay(27));

    // Today's Saturday counts as past.
    const CliResult today = runCli({"download-matchday", "03.02.2024", "--now", "03.02.2024T09:00"});
    EXPECT_EQ(today.exitCode, 1);
    EXPECT_EQ(today.err, kPastText + u'\n');
    EXPECT_EQ(today.out, QString());
    const CliResult ahead = runCli({"download-matchday", "03.02.2024", "--now", "02.02.2024T23:59"});
    EXPECT_EQ(ahead.exitCode, 1);
    EXPECT_EQ(ahead.err, kFutureText + u'\n');

    writeBytes(appPaths().MatchDayFolder + QStringLiteral("20012024.sptag"), matchDay(13));
    const CliResult shortOne = runCli({"download-matchday", "20.01.2024", "--now", "28.01.2024T10:00"});
    EXPECT_EQ(shortOne.exitCode, 1);
    EXPECT_EQ(shortOne.err, kPastText + u'\n');
    EXPECT_EQ(readBytes(appPaths().MatchDayFolder + QStringLiteral("20012024.sptag")), matchDay(13));

    EXPECT_EQ(runCli({"download-matchday", "31.02.2024"}).exitCode, 2);
    EXPECT_EQ(runCli({"download-matchday"}).exitCode, 2);
}

TEST_F(MatchDayDownloadTest, TheToolPrintsTheDonationStatus) {
    serve(QString::fromLatin1(kDonationStatusPath), "123,45\r\nzweite Zeile\r\n");
    const CliResult r = runCli({"donation-status"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("123,45\n"));
    qputenv("KORBISTO_SERVER", (site() + QStringLiteral("/elsewhere")).toUtf8());
    const CliResult none = runCli({"donation-status"});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, QStringLiteral("\n"));
}
