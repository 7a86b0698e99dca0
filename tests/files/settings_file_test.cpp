#include "files/settings_file.h"

#include "core/paths.h"
#include "files/text_file.h"
#include "support/test_env.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace korbisto;

namespace {
void writeIni(const QByteArray& text) {
    QDir().mkpath(appPaths().SettingsFolder);
    test::writeBytes(settings::filePath(), text);
}
}  // namespace

TEST(Settings, FirstStartReadsDefaults) {
    test::TempDataFolder tmp;
    EXPECT_FALSE(settings::fileExists());
    const MainWindowSettings s = readMainWindowSettings();
    EXPECT_EQ(s.position.left, 0);
    EXPECT_EQ(s.position.top, 70);
    EXPECT_TRUE(s.instantEvaluation);
    EXPECT_EQ(s.donationStatus, QStringLiteral("0"));
    EXPECT_EQ(s.matchDayPath, QString());
    EXPECT_EQ(s.slipPath, QString());
    EXPECT_FALSE(settings::fileExists());  // reading creates nothing
}

TEST(Settings, TheFileIsPlainIniWithBooleansAsDigits) {
    test::TempDataFolder tmp;
    SaveWindowPos(QStringLiteral("FGewonnen"), -20, 300);
    writeMainWindowClose(false, QStringLiteral("12,50"));
    EXPECT_EQ(test::readBytes(tmp.path(QStringLiteral("appdata/Korbisto/Einstellungen/optionen.ini"))),
              QByteArray("[Position]\r\nFGewonnen-left=-20\r\nFGewonnen-top=300\r\n"
                         "[Auswertung]\r\nsofort=0\r\n[Wach]\r\nStand=12,50\r\n"));
    writeMainWindowClose(true, QStringLiteral("3"));
    SaveWindowPos(QStringLiteral("FKick"), 1, 2);
    EXPECT_EQ(test::readBytes(settings::filePath()),
              QByteArray("[Position]\r\nFGewonnen-left=-20\r\nFGewonnen-top=300\r\nFKick-left=1\r\nFKick-top=2\r\n"
                         "[Auswertung]\r\nsofort=1\r\n[Wach]\r\nStand=3\r\n"));

    const MainWindowSettings s = readMainWindowSettings();
    EXPECT_EQ(s.position.left, -20);
    EXPECT_EQ(s.position.top, 300);
    EXPECT_TRUE(s.instantEvaluation);
    EXPECT_EQ(s.donationStatus, QStringLiteral("3"));
}

TEST(Settings, ScreenshotWindowsShareOnePosition) {
    test::TempDataFolder tmp;
    EXPECT_EQ(readWindowPos(QStringLiteral("FAbbild")).top, 70);
    SaveWindowPos(QStringLiteral("FAbbild"), 15, 25);
    EXPECT_EQ(readWindowPos(QStringLiteral("FAbbild")).left, 15);
    EXPECT_EQ(readWindowPos(QStringLiteral("FAbbild")).top, 25);
    EXPECT_EQ(readWindowPos(QStringLiteral("FKick")).left, 0);
    EXPECT_EQ(readWindowPos(QStringLiteral("FKick")).top, 70);
}

TEST(Settings, PathsComeBackAsTheyWere) {
    test::TempDataFolder tmp;
    const QString odd = QStringLiteral("/home/müller/Spiel, Tag 1; \"neu\"/13.03.2021 = gut.sptag");
    settings::writeString(settings::kStartFiles, QStringLiteral("Spieltag"), odd);
    settings::writeString(settings::kStartFiles, QStringLiteral("Spielschein"), QStringLiteral(" a "));
    const MainWindowSettings s = readMainWindowSettings();
    EXPECT_EQ(s.matchDayPath, odd);
    EXPECT_EQ(s.slipPath, QStringLiteral(" a "));
}

