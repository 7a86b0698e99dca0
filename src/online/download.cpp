#include "download.h"

#include "server.h"

#include "core/error.h"
#include "core/paths.h"
#include "files/binary_io.h"

#include <QSslConfiguration>
#include <QSslSocket>
#include <QTimer>

#include <algorithm>
#include <utility>

#ifdef _WIN32
#include <QFile>
#include <QFileInfo>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

// The download speaks HTTP/1.1 itself over a TLS socket: Qt's network
// access manager keeps any amount of header lines in memory and cannot be
// bounded by the caller.

namespace korbisto {

namespace {

constexpr qint64 kMaxChunkLine = 1024;

DownloadTimeLimits& timeLimits() {
    static DownloadTimeLimits limits;
    return limits;
}

bool isHttps(const QUrl& url) { return url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0; }

// At most 40 characters of what a server sent.
QString quoted(const QByteArray& bytes) {
    QString text = QString::fromLatin1(bytes.left(40));
    if (bytes.size() > 40) text += QStringLiteral("…");
    return text;
}

QByteArray requestFor(const QUrl& url) {
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty()) target = "/";
    if (url.hasQuery()) target += '?' + url.query(QUrl::FullyEncoded).toLatin1();
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':')) host = '[' + host + ']';
    if (url.port() != -1 && url.port() != 443) host += ':' + QByteArray::number(url.port());
    return "GET " + target + " HTTP/1.1\r\nHost: " + host + "\r\nUser-Agent: " + ProgramName +
           "\r\nAccept: */*\r\nAccept-Encoding: identity\r\nConnection: close\r\n\r\n";
}

// "HTTP/1.1 200 OK" -> 200; 0 for anything else.
int statusOf(const QByteArray& line) {
    if (line.size() < 12 || !line.startsWith("HTTP/1.") || line[8] != ' ') return 0;
    if (line.size() > 12 && line[12] != ' ') return 0;
    int status = 0;
    for (int i = 9; i < 12; ++i) {
        if (line[i] < '0' || line[i] > '9') return 0;
        status = status * 10 + (line[i] - '0');
    }
    return status >= 100 ? status : 0;
}

bool isToken(const QByteArray& name) {
    return !name.isEmpty() && std::all_of(name.begin(), name.end(), [](char c) {
        return c > ' ' && c < 127 && !QByteArrayView("()<>@,;:\\\"/[]?={}").contains(c);
    });
}

// A decimal length of up to 18 digits; -1 for anything else.
qint64 lengthOf(const QByteArray& text) {
    const QByteArray digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 18) return -1;
    qint64 value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

DownloadTimeLimits downloadTimeLimits() { return timeLimits(); }

void setDownloadTimeLimits(const DownloadTimeLimits& limits) { timeLimits() = limits; }

QString failureName(DownloadFailure failure) {
    switch (failure) {
    case DownloadFailure::None: return QStringLiteral("none");
    case DownloadFailure::Offline: return QStringLiteral("offline");
    case DownloadFailure::Network: return QStringLiteral("network");
    case DownloadFailure::Certificate: return QStringLiteral("certificate");
    case DownloadFailure::Insecure: return QStringLiteral("insecure");
    case DownloadFailure::Redirects: return QStringLiteral("redirects");
    case DownloadFailure::Status: return QStringLiteral("status");
    case DownloadFailure::Malformed: return QStringLiteral("malformed");
    case DownloadFailure::TooShort: return QStringLiteral("too-short");
    case DownloadFailure::TooLarge: return QStringLiteral("too-large");
    case DownloadFailure::Implausible: return QStringLiteral("implausible");
    case DownloadFailure::Stalled: return QStringLiteral("stalled");
    case DownloadFailure::TooSlow: return QStringLiteral("too-slow");
    case DownloadFailure::Write: return QStringLiteral("write");
    }
    return QString();
}

