#pragma once

#include <QString>
#include <QStringList>

namespace korbisto {

inline constexpr const char* ProgramName = "Korbisto";
inline constexpr const char* ProgramVersion = "1.3.0.0";

// "Korbisto 1.3.0.0", the caption of the program's windows.
QString programCaption();

// The program's folders; each ends in a separator.
struct AppPaths {
    QString ProgramFolder;
    QString DataFolder;
    QString ShotsFolder;
    QString SlipFolder;
    QString MatchDayFolder;
    QString SettingsFolder;
    // Saved filter lists; not made at start, see madeFilterFolder().
    QString FilterFolder;
};

// The user's application-data folder without a trailing separator: on Linux
// $XDG_DATA_HOME, else ~/.local/share; on Windows %APPDATA%. Empty when
// neither can be had.
QString GetSpecialFolder();

// The folders for a program that lives in `programFolder`.
AppPaths computeAppPaths(const QString& programFolder);

// The folders of this run, worked out on first use from the environment.
const AppPaths& appPaths();
void setAppPaths(const AppPaths& paths);

// DataFolder, shots, Spielscheine, Spieltage and Einstellungen in this order.
QStringList dataFolders(const AppPaths& paths);

// Creates DataFolder, shots, Spielscheine, Spieltage and Einstellungen in this
// order, each only if missing and with every missing level above it;
// failures are silent. Returns the folders it created.
QStringList setUpFolders(const AppPaths& paths);

// FilterFolder of this run, made with every missing level when it is not
// there yet; a failure is silent and shows where the folder is used.
QString madeFilterFolder();

}  // namespace korbisto
