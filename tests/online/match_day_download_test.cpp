#include "online_support.h"

#include "core/paths.h"
#include "files/match_day_file.h"
#include "online/donation_status.h"
#include "online/match_day_download.h"
#include "online/program_update.h"
#include "online/server.h"
#include "support/cli_runner.h"

#include <QDir>
#include <QElapsedTimer>
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
const QString kUnverifiedText = QStringLiteral("Der Server konnte nicht als echt bestätigt werden: Sein Zertifikat "
                                               "ist nicht vertrauenswürdig. Es wurde nichts heruntergeladen.");
const QString kNothingStored = QStringLiteral(" Es wurde nichts gespeichert. Versuchen Sie es bitte später noch einmal.");
const QString kTooLargeText = QStringLiteral("Die Antwort des Servers ist zu groß für einen Spieltag.") + kNothingStored;
const QString kTooSlowText = QStringLiteral("Der Server hat nicht rechtzeitig geantwortet.") + kNothingStored;
const QString kRedirectText =
    QStringLiteral("Der Server hat auf eine unsichere Adresse oder im Kreis umgeleitet.") + kNothingStored;
const QString kInstallerText = QStringLiteral("Der Download ist gescheitert. Versuchen Sie es bitte später noch einmal "
                                              "oder laden Sie das Update von \"S\" herunter.");
const QByteArray kOld = QByteArrayLiteral("the file as it was before");

class MatchDayDownloadTest : public OnlineTest {
protected:
    MatchDayResult download(const QDate& saturday, bool future) {
        return waitFor<MatchDayResult>([&](QObject* parent, auto done) {
                   DownloadMatchDay(saturday, future, parent, done);
               })
            .value_or(MatchDayResult{MatchDayOutcome::Stored, {}});
    }
    QString status() {
        return waitFor<DonationStatus>([](QObject* parent, auto done) { GetDonationStatus(parent, done); })
            .value_or(DonationStatus{QStringLiteral("(none)"), {}})
            .line;
    }
    QString stored(const QString& name) const { return appPaths().MatchDayFolder + name; }
};

}  // namespace

TEST_F(MatchDayDownloadTest, AWholeRecordIsStoredInANewFolder) {
    serve(QStringLiteral("/downloads/spieltage/27012024.sptag"), matchDay(27));
    ASSERT_FALSE(QFileInfo::exists(appPaths().MatchDayFolder));
    EXPECT_EQ(download(QDate(2024, 1, 27), false).outcome, MatchDayOutcome::Stored);
    EXPECT_EQ(readBytes(stored(QStringLiteral("27012024.sptag"))), matchDay(27));
    EXPECT_EQ(readMatchDayFile(stored(QStringLiteral("27012024.sptag"))).Heim[12], QStringLiteral("Heim 13"));
}