TEST(Settings, ReadsFilesTheWayTheProfileFunctionsDo) {
    test::TempDataFolder tmp;
    const QByteArray before = "\xEF\xBB\xBF; Kommentar\n[zumstarteinlesen]\nSPIELTAG = \"/a/b c.sptag\"\r\n"
                              "Spielschein=/x/Spiel, 1.krsc\r[Wach]\nStand=7,50\n[Position]\n";
    writeIni(before + "FGewonnen-top=  -5  \n");
    const MainWindowSettings s = readMainWindowSettings();
    EXPECT_EQ(s.matchDayPath, QStringLiteral("/a/b c.sptag"));
    EXPECT_EQ(s.slipPath, QStringLiteral("/x/Spiel, 1.krsc"));
    EXPECT_EQ(s.donationStatus, QStringLiteral("7,50"));
    EXPECT_EQ(s.position.top, -5);
    // Changing one key keeps the rest of the file as it was, down to its
    // byte-order mark and line breaks; a changed line keeps its own break.
    SaveWindowPos(QStringLiteral("FGewonnen"), 3, 4);
    EXPECT_EQ(test::readBytes(settings::filePath()), before + "FGewonnen-top=4\nFGewonnen-left=3\r\n");
}

TEST(Settings, ValuesWithLineBreaksAreNeverWritten) {
    test::TempDataFolder tmp;
    settings::writeString(settings::kStartFiles, QStringLiteral("Spieltag"), QStringLiteral("/a.sptag"));
    settings::writeString(settings::kStartFiles, QStringLiteral("Spieltag"),
                          QStringLiteral("/b\n[Position]\nFGewonnen-left=9999"));
    EXPECT_EQ(readMainWindowSettings().matchDayPath, QStringLiteral("/a.sptag"));
    EXPECT_EQ(readMainWindowSettings().position.left, 0);
}

TEST(Settings, ValuesThatAreNoNumbersReadAsDefaults) {
    test::TempDataFolder tmp;
    writeIni("[Position]\nFGewonnen-left=abc\nFGewonnen-top=$10\n"
             "[Auswertung]\nsofort=ja\n[Wach]\nStand=7,50\n");
    MainWindowSettings s = readMainWindowSettings();
    EXPECT_EQ(s.position.left, 0);
    EXPECT_EQ(s.position.top, 16);
    EXPECT_TRUE(s.instantEvaluation);
    EXPECT_EQ(s.donationStatus, QStringLiteral("7,50"));
    writeIni("[Auswertung]\nsofort=5\n");
    EXPECT_TRUE(readMainWindowSettings().instantEvaluation);
    writeIni("[Auswertung]\nsofort=0\n");
    EXPECT_FALSE(readMainWindowSettings().instantEvaluation);
}

TEST(Settings, BinaryJunkReadsAsDefaultsAndTheNextWriteWins) {
    test::TempDataFolder tmp;
    QByteArray junk;
    for (int i = 0; i < 4096; ++i) junk.append(static_cast<char>((i * 7919) % 256));
    writeIni(junk);
    const MainWindowSettings s = readMainWindowSettings();
    EXPECT_EQ(s.position.top, 70);
    SaveWindowPos(QStringLiteral("FEingabe"), 5, 6);
    EXPECT_EQ(readWindowPos(QStringLiteral("FEingabe")).left, 5);
    EXPECT_EQ(readWindowPos(QStringLiteral("FEingabe")).top, 6);
}

TEST(Settings, ScreenshotFolderDefaultsToShots) {
    test::TempDataFolder tmp;
    const QString shots = appPaths().DataFolder + QStringLiteral("shots/");
    EXPECT_EQ(readScreenshotFolder(), shots);
    EXPECT_TRUE(QFileInfo(shots).isDir());
    writeScreenshotFolder(tmp.path(QStringLiteral("bilder/")));
    EXPECT_EQ(readScreenshotFolder(), tmp.path(QStringLiteral("bilder/")));
}

