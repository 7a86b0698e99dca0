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

// A stand-in for the running program: a process of a moment.
class DummyProcess {
public:
    explicit DummyProcess(const char* seconds) {
        process.start(QStringLiteral("sleep"), {QString::fromLatin1(seconds)});
        EXPECT_TRUE(process.waitForStarted());
    }
    ~DummyProcess() {
        process.kill();
        process.waitForFinished();
    }
    qint64 id() const { return process.processId(); }
    QProcess process;
};

// A dummy program file in its own folder below `tmp`, never a real one.
QString dummyProgram(const test::TempDataFolder& tmp, const QString& folderName, const QByteArray& content) {
    const QString folder = tmp.path(folderName);
    EXPECT_TRUE(QDir().mkpath(folder));
    test::writeBytes(folder + QStringLiteral("/korbisto"), content);
    return folder + QStringLiteral("/korbisto");
}

void startScript(QProcess& sh, const QString& script, const QString& folder) {
    sh.setWorkingDirectory(folder);
    sh.start(QStringLiteral("/bin/sh"), {script});
    ASSERT_TRUE(sh.waitForStarted());
}

}  // namespace

TEST(RemovalScript, WaitsForTheProgramThenRemovesItsFileAndItselfButNotTheFolder) {
    // Its path holds a blank and quotes.
    test::TempDataFolder tmp;
    const QString program = dummyProgram(tmp, QStringLiteral("Mein \"Korbisto\" it's"), "dummy");
    DummyProcess running("1");
    const QString script = writeRemovalScript({program, running.id()}, tmp.root());
    EXPECT_TRUE(script.startsWith(tmp.root() + QStringLiteral("/uis")));
    EXPECT_TRUE(script.endsWith(QStringLiteral(".sh")));
    EXPECT_EQ(QFileInfo(script).permissions() & (QFile::ExeOwner | QFile::ReadOther | QFile::WriteOther),
              QFile::ExeOwner);
    QProcess sh;
    startScript(sh, script, tmp.root());
    QThread::msleep(300);
    ASSERT_EQ(running.process.state(), QProcess::Running);
    EXPECT_TRUE(QFileInfo::exists(program)) << "removed while the program ran";
    ASSERT_TRUE(running.process.waitForFinished());
    ASSERT_TRUE(sh.waitForFinished(20000));
    EXPECT_FALSE(QFileInfo::exists(program));
    EXPECT_TRUE(QFileInfo(QFileInfo(program).path()).isDir());
    EXPECT_FALSE(QFileInfo::exists(script));
}

// The installer puts the new program where the old one was while the old
// one still runs: rewritten in place, removed and made anew, or moved over
// it. The new program is always left, twenty times over.
TEST(RemovalScript, NeverRemovesTheProgramAnInstallerPutInItsPlace) {
    const char* installers[] = {
        "printf neu > \"$1\"",
        "rm -f -- \"$1\" && printf neu > \"$1\"",
        "printf neu > \"$1.neu\" && mv -f -- \"$1.neu\" \"$1\"",
    };
    for (int run = 0; run < 20; ++run) {
        SCOPED_TRACE(run);
        test::TempDataFolder tmp;
        const QString program = dummyProgram(tmp, QStringLiteral("Programm"), "alt");
        DummyProcess running("0.2");
        const QString script = writeRemovalScript({program, running.id()}, tmp.root());
        QProcess sh;
        startScript(sh, script, tmp.root());
        QProcess installer;
        installer.start(QStringLiteral("/bin/sh"),
                        {QStringLiteral("-c"), QString::fromLatin1(installers[run % 3]), QStringLiteral("sh"), program});
        ASSERT_TRUE(installer.waitForFinished());
        ASSERT_TRUE(running.process.waitForFinished());  // and reaped, as the program's parent would
        ASSERT_TRUE(sh.waitForFinished(20000));
        EXPECT_EQ(test::readBytes(program), "neu");
        EXPECT_FALSE(QFileInfo::exists(script));
    }
}

TEST(RemovalScript, GivesUpWaitingAfterItsBoundAndRefusesWhatIsNoFile) {
    test::TempDataFolder tmp;
    const QString program = tmp.path(QStringLiteral("korbisto"));
    test::writeBytes(program, "dummy");
    DummyProcess endless("30");
    QProcess sh;
    startScript(sh, writeRemovalScript({program, endless.id(), 3}, tmp.root()), tmp.root());
    ASSERT_TRUE(sh.waitForFinished(20000));
    EXPECT_EQ(endless.process.state(), QProcess::Running);
    EXPECT_FALSE(QFileInfo::exists(program));

    ASSERT_TRUE(QDir().mkpath(program));
    EXPECT_FALSE(test::errorOf([&] { writeRemovalScript({program, endless.id()}, tmp.root()); }).isEmpty());
    EXPECT_EQ(QDir(tmp.root()).entryList({QStringLiteral("uis*")}), QStringList());
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
