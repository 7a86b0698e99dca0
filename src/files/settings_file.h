#pragma once

#include <QString>

namespace korbisto {

// optionen.ini in the settings folder. Every access opens the file, reads or
// writes one value and lets go of it again; nothing is cached. Writes replace
// the file atomically and raise KorbistoError when that fails.
namespace settings {

inline constexpr const char* kPosition = "Position";
inline constexpr const char* kStartFiles = "ZumStartEinlesen";
inline constexpr const char* kMatchDayKey = "Spieltag";
inline constexpr const char* kSlipKey = "Spielschein";
inline constexpr const char* kEvaluation = "Auswertung";
inline constexpr const char* kInstantKey = "sofort";
inline constexpr const char* kDonation = "Wach";
inline constexpr const char* kDonationKey = "Stand";
inline constexpr const char* kScreenshot = "Abbild";
inline constexpr const char* kScreenshotKey = "Pfad";

QString filePath();
bool fileExists();

// Missing keys, and values that are no whole number, read as the default.
int readInteger(const char* section, const QString& key, int defaultValue);
// True for any non-zero whole number.
bool readBool(const char* section, const QString& key, bool defaultValue);
QString readString(const char* section, const QString& key, const QString& defaultValue = QString());

void writeInteger(const char* section, const QString& key, int value);
// Written as 1 or 0.
void writeBool(const char* section, const QString& key, bool value);
void writeString(const char* section, const QString& key, const QString& value);

}  // namespace settings

struct WindowPos {
    int left = 0;
    int top = 70;
};

// The stored position of a window (0, 70 without a settings file).
WindowPos readWindowPos(const QString& name);
void SaveWindowPos(const QString& name, int left, int top);

// What the main window reads at its creation.
struct MainWindowSettings {
    WindowPos position;
    QString matchDayPath;
    QString slipPath;
    bool instantEvaluation = true;
    QString donationStatus = QStringLiteral("0");
};
MainWindowSettings readMainWindowSettings();
// What the main window writes when it closes.
void writeMainWindowClose(bool instantEvaluation, const QString& donationStatus);

// The screenshot folder: the stored one, else DataFolder + "shots/" (created).
QString readScreenshotFolder();
void writeScreenshotFolder(const QString& folder);

}  // namespace korbisto
