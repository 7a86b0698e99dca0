#pragma once

#include "files/match_day_file.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace korbisto {

class AtomicFile;

// Sizes an answer must have to count as the file.
struct DownloadLimits {
    qint64 least;
    qint64 most;  // a larger answer is cut off and fails
};

inline constexpr DownloadLimits kSmallFileLimits{4, 64 * 1024};  // version and status files
inline constexpr DownloadLimits kMatchDayLimits{TSpieltag::kSize, 64 * 1024};  // at least one whole record
inline constexpr DownloadLimits kInstallerLimits{4, 512LL * 1024 * 1024};

enum class DownloadFailure {
    None,
    Network,      // no connection, unknown host, refused or dropped
    Certificate,  // TLS could not be verified
    Insecure,     // the address or a redirect is not HTTPS
    Status,       // no 2xx answer
    TooShort,
    TooLarge,
    Stalled,      // nothing came for too long
    Write,        // the target could not be written
};

struct DownloadResult {
    DownloadFailure failure = DownloadFailure::None;
    int httpStatus = 0;
    qint64 bytes = 0;  // received
    QString detail;    // for a log or a command line, never for a message box

    bool ok() const { return failure == DownloadFailure::None; }
};

// One HTTPS GET of a whole file into `target`. Nothing blocks: the result
// comes once through finished(). The target is replaced only by a complete,
// accepted answer; every failure leaves it as it was.
class Download : public QObject {
    Q_OBJECT

public:
    Download(const QUrl& url, const QString& target, DownloadLimits limits, QObject* parent = nullptr);
    ~Download() override;  // as cancel()

    void start();
    // Stops a running download without reporting it; the target stays as it was.
    void cancel();
    bool running() const { return reply_ != nullptr; }

signals:
    void finished(const korbisto::DownloadResult& result);
    // The bytes accepted so far and the size the server announced, -1 when
    // it announced none.
    void progress(qint64 received, qint64 total);

private:
    void receive();
    void redirected(const QUrl& url);
    void complete();
    void fail(DownloadFailure failure, const QString& detail);
    void report(DownloadResult result);
    bool accepted();

    QUrl url_;
    QString target_;
    DownloadLimits limits_;
    QNetworkAccessManager* network_;
    QNetworkReply* reply_ = nullptr;
    QTimer* stall_;
    std::unique_ptr<AtomicFile> file_;
    DownloadResult result_;
    bool refused_ = false;  // not an HTTPS address; reported from the event loop
};

// A download that receives nothing for this long fails; 30 s unless set.
std::chrono::milliseconds downloadStallLimit();
void setDownloadStallLimit(std::chrono::milliseconds limit);

// DownloadFile: starts the download; the result comes by finished().
Download* DownloadFile(const QUrl& url, const QString& target, DownloadLimits limits, QObject* parent);

// The server's file at `serverPath` into `target`, the old copy removed
// first, so that a failed fetch never leaves it to be read as the answer.
Download* DownloadAnew(const char* serverPath, const QString& target, DownloadLimits limits, QObject* parent);

// The file's size in bytes, or -1 when nothing is there.
qint64 FileSizeOf(const QString& path);
// Removes a file for good; false when that fails or nothing was there.
bool ShellDeleteFile(const QString& path);
// Downloads neither read nor fill a cache, so there is nothing to clear.
inline void ClearUrlCache() {}

}  // namespace korbisto
