#include "donation_status.h"

#include "connectivity.h"
#include "download.h"
#include "server.h"

#include "core/paths.h"
#include "files/binary_io.h"
#include "files/text_file.h"

#include <QRegularExpression>

namespace korbisto {

namespace {
constexpr qsizetype kMaxCharacters = 20;

bool shown(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:  // such as bidirectional overrides
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        return true;
    }
}
}  // namespace

QString donationStatusLine(const QByteArray& file) {
    const QString text = decodeTextBytes(file);
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    QString line;
    qsizetype characters = 0;
    for (const char32_t c : QStringView(text).left(end < 0 ? text.size() : end).toUcs4()) {
        if (!shown(c)) continue;
        if (++characters > kMaxCharacters) break;
        line += QString::fromUcs4(&c, 1);
    }
    return line;
}

Download* GetDonationStatus(QObject* parent, std::function<void(const QString&)> done) {
    if (!IsOnline()) {
        done(QString());
        return nullptr;
    }
    const QString target = appPaths().TempFolder + QStringLiteral("wach13.txt");
    Download* download = DownloadAnew(kDonationStatusPath, target, kSmallFileLimits, parent);
    QObject::connect(download, &Download::finished, download, [download, target, done](const DownloadResult& r) {
        download->deleteLater();
        if (!r.ok()) {
            done(QString());
            return;
        }
        const auto bytes = readFileBytes(target, kSmallFileLimits.most);
        done(bytes ? donationStatusLine(*bytes) : QString());
    });
    return download;
}

}  // namespace korbisto