TEST(Settings, EachLineIsUtf8OrWindows1252OnItsOwn) {
    test::TempDataFolder tmp;
    // An old program's comment in Windows-1252 beside paths in UTF-8 and in Windows-1252.
    const QByteArray before = "; Einstellungen f\xFCr Gr\xF6\xDF" "e\r\n"
                              "[ZumStartEinlesen]\r\n"
                              "Spieltag=/home/m\xC3\xBCller/Spieltage/07032021.sptag\r\n"
                              "Spielschein=/home/m\xFCller/Tipp \x80.krsc\r\n"
                              "[Wach]\r\nStand=0\r\n";
    writeIni(before);
    MainWindowSettings s = readMainWindowSettings();
    EXPECT_EQ(s.matchDayPath, QStringLiteral("/home/müller/Spieltage/07032021.sptag"));
    EXPECT_EQ(s.slipPath, QStringLiteral("/home/müller/Tipp €.krsc"));

    writeMainWindowClose(true, QStringLiteral("12,50"));
    QByteArray expected = before;
    expected.replace("Stand=0", "Stand=12,50");
    EXPECT_EQ(test::readBytes(settings::filePath()), expected + "[Auswertung]\r\nsofort=1\r\n");

    // A changed line is written as UTF-8; the others stay as they were.
    settings::writeString(settings::kStartFiles, QStringLiteral("Spielschein"), QStringLiteral("/home/jürgen/ä.krsc"));
    expected.replace("/home/m\xFCller/Tipp \x80.krsc", "/home/j\xC3\xBCrgen/\xC3\xA4.krsc");
    EXPECT_EQ(test::readBytes(settings::filePath()), expected + "[Auswertung]\r\nsofort=1\r\n");
    s = readMainWindowSettings();
    EXPECT_EQ(s.matchDayPath, QStringLiteral("/home/müller/Spieltage/07032021.sptag"));
    EXPECT_EQ(s.slipPath, QStringLiteral("/home/jürgen/ä.krsc"));
    EXPECT_EQ(s.donationStatus, QStringLiteral("12,50"));
}

TEST(Settings, AUtf16FileStaysUtf16) {
    test::TempDataFolder tmp;
    const auto utf16 = [](const QString& text) {
        return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);  // little-endian host
    };
    const QByteArray before = "\xFF\xFE" + utf16(QStringLiteral("[Wach]\r\nStand=Grüße\r\n; Ende"));
    writeIni(before);
    EXPECT_EQ(readMainWindowSettings().donationStatus, QStringLiteral("Grüße"));
    SaveWindowPos(QStringLiteral("FKick"), 7, 8);
    EXPECT_EQ(test::readBytes(settings::filePath()),
              before + utf16(QStringLiteral("\r\n[Position]\r\nFKick-left=7\r\nFKick-top=8\r\n")));
    EXPECT_EQ(readWindowPos(QStringLiteral("FKick")).top, 8);
}

TEST(Settings, A17MiBFileKeepsEveryByteWhenAKeyChanges) {
    test::TempDataFolder tmp;
    QByteArray other = "[Fremd]\r\n";
    other.reserve(17 << 20);
    for (int i = 0; other.size() < (17 << 20); ++i)
        other += "Eintrag" + QByteArray::number(i) + '=' + QByteArray(60, 'x') + "\r\n";
    writeIni(other + "[Wach]\r\nStand=7,50\r\n");
    EXPECT_EQ(readMainWindowSettings().donationStatus, QStringLiteral("7,50"));
    writeMainWindowClose(false, QStringLiteral("8"));
    EXPECT_TRUE(test::readBytes(settings::filePath()) == other + "[Wach]\r\nStand=8\r\n[Auswertung]\r\nsofort=0\r\n");
    EXPECT_FALSE(readMainWindowSettings().instantEvaluation);
}

