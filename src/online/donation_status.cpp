#include "donation_status.h"

#include "connectivity.h"
#include "server.h"

#include "files/text_file.h"

#include <QRegularExpression>

namespace korbisto {

namespace {
constexpr qsizetype kMaxCharacters = 20;

bool shown(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Other_Format:  // such as bidirectional overrides
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        return true;
    }
}
}  // namespace

QString donationStatusProblem(const QByteArray& file) {
    const QString text = decodeTextBytes(file);
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control && c != u'\t' && c != u'\r' && c != u'\n')
            return QStringLiteral("Die Statusdatei ist kein Text: Sie enthält das Steuerzeichen %1.")
                .arg(QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper());
    }
    return QString();
}

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

Download* GetDonationStatus(QObject* parent, std::function<void(const DonationStatus&)> done) {
    if (!IsOnline()) {
        done({QString(), {DownloadFailure::Offline, 0, 0, QString(), {}}});
        return nullptr;
    }
    Download* download =
        DownloadFile(serverUrl(QString::fromLatin1(kDonationStatusPath)), kSmallFileLimits, QString(), parent);
    QObject::connect(download, &Download::finished, download, [download, done](const DownloadResult& answer) {
        download->deleteLater();
        DonationStatus status{QString(), answer};
        checkAnswer(status.download, donationStatusProblem);
        if (status.download.ok()) status.line = donationStatusLine(status.download.data);
        status.download.data.clear();
        done(status);
    });
    return download;
}

}  // namespace korbisto
