#pragma once

#include "support/test_env.h"

#include "online/connectivity.h"
#include "online/download.h"

#include <QByteArray>
#include <QEventLoop>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>

namespace korbisto {
inline void PrintTo(DownloadFailure failure, std::ostream* os) {
    *os << failureName(failure).toStdString();
}
}  // namespace korbisto

namespace korbisto::test {

// The nginx the CTest fixture started: its addresses and its CA.
struct TestServer {
    QString server;     // https://127.0.0.1:PORT
    QString localhost;  // the same as https://localhost:PORT
    QString wrongHost;  // a certificate for another host
    QString caFile;
    QString root;       // its documents
    QString hostile;    // the hostile server: https://127.0.0.1:PORT/CASE/ + a path below root
};
const TestServer& testServer();

// A site of its own below the fixture's server root, which KORBISTO_SERVER
// names while it lives, with TMPDIR a private stand-in for the shared temp
// folder inside the test's `folder`. Download time limits are back to their
// defaults afterwards.
class OnlineSite {
public:
    explicit OnlineSite(TempDataFolder& folder);
    ~OnlineSite();
    OnlineSite(const OnlineSite&) = delete;
    OnlineSite& operator=(const OnlineSite&) = delete;

    // Puts a file at `path` ("/downloads/...") of this site.
    void serve(const QString& path, const QByteArray& bytes);
    // The site, under another of the server's locations ("/slow").
    QString site(const QString& location = QString()) const;
    QString siteOn(const QString& base) const;
    // The private stand-in for /tmp.
    const QString& tempFolder() const { return tempFolder_; }

private:
    QString name_;
    QString tempFolder_;
    QByteArray oldTmpdir_;
};

// A test against the fixture's nginx with a site of its own and its own
// data and temp folders, online unless told otherwise.
class OnlineTest : public ::testing::Test {
protected:
    void serve(const QString& path, const QByteArray& bytes) { site_.serve(path, bytes); }
    QString site(const QString& location = QString()) const { return site_.site(location); }
    QString siteOn(const QString& base) const { return site_.siteOn(base); }

    // Waits for what `start` begins, failing rather than hanging.
    template <typename Result, typename Start>
    std::optional<Result> waitFor(Start start, int seconds = 30) {
        QEventLoop loop;
        std::optional<Result> result;
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        start(&loop, [&](Result r) {
            result = r;
            loop.quit();
        });
        if (!result) loop.exec();
        if (!result) ADD_FAILURE() << "no result within " << seconds << " s";
        return result;
    }
    // A download into `target`, or into memory when it is empty.
    DownloadResult fetch(const QString& url, const QString& target, DownloadLimits limits = kSmallFileLimits);

    TempDataFolder folder;
    ForcedConnectivity online{true};

private:
    OnlineSite site_{folder};
};

}  // namespace korbisto::test
