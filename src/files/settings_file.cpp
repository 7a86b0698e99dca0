#include "settings_file.h"

#include "core/paths.h"
#include "core/text_helpers.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace korbisto {
namespace settings {

namespace {
QString keyPath(const char* section, const QString& key) {
    return QString::fromLatin1(section) + u'/' + key;
}

// A key absent from the file reads as the default; so does a file that is
// not valid INI text.
QVariant readRaw(const char* section, const QString& key) {
    if (!fileExists()) return QVariant();
    QSettings ini(filePath(), QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) return QVariant();
    return ini.value(keyPath(section, key));
}

void writeRaw(const char* section, const QString& key, const QVariant& value) {
    QDir().mkpath(QFileInfo(filePath()).absolutePath());
    QSettings ini(filePath(), QSettings::IniFormat);
    ini.setValue(keyPath(section, key), value);
    ini.sync();
}
}  // namespace

QString filePath() { return appPaths().SettingsFolder + QStringLiteral("optionen.ini"); }

bool fileExists() { return QFileInfo(filePath()).isFile(); }

int readInteger(const char* section, const QString& key, int defaultValue) {
    const QVariant raw = readRaw(section, key);
    if (!raw.isValid() || raw.typeId() != QMetaType::QString) return defaultValue;
    return StrToIntOpt(raw.toString()).value_or(defaultValue);
}

bool readBool(const char* section, const QString& key, bool defaultValue) {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

QString readString(const char* section, const QString& key, const QString& defaultValue) {
    const QVariant raw = readRaw(section, key);
    if (!raw.isValid()) return defaultValue;
    // An unquoted value with commas reads as a list; it was one string.
    if (raw.typeId() == QMetaType::QStringList) return raw.toStringList().join(QStringLiteral(", "));
    return raw.toString();
}

void writeInteger(const char* section, const QString& key, int value) {
    writeRaw(section, key, QString::number(value));
}

void writeBool(const char* section, const QString& key, bool value) {
    writeRaw(section, key, QString::number(value ? 1 : 0));
}

void writeString(const char* section, const QString& key, const QString& value) {
    writeRaw(section, key, value);
}

}  // namespace settings

WindowPos readWindowPos(const QString& name) {
    WindowPos pos;
    if (!settings::fileExists()) return pos;
    pos.left = settings::readInteger(settings::kPosition, name + QStringLiteral("-left"), 0);
    pos.top = settings::readInteger(settings::kPosition, name + QStringLiteral("-top"), 70);
    return pos;
}

void SaveWindowPos(const QString& name, int left, int top) {
    settings::writeInteger(settings::kPosition, name + QStringLiteral("-left"), left);
    settings::writeInteger(settings::kPosition, name + QStringLiteral("-top"), top);
}

MainWindowSettings readMainWindowSettings() {
    MainWindowSettings s;
    if (!settings::fileExists()) return s;
    s.position = readWindowPos(QStringLiteral("FGewonnen"));
    s.matchDayPath = settings::readString(settings::kStartFiles, QString::fromLatin1(settings::kMatchDayKey));
    s.slipPath = settings::readString(settings::kStartFiles, QString::fromLatin1(settings::kSlipKey));
    s.instantEvaluation = settings::readBool(settings::kEvaluation, QString::fromLatin1(settings::kInstantKey), true);
    s.donationStatus =
        settings::readString(settings::kDonation, QString::fromLatin1(settings::kDonationKey), QStringLiteral("0"));
    return s;
}

void writeMainWindowClose(bool instantEvaluation, const QString& donationStatus) {
    settings::writeBool(settings::kEvaluation, QString::fromLatin1(settings::kInstantKey), instantEvaluation);
    settings::writeString(settings::kDonation, QString::fromLatin1(settings::kDonationKey), donationStatus);
}

QString readScreenshotFolder() {
    QString folder;
    if (settings::fileExists())
        folder = settings::readString(settings::kScreenshot, QString::fromLatin1(settings::kScreenshotKey));
    if (folder.isEmpty()) {
        folder = appPaths().DataFolder + QStringLiteral("shots/");
        QDir().mkpath(folder);
    }
    return folder;
}

void writeScreenshotFolder(const QString& folder) {
    settings::writeString(settings::kScreenshot, QString::fromLatin1(settings::kScreenshotKey), folder);
}

}  // namespace korbisto