void checkAnswer(DownloadResult& result, const std::function<QString(const QByteArray&)>& problemOf) {
    if (!result.ok()) return;
    result.detail = problemOf(result.data);
    if (!result.detail.isEmpty()) result.failure = DownloadFailure::Implausible;
}

QString unverifiedServerMessage() {
    return QStringLiteral("Der Server konnte nicht als echt bestätigt werden: Sein Zertifikat ist nicht "
                          "vertrauenswürdig. Es wurde nichts heruntergeladen.");
}

Download::Download(const QUrl& url, DownloadLimits limits, const QString& target, QObject* parent)
    : QObject(parent),
      origin_(url),
      url_(url),
      limits_(limits),
      target_(target),
      stall_(new QTimer(this)),
      whole_(new QTimer(this)),
      pace_(new QTimer(this)) {
    stall_->setSingleShot(true);
    whole_->setSingleShot(true);
    connect(stall_, &QTimer::timeout, this, [this] {
        fail(DownloadFailure::Stalled, QStringLiteral("nothing received for %1 ms").arg(stall_->interval()));
    });
    connect(whole_, &QTimer::timeout, this, [this] {
        fail(DownloadFailure::TooSlow, QStringLiteral("not whole within %1 ms").arg(whole_->interval()));
    });
    connect(pace_, &QTimer::timeout, this, &Download::checkPace);
}

Download::~Download() { cancel(); }

void Download::start() {
    if (running()) return;
    result_ = DownloadResult();
    visited_.clear();
    pacedBytes_ = 0;
    unverified_.clear();
    running_ = true;
    if (!origin_.isValid() || !isHttps(origin_) || origin_.host().isEmpty()) {
        fail(DownloadFailure::Insecure, QStringLiteral("not an HTTPS address: ") + quoted(origin_.toEncoded()));
        return;
    }
    const DownloadTimeLimits limits = timeLimits();
    stall_->setInterval(limits.stall);
    if (limits_.paced)
        pace_->start(limits.paceWindow);
    else
        whole_->start(limits.whole);
    request(origin_);
}

void Download::cancel() {
    ++generation_;
    running_ = false;
    reporting_ = false;
    letGoOfSocket();
    stall_->stop();
    whole_->stop();
    pace_->stop();
    file_.reset();
}

void Download::request(const QUrl& url) {
    url_ = url;
    visited_.insert(url);
    phase_ = Phase::Head;
    pending_.clear();
    headBytes_ = 0;
    statusSeen_ = false;
    headers_.clear();
    remaining_ = -1;
    announced_ = -1;
    // Without a parent: a receiver may delete this download inside one of
    // the socket's signals, and the socket must outlive that signal.
    socket_ = new QSslSocket;
    socket_->setReadBufferSize(64 * 1024);
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates(trustedCertificates());
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    socket_->setSslConfiguration(tls);
    connect(socket_, &QSslSocket::encrypted, this, &Download::send);
    connect(socket_, &QSslSocket::readyRead, this, &Download::receive);
    connect(socket_, &QSslSocket::disconnected, this, &Download::closed);
    connect(socket_, &QSslSocket::errorOccurred, this, &Download::socketFailed);
    connect(socket_, &QSslSocket::sslErrors, this, [this](const QList<QSslError>& errors) {
        unverified_ = errors.isEmpty() ? QStringLiteral("certificate not verified") : errors.first().errorString();
    });
    stall_->start();
    socket_->connectToHostEncrypted(url.host(), static_cast<quint16>(url.port(443)));
}

void Download::send() {
    if (socket_) socket_->write(requestFor(url_));
}

void Download::receive() {
    if (!socket_) return;
    const QByteArray data = socket_->readAll();
    if (data.isEmpty()) return;
    stall_->start();
    pacedBytes_ += data.size();
    pending_ += data;
    take();
}