// Every kind of answer, from nginx or from the hostile server beside it: each
// ends within its time, says what the user is told, and keeps the old file
// unless a whole match day came.
TEST_F(MatchDayDownloadTest, EveryAnswerAServerCanGive) {
    using std::chrono::milliseconds;
    const DownloadTimeLimits bounded{milliseconds(3000), milliseconds(4000)};
    const DownloadTimeLimits dripping{milliseconds(3000), milliseconds(1500)};
    const DownloadTimeLimits silent{milliseconds(500), milliseconds(4000)};
    const DownloadTimeLimits paced{milliseconds(3000), milliseconds(4000), milliseconds(1000), 1024};
    const QByteArray html = "<!DOCTYPE html><html><head><title>Fehler</title></head><body>" + QByteArray(2400, 'x') +
                            "</body></html>";
    const QString hostile = testServer().hostile;
    const struct {
        const char* name;
        QString base;      // the server's address for this case, before the site's name
        QByteArray file;   // served as the match day of 27.01.2024; none when empty
        DownloadFailure failure;
        QString message;   // empty: stored
        DownloadTimeLimits limits;
        bool future = false;
        bool installer = false;  // the update's installer instead of the match day
    } cases[] = {
        {"a match day", testServer().server, matchDay(27), DownloadFailure::None, QString(), bounded},
        {"three redirects", testServer().server + "/chain3", matchDay(27), DownloadFailure::None, QString(), bounded},
        {"interim answers first", hostile + "/interim", matchDay(27), DownloadFailure::None, QString(), bounded},
        {"in chunks", hostile + "/chunked", matchDay(27), DownloadFailure::None, QString(), bounded},
        {"an HTML page with 200", testServer().server, html, DownloadFailure::Implausible, kPastText, bounded},
        {"another week's match day", testServer().server, matchDay(13), DownloadFailure::Implausible, kPastText,
         bounded},
        {"a negative length", hostile + "/negative-length", matchDay(27), DownloadFailure::Malformed, kPastText,
         bounded},
        {"a length beyond the body", hostile + "/longer-length", matchDay(27), DownloadFailure::Network, kPastText,
         bounded},
        {"a length short of a record", hostile + "/shorter-length", matchDay(27), DownloadFailure::TooShort,
         kPastText, bounded},
        {"dropped without an answer", testServer().server + "/drop", matchDay(27), DownloadFailure::Network,
         kPastText, bounded},
        {"404 for a day to come", testServer().server, QByteArray(), DownloadFailure::Status, kFutureText, bounded,
         true},
        {"410", testServer().server + "/gone", matchDay(27), DownloadFailure::Status, kPastText, bounded},
        {"503", testServer().server + "/unavailable", matchDay(27), DownloadFailure::Status,
         QStringLiteral("Der Server hat statt des Spieltags einen Fehler gemeldet (HTTP 503).") + kNothingStored,
         bounded},
        {"larger than 64 KB", testServer().server, QByteArray(64 * 1024 + 1, 'x'), DownloadFailure::TooLarge,
         kTooLargeText, bounded},
        {"endless headers", hostile + "/endless-headers", matchDay(27), DownloadFailure::TooLarge, kTooLargeText,
         bounded},
        {"six redirects", testServer().server + "/chain6", matchDay(27), DownloadFailure::Redirects, kRedirectText,
         bounded},
        {"a redirect in a circle", testServer().server + "/circle", matchDay(27), DownloadFailure::Redirects,
         kRedirectText, bounded},
        {"a redirect to http", testServer().server + "/to-http", matchDay(27), DownloadFailure::Insecure,
         kRedirectText, bounded},
        {"a body that drips", testServer().server + "/slow", matchDay(27), DownloadFailure::TooSlow, kTooSlowText,
         dripping},
        {"headers that drip", hostile + "/dripping-headers", matchDay(27), DownloadFailure::TooSlow, kTooSlowText,
         dripping},
        {"silence", testServer().server + "/slow", matchDay(27), DownloadFailure::Stalled, kTooSlowText, silent},
        {"a certificate for another host", testServer().wrongHost, matchDay(27), DownloadFailure::Certificate,
         kUnverifiedText, bounded},
        {"an installer below its pace", testServer().server + "/paced", QByteArray(100 * 1024, 'u'),
         DownloadFailure::TooSlow, kInstallerText, paced, false, true},
    };
    QDir().mkpath(appPaths().MatchDayFolder);
    const QString matchDayFile = stored(QStringLiteral("27012024.sptag"));
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case a site of its own below this test's.
        const QString prefix = QStringLiteral("/%1").arg(++n);
        if (!c.file.isEmpty()) {
            serve(prefix + QStringLiteral("/downloads/spieltage/27012024.sptag"), c.file);
            serve(prefix + QString::fromLatin1(kInstallerPath), c.file);
        }
        qputenv("KORBISTO_SERVER", (siteOn(c.base) + prefix).toUtf8());
        const QString file = c.installer ? installerFilePath() : matchDayFile;
        writeBytes(file, kOld);
        setDownloadTimeLimits(c.limits);
        QElapsedTimer clock;
        clock.start();
        DownloadResult result;
        QString message;
        if (c.installer) {
            result = waitFor<DownloadResult>([](QObject* parent, auto done) { DownloadInstaller(parent, done); })
                         .value_or(DownloadResult{});
            if (!result.ok()) message = installerFailedMessage(result, QStringLiteral("S"));
        } else {
            const MatchDayResult r = download(QDate(2024, 1, 27), c.future);
            result = r.download;
            message = matchDayMessage(r);
        }
        const std::chrono::milliseconds deadline = c.limits.paceWindow < c.limits.whole && c.installer
                                                       ? c.limits.paceWindow
                                                       : std::min(c.limits.whole, c.limits.stall);
        EXPECT_LT(clock.elapsed(), deadline.count() + 3000);
        EXPECT_EQ(result.failure, c.failure) << result.detail.toStdString();
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(readBytes(file), c.message.isEmpty() ? c.file : kOld);
    }
}

