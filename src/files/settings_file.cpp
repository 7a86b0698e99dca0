#include "settings_file.h"

#include "binary_io.h"
#include "ini_file.h"
#include "text_file.h"

#include "core/error.h"
#include "core/paths.h"
#include "core/text_helpers.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <chrono>
#include <thread>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace korbisto {
namespace settings {

namespace {
// The whole file, or nothing when it cannot be read whole: it then counts as a
// missing one, and is never rewritten, which would lose what was not read.
std::optional<QByteArray> readAll() {
    try {
        return readFileBytes(filePath(), kMaxTextFileBytes);
    } catch (const KorbistoError&) {
        return std::nullopt;
    }
}

// Each access reads the file afresh; nothing is cached.
std::optional<QString> readRaw(const char* section, const QString& key) {
    if (!fileExists()) return std::nullopt;
    std::optional<QByteArray> bytes = readAll();
    if (!bytes) return std::nullopt;
    return IniFile::fromBytes(*std::move(bytes)).value(QString::fromLatin1(section), key);
}

// An advisory lock on a file beside optionen.ini, held for one read-change-
// replace, so that a write of another instance in between is not lost. The
// wait is bounded: an instance that hangs must not freeze this one, whose
// write then goes ahead unlocked. The system lets go of the lock of a killed
// process by itself.
class WriteLock {
public:
    WriteLock() {
#ifndef _WIN32
        const QByteArray path = encodeFileName(filePath() + QStringLiteral(".lock"));
        fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0666);
        if (fd_ < 0) return;
        const auto deadline = std::chrono::steady_clock::now() + kMaxWait;
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
                ::close(fd_);
                fd_ = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
#endif
    }
    ~WriteLock() {
#ifndef _WIN32
        if (fd_ >= 0) ::close(fd_);  // lets go of the lock
#endif
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

private:
    static constexpr std::chrono::seconds kMaxWait{3};
    int fd_ = -1;
};

void writeRaw(const char* section, const QString& key, const QString& value) {
    QDir().mkpath(appPaths().SettingsFolder);
    const WriteLock lock;
    const QFileInfo info(filePath());
    // Something other than a file there (a link to /dev/null keeps no
    // settings) is the user's choice, and is left as it is.
    if (info.exists() && !info.isFile()) return;
    std::optional<QByteArray> bytes = info.exists() ? readAll() : std::optional(QByteArray());
    if (!bytes) return;
    IniFile ini = IniFile::fromBytes(*std::move(bytes));
    if (!ini.setValue(QString::fromLatin1(section), key, value)) return;
    writeFileAtomically(filePath(), ini.toBytes());
}
}  // namespace

QString filePath() { return appPaths().SettingsFolder + QStringLiteral("optionen.ini"); }

bool fileExists() { return QFileInfo(filePath()).isFile(); }

int readInteger(const char* section, const QString& key, int defaultValue) {
    const auto raw = readRaw(section, key);
    if (!raw) return defaultValue;
    return StrToIntOpt(*raw).value_or(defaultValue);
}

bool readBool(const char* section, const QString& key, bool defaultValue) {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

QString readString(const char* section, const QString& key, const QString& defaultValue) {
    return readRaw(section, key).value_or(defaultValue);
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