// Takes apart what has come, as far as it goes.
void Download::take() {
    const QSslSocket* socket = socket_;
    QByteArray line;
    // Each step either consumes something or returns; a redirect or the end
    // lets go of the socket.
    while (running_ && socket_ == socket) {
        switch (phase_) {
        case Phase::Head:
        case Phase::Trailer:
            if (!takeHeadLine(line) || !headLine(line)) return;
            break;
        case Phase::Body: {
            if (pending_.isEmpty()) return;
            const qint64 size = remaining_ < 0 ? pending_.size() : std::min<qint64>(remaining_, pending_.size());
            if (!deliver(size)) return;
            if (remaining_ > 0 && (remaining_ -= size) == 0) {
                succeed();
                return;
            }
            break;
        }
        case Phase::ChunkSize: {
            const qsizetype end = pending_.indexOf('\n');
            if ((end < 0 ? pending_.size() : end + 1) > kMaxChunkLine) {
                fail(DownloadFailure::Malformed, QStringLiteral("chunk size line too long"));
                return;
            }
            if (end < 0) return;
            line = pending_.left(end);
            pending_.remove(0, end + 1);
            if (!chunkSize(line)) return;
            break;
        }
        case Phase::ChunkData: {
            if (pending_.isEmpty()) return;
            const qint64 size = std::min<qint64>(remaining_, pending_.size());
            if (!deliver(size)) return;
            if ((remaining_ -= size) == 0) phase_ = Phase::ChunkEnd;
            break;
        }
        case Phase::ChunkEnd: {
            const qsizetype end = pending_.indexOf('\n');
            if (end < 0 && pending_.size() < 2) return;
            if (end < 0 || pending_.left(end) != (end == 0 ? "" : "\r")) {
                fail(DownloadFailure::Malformed, QStringLiteral("chunk not followed by a line end"));
                return;
            }
            pending_.remove(0, end + 1);
            phase_ = Phase::ChunkSize;
            break;
        }
        }
    }
}

// One line of the headers (or trailers), within their bound; false when it
// is not whole yet or the headers are too long.
bool Download::takeHeadLine(QByteArray& line) {
    const qsizetype end = pending_.indexOf('\n');
    const qint64 size = end < 0 ? pending_.size() : end + 1;
    if (headBytes_ + size > kMaxHeaderBytes) {
        fail(DownloadFailure::TooLarge, QStringLiteral("more than %1 bytes of headers").arg(kMaxHeaderBytes));
        return false;
    }
    if (end < 0) return false;
    headBytes_ += size;
    line = pending_.left(end);
    pending_.remove(0, end + 1);
    if (line.endsWith('\r')) line.chop(1);
    return true;
}

bool Download::headLine(const QByteArray& line) {
    if (phase_ == Phase::Head && !statusSeen_) {
        result_.httpStatus = statusOf(line);
        if (result_.httpStatus == 0) {
            fail(DownloadFailure::Malformed, QStringLiteral("no HTTP status line: ") + quoted(line));
            return false;
        }
        statusSeen_ = true;
        return true;
    }
    if (!line.isEmpty()) {
        const qsizetype colon = line.indexOf(':');
        const QByteArray name = line.left(colon).toLower();
        if (colon <= 0 || !isToken(name)) {
            fail(DownloadFailure::Malformed, QStringLiteral("no header line: ") + quoted(line));
            return false;
        }
        if (phase_ == Phase::Head) headers_.append({name, line.mid(colon + 1).trimmed()});
        return true;
    }
    if (phase_ == Phase::Trailer) {
        succeed();
        return false;
    }
    // An interim answer (100 Continue, 103 Early Hints) comes before the real one.
    if (result_.httpStatus < 200 && result_.httpStatus != 101) {
        statusSeen_ = false;
        headers_.clear();
        return true;
    }
    headDone();
    return phase_ != Phase::Head;
}

