#include "download.h"

#include "server.h"

#include "core/error.h"
#include "core/paths.h"
#include "files/binary_io.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QTimer>

#include <utility>

#ifdef _WIN32
#include <QFile>
#include <QFileInfo>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korbisto {

namespace {

std::chrono::milliseconds& stallLimit() {
    static std::chrono::milliseconds limit{30000};
    return limit;
}

bool isHttps(const QUrl& url) { return url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0; }

QNetworkRequest requestFor(const QUrl& url) {
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromLatin1(ProgramName));
    // Qt would unpack a compressed answer unasked, past any size we check.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates(trustedCertificates());
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    request.setSslConfiguration(tls);
    return request;
}

}  // namespace

std::chrono::milliseconds downloadStallLimit() { return stallLimit(); }

void setDownloadStallLimit(std::chrono::milliseconds limit) { stallLimit() = limit; }

Download::Download(const QUrl& url, const QString& target, DownloadLimits limits, QObject* parent)
    : QObject(parent),
      url_(url),
      target_(target),
      limits_(limits),
      network_(new QNetworkAccessManager(this)),
      stall_(new QTimer(this)) {
    stall_->setSingleShot(true);
    connect(stall_, &QTimer::timeout, this, [this] {
        fail(DownloadFailure::Stalled, QStringLiteral("nothing received for %1 ms").arg(stall_->interval()));
    });
}

Download::~Download() { cancel(); }

void Download::start() {
    if (running() || refused_) return;
    result_ = DownloadResult();
    if (!isHttps(url_) || !url_.isValid()) {
        // Reported from the event loop as every other result is.
        refused_ = true;
        QTimer::singleShot(0, this, [this] {
            if (!std::exchange(refused_, false)) return;  // cancelled
            report({DownloadFailure::Insecure, 0, 0, QStringLiteral("not an HTTPS address: ") + url_.toString()});
        });
        return;
    }
    reply_ = network_->get(requestFor(url_));
    reply_->setReadBufferSize(64 * 1024);
    connect(reply_, &QNetworkReply::readyRead, this, &Download::receive);
    connect(reply_, &QNetworkReply::finished, this, &Download::complete);
    connect(reply_, &QNetworkReply::redirected, this, &Download::redirected);
    connect(reply_, &QNetworkReply::metaDataChanged, this, [this] {
        stall_->start();
        const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
        if (accepted() && length.isValid() && length.toLongLong() > limits_.most)
            fail(DownloadFailure::TooLarge, QStringLiteral("announced %1 bytes").arg(length.toLongLong()));
    });
    stall_->start(downloadStallLimit());
}

void Download::cancel() {
    refused_ = false;
    stall_->stop();
    file_.reset();
    if (!reply_) return;
    QNetworkReply* reply = std::exchange(reply_, nullptr);
    reply->disconnect(this);
    // Not inside one of the reply's own signals, where Qt would end it twice.
    QTimer::singleShot(0, reply, [reply] {
        reply->abort();
        reply->deleteLater();
    });
}

bool Download::accepted() {
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result_.httpStatus = status;
    return status >= 200 && status <= 299;
}

void Download::redirected(const QUrl& url) {
    if (isHttps(url)) {
        stall_->start();
        emit reply_->redirectAllowed();
    } else {
        fail(DownloadFailure::Insecure, QStringLiteral("redirect to ") + url.toString());
    }
}

void Download::receive() {
    stall_->start();
    if (!accepted()) {
        fail(DownloadFailure::Status, QStringLiteral("HTTP status %1").arg(result_.httpStatus));
        return;
    }
    const QByteArray data = reply_->readAll();
    if (data.isEmpty()) return;
    if (result_.bytes + data.size() > limits_.most) {
        fail(DownloadFailure::TooLarge, QStringLiteral("more than %1 bytes").arg(limits_.most));
        return;
    }
    result_.bytes += data.size();
    try {
        // Opened with the first accepted bytes, so that an answer that never
        // comes is reported as such before a folder that cannot be written.
        if (!file_) file_ = std::make_unique<AtomicFile>(target_);
        file_->write(data);
    } catch (const KorbistoError& e) {
        fail(DownloadFailure::Write, e.message());
        return;
    }
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    emit progress(result_.bytes, length.isValid() ? length.toLongLong() : -1);
}

void Download::complete() {
    const QNetworkReply::NetworkError error = reply_->error();
    if (error != QNetworkReply::NoError) {
        const bool http = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid() && !accepted();
        DownloadFailure failure = DownloadFailure::Network;
        if (error == QNetworkReply::SslHandshakeFailedError) failure = DownloadFailure::Certificate;
        else if (error == QNetworkReply::InsecureRedirectError || error == QNetworkReply::ProtocolUnknownError)
            failure = DownloadFailure::Insecure;
        else if (http) failure = DownloadFailure::Status;
        fail(failure, reply_->errorString());
        return;
    }
    receive();
    if (!reply_) return;  // receive() failed
    if (result_.bytes < limits_.least) {
        fail(DownloadFailure::TooShort, QStringLiteral("%1 bytes").arg(result_.bytes));
        return;
    }
    try {
        file_->commit();
    } catch (const KorbistoError& e) {
        fail(DownloadFailure::Write, e.message());
        return;
    }
    cancel();
    report(result_);
}

void Download::fail(DownloadFailure failure, const QString& detail) {
    result_.failure = failure;
    result_.detail = detail;
    cancel();
    report(result_);
}

void Download::report(DownloadResult result) {
    // A receiver may delete this download; nothing follows the signal.
    emit finished(result);
}

Download* DownloadFile(const QUrl& url, const QString& target, DownloadLimits limits, QObject* parent) {
    auto* download = new Download(url, target, limits, parent);
    download->start();
    return download;
}

Download* DownloadAnew(const char* serverPath, const QString& target, DownloadLimits limits, QObject* parent) {
    if (FileSizeOf(target) >= 0) ShellDeleteFile(target);
    ClearUrlCache();
    return DownloadFile(serverUrl(QString::fromLatin1(serverPath)), target, limits, parent);
}

qint64 FileSizeOf(const QString& path) {
#ifdef _WIN32
    const QFileInfo info(path);
    return info.exists() ? info.size() : -1;
#else
    struct stat st {};
    if (::stat(encodeFileName(path).constData(), &st) != 0) return -1;
    return static_cast<qint64>(st.st_size);
#endif
}

bool ShellDeleteFile(const QString& path) {
#ifdef _WIN32
    return QFile::remove(path);
#else
    return ::unlink(encodeFileName(path).constData()) == 0;
#endif
}

}  // namespace korbisto