TEST(Settings, TwoInstancesWritingAtOnceKeepEverySetting) {
    test::TempDataFolder tmp;
    const QByteArray own = "\xEF\xBB\xBF; von Hand\n[Fremd]\r\n  wert = \"x\"  \r\n";
    writeIni(own);
    constexpr int kEach = 300;
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w] = ::fork();
        if (writers[w] == 0) {
            ::close(go[1]);
            char byte;
            if (::read(go[0], &byte, 1) != 1) ::_exit(2);
            try {
                for (int i = 0; i < kEach; ++i)
                    settings::writeInteger("Test", QStringLiteral("w%1-%2").arg(w).arg(i), i);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
    }
    // Both start at the same moment.
    ::close(go[0]);
    ASSERT_EQ(::write(go[1], "gg", 2), 2);
    ::close(go[1]);
    for (const pid_t writer : writers) {
        int status = -1;
        ::waitpid(writer, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    int kept = 0;
    for (int w = 0; w < 2; ++w)
        for (int i = 0; i < kEach; ++i)
            kept += settings::readInteger("Test", QStringLiteral("w%1-%2").arg(w).arg(i), -1) == i;
    EXPECT_EQ(kept, 2 * kEach);
    EXPECT_TRUE(test::readBytes(settings::filePath()).startsWith(own + "[Test]\r\n"));
}

TEST(Settings, AFileTooLargeToReadWholeIsNeverRewritten) {
    test::TempDataFolder tmp;
    writeIni("[Wach]\r\nStand=7,50\r\n");
    {
        QFile f(settings::filePath());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.resize(kMaxTextFileBytes + 1));  // sparse: costs no disk
    }
    const QDateTime before = QFileInfo(settings::filePath()).lastModified();
    // Read in part it could give a value cut short; it counts as missing.
    EXPECT_EQ(readMainWindowSettings().donationStatus, QStringLiteral("0"));
    writeMainWindowClose(false, QStringLiteral("8"));
    SaveWindowPos(QStringLiteral("FKick"), 1, 2);
    const QFileInfo after(settings::filePath());
    EXPECT_EQ(after.size(), kMaxTextFileBytes + 1);
    EXPECT_EQ(after.lastModified(), before);
    QFile f(settings::filePath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(21), QByteArray("[Wach]\r\nStand=7,50\r\n\0", 21));
}

TEST(Settings, WhatIsNoFileIsNeitherReadNorReplaced) {
    test::TempDataFolder tmp;
    QDir().mkpath(appPaths().SettingsFolder);
    const QString ini = settings::filePath();
    // A link to a device keeps no settings, as a link to /dev/null does.
    const QString fifo = tmp.path(QStringLiteral("rohr"));
    test::Fifo pipe(fifo);
    QStringList targets{fifo};
    const QByteArray device = QFile::encodeName(tmp.path(QStringLiteral("null")));
    if (test::makeCharacterDevice(device, 3)) targets << QFile::decodeName(device);
    for (const QString& target : targets) {
        QFile::remove(ini);
        ASSERT_TRUE(QFile::link(target, ini));
        EXPECT_EQ(readMainWindowSettings().donationStatus, QStringLiteral("0"));
        EXPECT_EQ(test::errorOf([] {
                      writeMainWindowClose(false, QStringLiteral("5"));
                      SaveWindowPos(QStringLiteral("FGewonnen"), 1, 2);
                  }),
                  QString());
        EXPECT_EQ(test::kindAt(QFile::encodeName(ini)), QStringLiteral("link"));
        EXPECT_NE(test::kindAt(QFile::encodeName(target)), QStringLiteral("file")) << target.toStdString();
    }
    QFile::remove(ini);
    test::Fifo direct(ini);
    EXPECT_EQ(readMainWindowSettings().position.top, 70);
    EXPECT_EQ(test::errorOf([] { writeMainWindowClose(false, QStringLiteral("5")); }), QString());
    EXPECT_EQ(test::kindAt(QFile::encodeName(ini)), QStringLiteral("fifo"));
    EXPECT_FALSE(pipe.releasedAReader());
    EXPECT_FALSE(direct.releasedAReader());
}

TEST(Settings, ALinkToAFileIsWrittenThroughAndKept) {
    test::TempDataFolder tmp;
    QDir().mkpath(appPaths().SettingsFolder);
    const QString mine = tmp.path(QStringLiteral("meine.ini"));
    test::writeBytes(mine, "[Wach]\r\nStand=3\r\n");
    ASSERT_TRUE(QFile::link(mine, settings::filePath()));
    writeMainWindowClose(true, QStringLiteral("4"));
    EXPECT_EQ(test::kindAt(QFile::encodeName(settings::filePath())), QStringLiteral("link"));
    EXPECT_EQ(test::readBytes(mine), QByteArray("[Wach]\r\nStand=4\r\n[Auswertung]\r\nsofort=1\r\n"));
}