TEST_F(MatchDayDownloadTest, OfflineNothingIsAsked) {
    serve(QStringLiteral("/downloads/spieltage/27012024.sptag"), matchDay(27));
    online.setOnline(false);
    const MatchDayResult r = download(QDate(2024, 1, 27), false);
    EXPECT_EQ(r.outcome, MatchDayOutcome::Offline);
    EXPECT_EQ(matchDayMessage(r), kOfflineText);
    EXPECT_FALSE(QFileInfo::exists(stored(QStringLiteral("27012024.sptag"))));
}

TEST_F(MatchDayDownloadTest, AFolderThatCannotBeMadeShowsNothing) {
    serve(QStringLiteral("/downloads/spieltage/27012024.sptag"), matchDay(27));
    // A file where the match-day folder belongs.
    QDir().mkpath(appPaths().DataFolder);
    QString folderPath = appPaths().MatchDayFolder;
    folderPath.chop(1);
    writeBytes(folderPath, "no folder");
    const MatchDayResult r = download(QDate(2024, 1, 27), true);
    EXPECT_EQ(r.outcome, MatchDayOutcome::WriteFailed);
    EXPECT_EQ(matchDayMessage(r), QString());
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
        {"control characters: no text", "12\x07" "3,\t4\x1b[5\x7f" "6\n", QString()},
        {"a direction override dropped", "\xe2\x80\xae" "12,34\n", QStringLiteral("12,34")},
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
    EXPECT_EQ(today.err, kPastText + QStringLiteral("\nstatus: HTTP status 404\n"));
    EXPECT_EQ(today.out, QString());
    const CliResult ahead = runCli({"download-matchday", "03.02.2024", "--now", "02.02.2024T23:59"});
    EXPECT_EQ(ahead.exitCode, 1);
    EXPECT_EQ(ahead.err, kFutureText + QStringLiteral("\nstatus: HTTP status 404\n"));

    writeBytes(appPaths().MatchDayFolder + QStringLiteral("20012024.sptag"), matchDay(13));
    const CliResult shortOne = runCli({"download-matchday", "20.01.2024", "--now", "28.01.2024T10:00"});
    EXPECT_EQ(shortOne.exitCode, 1);
    EXPECT_EQ(shortOne.err, kPastText + QStringLiteral("\ntoo-short: announced 4 bytes\n"));
    EXPECT_EQ(readBytes(appPaths().MatchDayFolder + QStringLiteral("20012024.sptag")), matchDay(13));

    // Only the window's Saturdays: not a Thursday, not one before the first
    // match day or after the coming one, not a day that does not exist.
    for (const char* day : {"29.02.2024", "06.03.2021", "10.02.2024", "31.02.2024"}) {
        const CliResult refused = runCli({"download-matchday", day, "--now", "28.01.2024T10:00"});
        EXPECT_EQ(refused.exitCode, 2) << day;
        EXPECT_TRUE(refused.err.startsWith(QStringLiteral("„%1“ ist keiner der Samstage").arg(QString::fromLatin1(day))))
            << refused.err.toStdString();
    }
    EXPECT_EQ(runCli({"download-matchday"}).exitCode, 2);
}

TEST_F(MatchDayDownloadTest, TheToolPrintsTheDonationStatus) {
    serve(QString::fromLatin1(kDonationStatusPath), "123,45\r\nzweite Zeile\r\n");
    const CliResult r = runCli({"donation-status"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("123,45\n"));
    qputenv("KORBISTO_SERVER", (site() + QStringLiteral("/elsewhere")).toUtf8());
    const CliResult none = runCli({"donation-status"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, QString());
    EXPECT_EQ(none.err, QStringLiteral("Der Stand der Wachmacher ist nicht abzurufen.\nstatus: HTTP status 404\n"));
}
