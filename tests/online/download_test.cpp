#include "online_support.h"

#include "core/paths.h"
#include "files/settings_file.h"
#include "online/server.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

using namespace korbisto;
using namespace korbisto::test;

namespace {

const QByteArray kOld = QByteArrayLiteral("the file as it was before\n");

// What is in the folder besides nothing: a failed download leaves no temporary file behind.
QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

class DownloadFileTest : public OnlineTest {
protected:
    QString target() const { return folder.path(QStringLiteral("target.txt")); }
};

}  // namespace

TEST_F(DownloadFileTest, FourBytesAreAFileThreeAreNot) {
    serve(QStringLiteral("/downloads/three.txt"), "abc");
    serve(QStringLiteral("/downloads/four.txt"), "abcd");
    writeBytes(target(), kOld);
    const DownloadResult three = fetch(site() + QStringLiteral("/downloads/three.txt"), target());
    EXPECT_EQ(three.failure, DownloadFailure::TooShort);
    EXPECT_EQ(readBytes(target()), kOld);

    const DownloadResult four = fetch(site() + QStringLiteral("/downloads/four.txt"), target());
    EXPECT_TRUE(four.ok()) << four.detail.toStdString();
    EXPECT_EQ(four.httpStatus, 200);
    EXPECT_EQ(readBytes(target()), "abcd");
    EXPECT_EQ(entries(folder.root()).filter(QStringLiteral("target")), QStringList{QStringLiteral("target.txt")});
}

// What only a download into a file must show; every other answer a server
// can give is in the match-day download's table.
TEST_F(DownloadFileTest, AFailureIntoAFileLeavesTheOldTargetAndNoTemporaryFile) {
    serve(QStringLiteral("/downloads/big.bin"), QByteArray(64 * 1024 + 1, 'x'));
    serve(QStringLiteral("/downloads/slow.bin"), QByteArray(4000, 's'));
    const struct {
        const char* name;
        QString url;
        DownloadFailure failure;
        DownloadTimeLimits limits;
    } cases[] = {
        {"404 with a body", site() + QStringLiteral("/downloads/missing.txt"), DownloadFailure::Status, {}},
        {"too large without a length", site(QStringLiteral("/unannounced")) + QStringLiteral("/downloads/big.bin"),
         DownloadFailure::TooLarge, {}},
        {"stalled after 500 bytes", site(QStringLiteral("/slow")) + QStringLiteral("/downloads/slow.bin"),
         DownloadFailure::Stalled, {std::chrono::milliseconds(500)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(target(), kOld);
        setDownloadTimeLimits(c.limits);
        const DownloadResult r = fetch(c.url, target());
        EXPECT_EQ(r.failure, c.failure) << r.detail.toStdString();
        EXPECT_EQ(readBytes(target()), kOld);
        EXPECT_EQ(entries(folder.root()).filter(QStringLiteral("target")), QStringList{QStringLiteral("target.txt")});
    }
}

TEST_F(DownloadFileTest, TheServerSeesTheProgramsName) {
    // The fixture refuses /agent/ to any other user agent.
    serve(QStringLiteral("/downloads/four.txt"), "abcd");
    const DownloadResult r = fetch(site(QStringLiteral("/agent")) + QStringLiteral("/downloads/four.txt"), target());
    EXPECT_TRUE(r.ok()) << r.detail.toStdString() << " status " << r.httpStatus;
}

TEST_F(DownloadFileTest, TheCaComesFromTheSettingsBeforeTheEnvironment) {
    serve(QStringLiteral("/downloads/four.txt"), "abcd");
    const QString url = site() + QStringLiteral("/downloads/four.txt");
    qunsetenv("KORBISTO_CA_FILE");
    EXPECT_EQ(fetch(url, target()).failure, DownloadFailure::Certificate) << "trusted without the test CA";
    QDir().mkpath(appPaths().SettingsFolder);
    settings::writeString("Server", QStringLiteral("CA"), testServer().caFile);
    qputenv("KORBISTO_CA_FILE", folder.path(QStringLiteral("no-such-ca.pem")).toUtf8());
    EXPECT_TRUE(fetch(url, target()).ok());
}

TEST_F(DownloadFileTest, TheServerAddressComesFromSettingsThenEnvironmentThenTheMaker) {
    qunsetenv("KORBISTO_SERVER");
    EXPECT_EQ(serverAddress(), QString::fromLatin1(kMakerServer));
    qputenv("KORBISTO_SERVER", "https://127.0.0.1:8443/base/");
    EXPECT_EQ(serverUrl(QString::fromLatin1(kDonationStatusPath)),
              QUrl(QStringLiteral("https://127.0.0.1:8443/base/downloads/wach13.txt")));
    QDir().mkpath(appPaths().SettingsFolder);
    settings::writeString("Server", QStringLiteral("Adresse"), QStringLiteral("https://127.0.0.1:9"));
    EXPECT_EQ(serverUrl(QStringLiteral("/downloads/verinfos.krvi")),
              QUrl(QStringLiteral("https://127.0.0.1:9/downloads/verinfos.krvi")));
}

TEST_F(DownloadFileTest, AnUnwritableTargetIsAWriteFailure) {
    serve(QStringLiteral("/downloads/four.txt"), "abcd");
    const DownloadResult r =
        fetch(site() + QStringLiteral("/downloads/four.txt"), folder.path(QStringLiteral("missing/target.txt")));
    EXPECT_EQ(r.failure, DownloadFailure::Write);
    EXPECT_FALSE(QFile::exists(folder.path(QStringLiteral("missing"))));
}

TEST_F(DownloadFileTest, ACancelledDownloadReportsNothingAndKeepsTheTarget) {
    serve(QStringLiteral("/downloads/slow.bin"), QByteArray(4000, 's'));
    writeBytes(target(), kOld);
    QEventLoop loop;
    int reports = 0;
    Download* download = DownloadFile(QUrl(site(QStringLiteral("/slow")) + QStringLiteral("/downloads/slow.bin")),
                                      kSmallFileLimits, target(), &loop);
    QObject::connect(download, &Download::finished, &loop, [&] { ++reports; });
    QTimer::singleShot(800, &loop, [&] {
        EXPECT_TRUE(download->running());
        download->cancel();
    });
    QTimer::singleShot(1600, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(reports, 0);
    EXPECT_FALSE(download->running());
    EXPECT_EQ(readBytes(target()), kOld);
    EXPECT_EQ(entries(folder.root()).filter(QStringLiteral("target")), QStringList{QStringLiteral("target.txt")});
}

TEST(FileHelpers, SizesAndRemoval) {
    TempDataFolder folder;
    const QString empty = folder.path(QStringLiteral("empty"));
    const QString large = folder.path(QStringLiteral("large"));
    writeBytes(empty, {});
    EXPECT_EQ(FileSizeOf(folder.path(QStringLiteral("missing"))), -1);
    EXPECT_EQ(FileSizeOf(empty), 0);
    // Sparse, so that it costs no space.
    const int fd = ::open(QFile::encodeName(large).constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 5LL << 30), 0);
    ::close(fd);
    EXPECT_EQ(FileSizeOf(large), 5LL << 30);

    EXPECT_FALSE(ShellDeleteFile(folder.path(QStringLiteral("missing"))));
    EXPECT_TRUE(ShellDeleteFile(large));
    EXPECT_EQ(FileSizeOf(large), -1);
}
