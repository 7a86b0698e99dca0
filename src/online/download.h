#pragma once

#include "files/match_day_file.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <memory>

class QSslSocket;
class QTimer;

namespace korbisto {

class AtomicFile;

// Sizes an answer must have to count as the file, and how its time is
// bounded: a small file has one deadline for the whole, an installer a
// least pace.
struct DownloadLimits {
    qint64 least;
    qint64 most;  // a larger answer is cut off and fails
    bool paced = false;
};

inline constexpr DownloadLimits kSmallFileLimits{4, 64 * 1024};  // version and status files
inline constexpr DownloadLimits kMatchDayLimits{TSpieltag::kSize, 64 * 1024};  // at least one whole record
inline constexpr DownloadLimits kInstallerLimits{4, 512LL * 1024 * 1024, true};

// Status line and header lines of one answer, interim answers included.
inline constexpr qint64 kMaxHeaderBytes = 64 * 1024;
inline constexpr int kMaxRedirects = 5;

// How long a download may take; tests shorten them.
struct DownloadTimeLimits {
    std::chrono::milliseconds stall{30000};       // without a single byte
    std::chrono::milliseconds whole{60000};       // a small file, from the request to its last byte
    std::chrono::milliseconds paceWindow{60000};  // a paced download receives at least
    qint64 leastPace = 1024;                      // this many bytes a second in every such window
};
DownloadTimeLimits downloadTimeLimits();
void setDownloadTimeLimits(const DownloadTimeLimits& limits);

enum class DownloadFailure {
    None,
    Offline,      // the system reports no connection; nothing was asked
    Network,      // no connection, unknown host, refused, dropped or cut short
    Certificate,  // TLS could not be verified
    Insecure,     // the address or a redirect is not HTTPS
    Redirects,    // more than kMaxRedirects, or in a circle
    Status,       // no 2xx answer
    Malformed,    // not an HTTP answer we can read whole, such as a length that is no number
    TooShort,
    TooLarge,     // the body, or the headers
    Implausible,  // whole, but not a file of its kind
    Stalled,      // nothing came for too long
    TooSlow,      // not whole within its time, or below its pace
    Write,        // the target could not be written
};

// A short English name of the failure for a command line's second line.
QString failureName(DownloadFailure failure);

struct DownloadResult {
    DownloadFailure failure = DownloadFailure::None;
    int httpStatus = 0;
    qint64 bytes = 0;  // of the body, received
    QString detail;    // for a command line, never for a message box
    QByteArray data;   // the body, for a download into memory

    bool ok() const { return failure == DownloadFailure::None; }
    // 404 or 410: the server says there is no such file.
    bool notThere() const { return failure == DownloadFailure::Status && (httpStatus == 404 || httpStatus == 410); }
};

// A whole answer counts only when `problemOf` finds nothing wrong with it;
// otherwise it is implausible, and the problem is its detail.
void checkAnswer(DownloadResult& result, const std::function<QString(const QByteArray&)>& problemOf);

// The message for a server whose certificate does not verify.
QString unverifiedServerMessage();

// One HTTPS GET of a whole file, into memory or into `target`. Nothing
// blocks. The end comes once through finished(), from the event loop after
// the connection has been let go, never from inside a network signal: a
// receiver may open a modal box or delete the download there. A target is
// replaced only by a complete answer; every failure leaves it as it was.
class Download : public QObject {
    Q_OBJECT

public:
    // An empty target keeps the body in memory (DownloadResult::data).
    Download(const QUrl& url, DownloadLimits limits, const QString& target = QString(), QObject* parent = nullptr);
    ~Download() override;  // as cancel()

    void start();
    // Stops without reporting; the target stays as it was.
    void cancel();
    // From start() until finished() or cancel().
    bool running() const { return running_ || reporting_; }

signals:
    void finished(const korbisto::DownloadResult& result);
    // The body's bytes so far and the size the server announced, -1 when it
    // announced none.
    void progress(qint64 received, qint64 total);

private:
    enum class Phase { Head, Body, ChunkSize, ChunkData, ChunkEnd, Trailer };

    void request(const QUrl& url);
    void send();
    void receive();
    void take();
    bool takeHeadLine(QByteArray& line);
    bool headLine(const QByteArray& line);
    void headDone();
    void redirect();
    bool chunkSize(const QByteArray& line);
    bool deliver(qint64 size);
    void closed();
    void socketFailed();
    void succeed();
    void fail(DownloadFailure failure, const QString& detail);
    void end();
    void letGoOfSocket();
    void checkPace();

    const QUrl origin_;
    QUrl url_;  // the current one, after redirects
    DownloadLimits limits_;
    QString target_;
    bool running_ = false;
    bool reporting_ = false;  // ended, the report queued
    quint64 generation_ = 0;  // a report queued for an older run is dropped
    QSslSocket* socket_ = nullptr;
    QTimer* stall_;
    QTimer* whole_;
    QTimer* pace_;
    qint64 pacedBytes_ = 0;  // since the last pace check
    QSet<QUrl> visited_;
    QString unverified_;  // why the certificate failed
    // The answer being read.
    Phase phase_ = Phase::Head;
    QByteArray pending_;  // read, not yet taken apart
    qint64 headBytes_ = 0;
    bool statusSeen_ = false;
    QList<QPair<QByteArray, QByteArray>> headers_;  // names in lower case
    qint64 remaining_ = -1;  // of the body or the chunk; -1 until the connection closes
    qint64 announced_ = -1;
    std::unique_ptr<AtomicFile> file_;
    DownloadResult result_;
};

// DownloadFile: starts the download; the result comes by finished().
Download* DownloadFile(const QUrl& url, DownloadLimits limits, const QString& target, QObject* parent);

// The file's size in bytes, or -1 when nothing is there.
qint64 FileSizeOf(const QString& path);
// Removes a file for good; false when that fails or nothing was there.
bool ShellDeleteFile(const QString& path);
// Downloads neither read nor fill a cache, so there is nothing to clear.
inline void ClearUrlCache() {}

}  // namespace korbisto
