#include "core/paths.h"

#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace korbisto;

TEST(Identity, NameAndVersion) {
    EXPECT_EQ(programCaption(), QStringLiteral("Korbisto 1.3.0.0"));
}

TEST(Paths, FollowTheDataHome) {
    test::TempDataFolder tmp;
    const AppPaths& p = appPaths();
    EXPECT_EQ(p.DataFolder, tmp.path(QStringLiteral("appdata/Korbisto/")));
    EXPECT_EQ(p.ShotsFolder, p.DataFolder + QStringLiteral("shots/"));
    EXPECT_EQ(p.SlipFolder, p.DataFolder + QStringLiteral("Spielscheine/"));
    EXPECT_EQ(p.MatchDayFolder, p.DataFolder + QStringLiteral("Spieltage/"));
    EXPECT_EQ(p.SettingsFolder, p.DataFolder + QStringLiteral("Einstellungen/"));
    EXPECT_EQ(p.FilterFolder, p.DataFolder + QStringLiteral("Filter/"));
    EXPECT_TRUE(p.ProgramFolder.endsWith(u'/'));
    // Made with the data folder above it when first asked for.
    EXPECT_FALSE(QFileInfo(p.DataFolder).exists());
    EXPECT_EQ(madeFilterFolder(), p.FilterFolder);
    EXPECT_TRUE(QFileInfo(p.FilterFolder).isDir());
}

TEST(Paths, FolderSetUpCreatesFiveFoldersInOrderOnce) {
    test::TempDataFolder tmp;
    const AppPaths& p = appPaths();
    const QStringList created = setUpFolders(p);
    EXPECT_EQ(created, QStringList({p.DataFolder, p.ShotsFolder, p.SlipFolder, p.MatchDayFolder, p.SettingsFolder}));
    for (const QString& f : created) EXPECT_TRUE(QFileInfo(f).isDir()) << f.toStdString();
    EXPECT_TRUE(setUpFolders(p).isEmpty());
}

TEST(Paths, UnresolvableDataHomeHangsOffTheRoot) {
    test::TempDataFolder tmp;
    const QByteArray home = qgetenv("HOME");
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("HOME");
    EXPECT_EQ(computeAppPaths(QStringLiteral("/p")).DataFolder, QStringLiteral("/Korbisto/"));
    qputenv("HOME", home);
}

TEST(Paths, AHomeWithoutLocalShareGetsEveryLevel) {
    test::TempDataFolder tmp;
    const QByteArray home = qgetenv("HOME");
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    const QString fresh = tmp.path(QStringLiteral("home"));
    ASSERT_TRUE(QDir().mkpath(fresh));
    qputenv("HOME", QFile::encodeName(fresh));
    qunsetenv("XDG_DATA_HOME");
    const AppPaths p = computeAppPaths(QStringLiteral("/p"));
    EXPECT_EQ(p.DataFolder, fresh + QStringLiteral("/.local/share/Korbisto/"));
    EXPECT_EQ(setUpFolders(p), dataFolders(p));
    for (const QString& folder : dataFolders(p)) EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    qputenv("HOME", home);
    qputenv("XDG_DATA_HOME", data);
}
