#include "online_support.h"


#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QUuid>

#include <cstdlib>

namespace korbisto::test {

const TestServer& testServer() {
    static const TestServer server = [] {
        TestServer s;
        QFile file(QStringLiteral(KORBISTO_NGINX_STATE));
        if (!file.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "the nginx fixture is not running (ctest starts it): " << KORBISTO_NGINX_STATE;
            return s;
        }
        for (const QByteArray& line : file.readAll().split('\n')) {
            const qsizetype eq = line.indexOf('=');
            const QString key = QString::fromUtf8(line.left(eq));
            const QString value = QString::fromUtf8(line.mid(eq + 1));
            if (key == QLatin1String("server")) s.server = value;
            else if (key == QLatin1String("localhost")) s.localhost = value;
            else if (key == QLatin1String("wronghost")) s.wrongHost = value;
            else if (key == QLatin1String("ca")) s.caFile = value;
            else if (key == QLatin1String("root")) s.root = value;
            else if (key == QLatin1String("hostile")) s.hostile = value;
        }
        return s;
    }();
    return server;
}

namespace {
// The server's workers may run as another user than the tests.
void readableByAll(const QString& path, bool folder) {
    const QFileDevice::Permissions read = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                          QFileDevice::ReadOther;
    const QFileDevice::Permissions enter = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    QFile::setPermissions(path, folder ? read | enter : read);
}
}  // namespace

OnlineSite::OnlineSite(TempDataFolder& folder)
    : name_(QStringLiteral("case-") + QUuid::createUuid().toString(QUuid::Id128)),
      tempFolder_(folder.path(QStringLiteral("tmp"))) {
    QDir().mkpath(tempFolder_);
    oldTmpdir_ = qgetenv("TMPDIR");
    // The command line's too.
    qputenv("TMPDIR", tempFolder_.toUtf8());
    qputenv("KORBISTO_SERVER", site().toUtf8());
    qputenv("KORBISTO_CA_FILE", testServer().caFile.toUtf8());
}

OnlineSite::~OnlineSite() {
    setDownloadTimeLimits({});
    if (oldTmpdir_.isEmpty()) qunsetenv("TMPDIR");
    else qputenv("TMPDIR", oldTmpdir_);
    qunsetenv("KORBISTO_SERVER");
    qunsetenv("KORBISTO_CA_FILE");
    if (!testServer().root.isEmpty()) QDir(testServer().root + u'/' + name_).removeRecursively();
}

void OnlineSite::serve(const QString& path, const QByteArray& bytes) {
    const QString top = testServer().root + u'/' + name_;
    const QString file = top + path;
    QDir().mkpath(QFileInfo(file).path());
    for (QString dir = QFileInfo(file).path(); dir.size() >= top.size(); dir = QFileInfo(dir).path())
        readableByAll(dir, true);
    writeBytes(file, bytes);
    readableByAll(file, false);
}

QString OnlineSite::site(const QString& location) const { return siteOn(testServer().server + location); }

QString OnlineSite::siteOn(const QString& base) const { return base + u'/' + name_; }

DownloadResult OnlineTest::fetch(const QString& url, const QString& target, DownloadLimits limits) {
    const auto result = waitFor<DownloadResult>([&](QObject* parent, auto done) {
        Download* download = DownloadFile(QUrl(url), limits, target, parent);
        QObject::connect(download, &Download::finished, parent, done);
    });
    return result.value_or(DownloadResult{DownloadFailure::Network, 0, 0, QStringLiteral("timed out"), {}});
}

}  // namespace korbisto::test
