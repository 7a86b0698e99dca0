#include "files/removal_script.h"

#include "support/test_env.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace korbisto;

namespace {

// Runs the script to its end, as the system would after the program ended.
int runScript(const QString& script, const QString& folder) {
    QProcess sh;
    sh.setWorkingDirectory(folder);
    sh.start(QStringLiteral("/bin/sh"), {script});
    if (!sh.waitForFinished(20000)) {
        sh.kill();
        return -1;
    }
    return sh.exitCode();
}

}  // namespace

TEST(RemovalScript, RemovesTheProgramItsEmptyFolderAndItself) {
    // A dummy program whose path holds a blank and quotes, never a real one.
    test::TempDataFolder tmp;
    const QString folder = tmp.path(QStringLiteral("Mein \"Korbisto\" it's"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/korbisto");
    test::writeBytes(program, "dummy");
    const QString temp = tmp.path(QStringLiteral("temp"));
    ASSERT_TRUE(QDir().mkpath(temp));

    const QString script = writeRemovalScript({program, folder, 3, 0}, temp);
    EXPECT_TRUE(script.startsWith(temp + QStringLiteral("/uis")));
    EXPECT_TRUE(script.endsWith(QStringLiteral(".sh")));
    EXPECT_EQ(QFileInfo(script).permissions() & (QFile::ExeOwner | QFile::ReadOther | QFile::WriteOther),
              QFile::ExeOwner);
    ASSERT_EQ(runScript(script, temp), 0);
    EXPECT_FALSE(QFileInfo::exists(program));
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_FALSE(QFileInfo::exists(script));
    EXPECT_TRUE(QFileInfo::exists(tmp.root()));
}

TEST(RemovalScript, AFolderWithOtherFilesStaysAndAFileThatCannotGoIsGivenUp) {
    test::TempDataFolder tmp;
    const QString folder = tmp.path(QStringLiteral("Programm"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/korbisto");
    test::writeBytes(program, "dummy");
    test::writeBytes(folder + QStringLiteral("/liesmich.txt"), "bleibt");
    ASSERT_EQ(runScript(writeRemovalScript({program, folder, 3, 0}, tmp.root()), tmp.root()), 0);
    EXPECT_FALSE(QFileInfo::exists(program));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/liesmich.txt")));

    // What rm cannot delete (here a folder in the program's place) ends the
    // retries after the bound, and the script still goes.
    const QString stubborn = folder + QStringLiteral("/korbisto");
    ASSERT_TRUE(QDir().mkpath(stubborn + QStringLiteral("/inhalt")));
    const QString script = writeRemovalScript({stubborn, folder, 3, 0}, tmp.root());
    ASSERT_EQ(runScript(script, tmp.root()), 0);
    EXPECT_TRUE(QFileInfo::exists(stubborn));
    EXPECT_FALSE(QFileInfo::exists(script));
}

TEST(RemovalScript, AProgramOfTheSystemIsNotRemoved) {
    EXPECT_FALSE(programIsRemovable(QStringLiteral("/usr/bin/korbisto")));
    EXPECT_FALSE(programIsRemovable(QStringLiteral("/usr/local/bin/korbisto")));
    test::TempDataFolder tmp;
    const QString program = tmp.path(QStringLiteral("korbisto"));
    EXPECT_TRUE(programIsRemovable(program));
    // The system's through a link in the user's folder.
    ASSERT_TRUE(QFile::link(QStringLiteral("/usr/bin/env"), program));
    EXPECT_FALSE(programIsRemovable(program));
    if (::geteuid() != 0) {  // root may write anything
        QFile::remove(program);
        test::writeBytes(program, "dummy");
        QFile(program).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_FALSE(programIsRemovable(program));
    }
}

TEST(Installer, IsMadeExecutableForTheUserAloneAndStartedOrRefused) {
    test::TempDataFolder tmp;
    const QString marker = tmp.path(QStringLiteral("gelaufen"));
    const QString installer = tmp.path(QStringLiteral("Update.exe"));
    test::writeBytes(installer, "#!/bin/sh\necho ok > '" + marker.toUtf8() + "'\n");
    QFile(installer).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    ASSERT_TRUE(startInstaller(installer));
    EXPECT_EQ(QFileInfo(installer).permissions() & (QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther | QFile::ReadOther),
              QFile::ExeOwner);
    for (int i = 0; i < 200 && !QFileInfo::exists(marker); ++i) QThread::msleep(10);
    EXPECT_TRUE(QFileInfo::exists(marker));

    // What no system can run, and what is not there, are not started.
    const QString junk = tmp.path(QStringLiteral("kaputt.exe"));
    test::writeBytes(junk, QByteArray("MZ\x90\0\3", 5));
    EXPECT_FALSE(startInstaller(junk));
    EXPECT_FALSE(startInstaller(tmp.path(QStringLiteral("fehlt.exe"))));
}