void Download::headDone() {
    const int status = result_.httpStatus;
    if (isRedirect(status)) {
        redirect();
        return;
    }
    if (status < 200 || status > 299) {
        fail(DownloadFailure::Status, QStringLiteral("HTTP status %1").arg(status));
        return;
    }
    if (status == 204 || status == 205) {
        fail(DownloadFailure::TooShort, QStringLiteral("HTTP status %1 has no body").arg(status));
        return;
    }
    if (status == 206) {
        fail(DownloadFailure::Malformed, QStringLiteral("a part of the file that was not asked for"));
        return;
    }
    QByteArrayList transfer;
    qint64 length = -1;
    for (const auto& [name, value] : std::as_const(headers_)) {
        if (name == "transfer-encoding") {
            for (const QByteArray& coding : value.split(',')) transfer << coding.trimmed().toLower();
        } else if (name == "content-encoding" && !value.isEmpty() && value.toLower() != "identity") {
            fail(DownloadFailure::Malformed, QStringLiteral("Content-Encoding: ") + quoted(value));
            return;
        } else if (name == "content-length") {
            // Repeated lengths must agree, and each must be a number.
            for (const QByteArray& item : value.split(',')) {
                const qint64 given = lengthOf(item);
                if (given < 0 || (length >= 0 && given != length)) {
                    fail(DownloadFailure::Malformed, QStringLiteral("Content-Length: ") + quoted(value));
                    return;
                }
                length = given;
            }
        }
    }
    if (!transfer.isEmpty()) {
        // Nothing but chunks was asked for; a length beside them does not count.
        if (transfer != QByteArrayList{"chunked"}) {
            fail(DownloadFailure::Malformed, QStringLiteral("Transfer-Encoding: ") + quoted(transfer.join(", ")));
            return;
        }
        phase_ = Phase::ChunkSize;
        return;
    }
    phase_ = Phase::Body;
    if (length < 0) return;  // to the end of the connection
    announced_ = remaining_ = length;
    if (length > limits_.most) {
        fail(DownloadFailure::TooLarge, QStringLiteral("announced %1 bytes").arg(length));
    } else if (length < limits_.least) {
        fail(DownloadFailure::TooShort, QStringLiteral("announced %1 bytes").arg(length));
    } else if (length == 0) {
        succeed();
    }
}

void Download::redirect() {
    QByteArrayList locations;
    for (const auto& [name, value] : std::as_const(headers_))
        if (name == "location") locations << value;
    if (locations.size() != 1) {
        fail(DownloadFailure::Status, QStringLiteral("HTTP status %1 with %2 locations")
                                          .arg(result_.httpStatus)
                                          .arg(locations.size()));
        return;
    }
    const QUrl next =
        url_.resolved(QUrl::fromEncoded(locations.first(), QUrl::TolerantMode)).adjusted(QUrl::RemoveFragment);
    if (!next.isValid() || next.host().isEmpty()) {
        fail(DownloadFailure::Malformed, QStringLiteral("Location: ") + quoted(locations.first()));
    } else if (!isHttps(next)) {
        fail(DownloadFailure::Insecure, QStringLiteral("redirect to ") + quoted(next.toEncoded()));
    } else if (visited_.contains(next)) {
        fail(DownloadFailure::Redirects, QStringLiteral("redirect in a circle to ") + quoted(next.toEncoded()));
    } else if (visited_.size() > kMaxRedirects) {
        fail(DownloadFailure::Redirects, QStringLiteral("more than %1 redirects").arg(kMaxRedirects));
    } else {
        letGoOfSocket();
        request(next);
    }
}

bool Download::chunkSize(const QByteArray& line) {
    QByteArray digits = line;
    if (const qsizetype extension = digits.indexOf(';'); extension >= 0) digits.truncate(extension);
    digits = digits.trimmed();
    bool ok = digits.size() <= 15 && !digits.isEmpty();
    const qint64 size = ok ? digits.toLongLong(&ok, 16) : 0;
    if (!ok || size < 0) {
        fail(DownloadFailure::Malformed, QStringLiteral("chunk size ") + quoted(line));
        return false;
    }
    if (size == 0) {
        phase_ = Phase::Trailer;
    } else {
        remaining_ = size;
        phase_ = Phase::ChunkData;
    }
    return true;
}

