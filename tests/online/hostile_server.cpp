// The online tests' hostile server: HTTPS on 127.0.0.1 with the answers no
// well-behaved server gives. The first path segment names the case, the rest
// a file below the document root:
//   /negative-length/P   200 with "Content-Length: -5", then the file
//   /longer-length/P     200 announcing 100 bytes more than the file, then closes
//   /shorter-length/P    200 announcing 100 bytes, then the whole file
//   /interim/P           100 Continue and 103 Early Hints before a sound 200
//   /chunked/P           the file in chunks of 100 bytes
//   /endless-headers/P   header lines as fast as they are taken, for ever
//   /dripping-headers/P  one header line every 200 ms, for ever
// Usage: hostile_server CERT KEY ROOT STATE_FOLDER; it writes "port" and
// "pid" into STATE_FOLDER once it listens.

#include <QCoreApplication>
#include <QFile>
#include <QHostAddress>
#include <QSaveFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTimer>

#include <chrono>
#include <cstdio>

namespace {

QByteArray g_root;

void writeState(const QString& path, const QByteArray& value) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(value + '\n') < 0 || !file.commit()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

class Connection : public QObject {
public:
    explicit Connection(QSslSocket* socket) : QObject(socket), socket_(socket) {
        connect(socket_, &QSslSocket::readyRead, this, &Connection::read);
        connect(socket_, &QSslSocket::disconnected, socket_, &QObject::deleteLater);
        connect(socket_, &QSslSocket::errorOccurred, socket_, &QObject::deleteLater);
        read();
    }

private:
    void read() {
        if (answered_) {
            socket_->readAll();
            return;
        }
        request_ += socket_->readAll();
        const qsizetype end = request_.indexOf("\r\n\r\n");
        if (end < 0) {
            if (request_.size() > 8192) socket_->abort();
            return;
        }
        answered_ = true;
        const QByteArrayList words = request_.left(request_.indexOf("\r\n")).split(' ');
        const QByteArray path = words.size() == 3 ? words[1] : QByteArray("/");
        const qsizetype slash = path.indexOf('/', 1);
        answer(path.mid(1, slash < 0 ? -1 : slash - 1), slash < 0 ? QByteArray() : path.mid(slash));
    }

    void answer(const QByteArray& kind, const QByteArray& rest) {
        QFile file(QString::fromUtf8(g_root + rest));
        if (rest.contains("..") || !file.open(QIODevice::ReadOnly)) {
            finish("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            return;
        }
        const QByteArray body = file.readAll();
        const QByteArray ok = "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Type: application/octet-stream\r\n";
        if (kind == "negative-length") {
            finish(ok + "Content-Length: -5\r\n\r\n" + body);
        } else if (kind == "longer-length") {
            finish(ok + "Content-Length: " + QByteArray::number(body.size() + 100) + "\r\n\r\n" + body);
        } else if (kind == "shorter-length") {
            finish(ok + "Content-Length: 100\r\n\r\n" + body);
        } else if (kind == "interim") {
            finish("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 103 Early Hints\r\nLink: </style.css>; rel=preload\r\n\r\n" +
                   ok + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        } else if (kind == "chunked") {
            QByteArray chunks = ok + "Transfer-Encoding: chunked\r\n\r\n";
            for (qsizetype at = 0; at < body.size(); at += 100) {
                const QByteArray piece = body.mid(at, 100);
                chunks += QByteArray::number(piece.size(), 16) + ";ext=1\r\n" + piece + "\r\n";
            }
            finish(chunks + "0\r\nX-Trailer: yes\r\n\r\n");
        } else if (kind == "endless-headers") {
            socket_->write("HTTP/1.1 200 OK\r\n");
            connect(socket_, &QSslSocket::encryptedBytesWritten, this, &Connection::moreHeaders);
            moreHeaders();
        } else if (kind == "dripping-headers") {
            socket_->write("HTTP/1.1 200 OK\r\n");
            auto* timer = new QTimer(this);
            connect(timer, &QTimer::timeout, this, [this] { socket_->write("X-Drip: " + QByteArray(20, 'd') + "\r\n"); });
            timer->start(200);
        } else {
            finish("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        }
    }

    void moreHeaders() {
        const QByteArray line = "X-Filler-" + QByteArray::number(++lines_) + ": " + QByteArray(1000, 'f') + "\r\n";
        while (socket_->bytesToWrite() < 256 * 1024) socket_->write(line);
    }

    void finish(const QByteArray& answer) {
        socket_->write(answer);
        socket_->disconnectFromHost();
    }

    QSslSocket* socket_;
    QByteArray request_;
    bool answered_ = false;
    qint64 lines_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: hostile_server CERT KEY ROOT STATE_FOLDER\n");
        return 2;
    }
    g_root = QByteArray(argv[3]);
    QFile certificate(QString::fromLocal8Bit(argv[1]));
    QFile key(QString::fromLocal8Bit(argv[2]));
    if (!certificate.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read the certificate or its key\n");
        return 1;
    }
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(QSslCertificate(&certificate, QSsl::Pem));
    tls.setPrivateKey(QSslKey(&key, QSsl::Ec, QSsl::Pem));
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    QSslServer server;
    server.setSslConfiguration(tls);
    QObject::connect(&server, &QTcpServer::pendingConnectionAvailable, [&server] {
        while (QTcpSocket* socket = server.nextPendingConnection()) new Connection(static_cast<QSslSocket*>(socket));
    });
    if (!server.listen(QHostAddress::LocalHost, 0)) {
        std::fprintf(stderr, "cannot listen: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    const QString state = QString::fromLocal8Bit(argv[4]);
    // A run that never stops it leaves nothing behind for long.
    QTimer::singleShot(std::chrono::hours(6), &app, &QCoreApplication::quit);
    writeState(state + QStringLiteral("/pid"), QByteArray::number(QCoreApplication::applicationPid()));
    writeState(state + QStringLiteral("/port"), QByteArray::number(server.serverPort()));
    return app.exec();
}
