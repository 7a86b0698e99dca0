#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <optional>

namespace korbisto {

namespace {
std::optional<AppPaths>& currentPaths() {
    static std::optional<AppPaths> paths;
    return paths;
}

QString withSeparator(QString path) {
    if (!path.endsWith(u'/')) path += u'/';
    return path;
}
}  // namespace

QString programCaption() {
    return QString::fromLatin1(ProgramName) + u' ' + QString::fromLatin1(ProgramVersion);
}

QString GetSpecialFolder() {
#ifdef Q_OS_WIN
    QString folder = qEnvironmentVariable("APPDATA");
#else
    QString folder = qEnvironmentVariable("XDG_DATA_HOME");
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder)) {
        const QString home = qEnvironmentVariable("HOME");
        folder = home.isEmpty() ? QString() : home + QStringLiteral("/.local/share");
    }
#endif
    folder = QDir::fromNativeSeparators(folder);
    while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
    return folder;
}

AppPaths computeAppPaths(const QString& programFolder) {
    AppPaths p;
    p.ProgramFolder = withSeparator(programFolder);
    // Without an application-data folder the folders hang off the root, as
    // the original did; writes there fail in their own places.
    p.DataFolder = GetSpecialFolder() + QStringLiteral("/Korbisto/");
    p.ShotsFolder = p.DataFolder + QStringLiteral("shots/");
    p.SlipFolder = p.DataFolder + QStringLiteral("Spielscheine/");
    p.MatchDayFolder = p.DataFolder + QStringLiteral("Spieltage/");
    p.SettingsFolder = p.DataFolder + QStringLiteral("Einstellungen/");
    p.FilterFolder = p.DataFolder + QStringLiteral("Filter/");
    return p;
}

const AppPaths& appPaths() {
    auto& paths = currentPaths();
    if (!paths) {
        const QString program = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                              : QDir::currentPath();
        paths = computeAppPaths(program);
    }
    return *paths;
}

void setAppPaths(const AppPaths& paths) { currentPaths() = paths; }

QStringList dataFolders(const AppPaths& paths) {
    return {paths.DataFolder, paths.ShotsFolder, paths.SlipFolder, paths.MatchDayFolder, paths.SettingsFolder};
}

QStringList setUpFolders(const AppPaths& paths) {
    QStringList created;
    for (const QString& folder : dataFolders(paths)) {
        if (QFileInfo(folder).isDir()) continue;
        // With every missing level: a fresh account may have no ~/.local/share yet.
        if (QDir().mkpath(folder)) created << folder;
    }
    return created;
}

QString madeFilterFolder() {
    const QString& folder = appPaths().FilterFolder;
    QDir().mkpath(folder);
    return folder;
}

}  // namespace korbisto