// Moves `size` bytes from pending_ into the body.
bool Download::deliver(qint64 size) {
    if (result_.bytes + size > limits_.most) {
        fail(DownloadFailure::TooLarge, QStringLiteral("more than %1 bytes").arg(limits_.most));
        return false;
    }
    if (target_.isEmpty()) {
        result_.data.append(pending_.constData(), size);
    } else {
        try {
            if (!file_) file_ = std::make_unique<AtomicFile>(target_);
            file_->write(pending_.constData(), size);
        } catch (const KorbistoError& e) {
            fail(DownloadFailure::Write, e.message());
            return false;
        }
    }
    pending_.remove(0, size);
    result_.bytes += size;
    emit progress(result_.bytes, announced_);
    return true;
}

void Download::closed() {
    QSslSocket* socket = socket_;
    if (!socket || !running_) return;
    receive();  // what came before the close
    if (!running_ || socket_ != socket) return;
    if (phase_ == Phase::Body && remaining_ < 0) {
        succeed();
    } else if (phase_ == Phase::Head) {
        fail(DownloadFailure::Network, statusSeen_ ? QStringLiteral("closed within the headers")
                                                   : QStringLiteral("closed without an answer"));
    } else if (phase_ == Phase::Body) {
        fail(DownloadFailure::Network, QStringLiteral("closed after %1 of %2 bytes").arg(result_.bytes).arg(announced_));
    } else {
        fail(DownloadFailure::Network, QStringLiteral("closed within the chunks"));
    }
}

void Download::socketFailed() {
    if (!socket_ || !running_) return;
    const QAbstractSocket::SocketError error = socket_->error();
    if (error == QAbstractSocket::RemoteHostClosedError) {
        closed();
    } else if (!unverified_.isEmpty()) {
        fail(DownloadFailure::Certificate, unverified_);
    } else {
        fail(DownloadFailure::Network, socket_->errorString());
    }
}

void Download::checkPace() {
    const DownloadTimeLimits limits = timeLimits();
    const qint64 least = limits.leastPace * limits.paceWindow.count() / 1000;
    if (pacedBytes_ < least) {
        fail(DownloadFailure::TooSlow,
             QStringLiteral("%1 bytes in %2 ms, fewer than %3").arg(pacedBytes_).arg(limits.paceWindow.count()).arg(least));
        return;
    }
    pacedBytes_ = 0;
}

void Download::succeed() {
    if (!running_) return;
    if (result_.bytes < limits_.least) {
        fail(DownloadFailure::TooShort, QStringLiteral("%1 bytes").arg(result_.bytes));
        return;
    }
    if (file_) {
        try {
            file_->commit();
        } catch (const KorbistoError& e) {
            fail(DownloadFailure::Write, e.message());
            return;
        }
        file_.reset();
    }
    end();
}

void Download::fail(DownloadFailure failure, const QString& detail) {
    if (!running_) return;
    result_.failure = failure;
    result_.detail = detail;
    result_.data.clear();
    file_.reset();
    end();
}

void Download::end() {
    running_ = false;
    reporting_ = true;
    letGoOfSocket();
    stall_->stop();
    whole_->stop();
    pace_->stop();
    QMetaObject::invokeMethod(
        this,
        [this, generation = generation_] {
            if (generation != generation_) return;  // cancelled meanwhile
            reporting_ = false;
            // A receiver may delete this download; nothing follows the signal.
            emit finished(std::exchange(result_, DownloadResult()));
        },
        Qt::QueuedConnection);
}

void Download::letGoOfSocket() {
    if (!socket_) return;
    QSslSocket* socket = std::exchange(socket_, nullptr);
    socket->disconnect(this);
    // Deleted from the event loop once its own signal has returned; that
    // closes the connection.
    socket->deleteLater();
}

Download* DownloadFile(const QUrl& url, DownloadLimits limits, const QString& target, QObject* parent) {
    auto* download = new Download(url, limits, target, parent);
    download->start();
    return download;
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
