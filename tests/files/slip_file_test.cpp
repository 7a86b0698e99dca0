#include "files/slip_file.h"

#include "core/error.h"
#include "support/test_env.h"
#include "support/tip_rows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace korbisto;
using test::readBytes;
using test::writeBytes;

TEST(SlipFile, ThreeRowsMake120BytesAndComeBack) {
    test::TempDataFolder tmp;
    TipTable t = test::tableOf({"1021021021021", "0000000000000", "2222222222221"});
    t.setHits(2, 13);
    const QString path = tmp.path(QStringLiteral("drei.krsc"));
    WriteSlipFile(t, path);
    const QByteArray bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 120);
    EXPECT_EQ(bytes.left(40), test::slipRecord("1021021021021"));
    EXPECT_EQ(bytes.mid(40, 40), test::slipRecord("0000000000000"));
    EXPECT_EQ(bytes.mid(80), test::slipRecord("2222222222221"));
    // "1", "0", "2" on the first three matches
    EXPECT_EQ(bytes.left(10), QByteArray::fromHex("00010000000100000001"));

    TipDocument model;
    SpielscheinEinlesen(model, path);
    const TipTable& back = model.table();
    ASSERT_EQ(back.rowCount(), 4);
    EXPECT_EQ(test::rowDigits(back, 1), QStringLiteral("1021021021021"));
    EXPECT_EQ(test::rowDigits(back, 2), QStringLiteral("0000000000000"));
    EXPECT_EQ(test::rowDigits(back, 3), QStringLiteral("2222222222221"));
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(back.number(r), r);
        EXPECT_TRUE(back.cellEmpty(r, 14));
    }
    EXPECT_EQ(model.fileName(), QStringLiteral("drei.krsc"));
    EXPECT_EQ(model.tipRowCount(), 3);
    EXPECT_EQ(model.countStyle(), TipDocument::CountStyle::Plain);
}

TEST(SlipFile, RowsWithoutFirstTipAreLeftOutAndTheRestRenumbered) {
    test::TempDataFolder tmp;
    TipTable t = test::tableOf({"1111111111111", "-222222222222", "-------------", "0000000000000"});
    const QString path = tmp.path(QStringLiteral("luecke.krsc"));
    WriteSlipFile(t, path);
    EXPECT_EQ(readBytes(path).size(), 80);
    TipTable back;
    EXPECT_EQ(readSlipFile(path, back), 2);
    EXPECT_EQ(test::rowDigits(back, 2), QStringLiteral("0000000000000"));
    EXPECT_EQ(back.number(2), 2);
}

TEST(SlipFile, ReaderTakesAnyBytes) {
    test::TempDataFolder tmp;
    QByteArray bytes = test::slipRecord("1111111111111", 7);  // byte 0 is ignored
    QByteArray odd(40, '\0');
    odd[1] = 5;              // match 1: "1" and "2" true -> "1"
    odd[3] = 1;
    odd[5] = 1;              // match 2: "0" and "2" true -> "0"
    odd[6] = static_cast<char>(0xFF);
    odd[9] = 2;              // match 3: "2"
    // matches 4..13: no true byte -> empty
    bytes += odd;
    bytes += QByteArray(1, '\x01');  // 81 bytes: the stray byte is ignored
    const QString path = tmp.path(QStringLiteral("krumm.krsc"));
    writeBytes(path, bytes);
    TipTable t;
    ASSERT_EQ(readSlipFile(path, t), 2);
    EXPECT_EQ(test::rowDigits(t, 1), QStringLiteral("1111111111111"));
    EXPECT_EQ(test::rowDigits(t, 2), QStringLiteral("102----------"));
}

TEST(SlipFile, ShortAndEmptyFilesGiveAnEmptyTableWithTheName) {
    test::TempDataFolder tmp;
    for (int size : {0, 39}) {
        const QString path = tmp.path(QStringLiteral("kurz%1.krsc").arg(size));
        writeBytes(path, QByteArray(size, '\x01'));
        TipDocument model;
        SpielscheinEinlesen(model, path);
        EXPECT_EQ(model.table().dataRowCount(), 0);
        EXPECT_TRUE(model.table().isEmpty());
        EXPECT_EQ(model.tipRowCount(), 0);
        EXPECT_EQ(model.fileName(), QStringLiteral("kurz%1.krsc").arg(size));
    }
}

TEST(SlipFile, MissingFileLeavesTheTableCleared) {
    test::TempDataFolder tmp;
    TipDocument model(29);
    model.changeTable([](TipTable& t) { test::setRow(t, 1, "1111111111111"); });
    model.setFileName(QStringLiteral("alt.krsc"));
    model.setTipRowCount(1);
    EXPECT_EQ(test::errorOf([&] { SpielscheinEinlesen(model, tmp.path(QStringLiteral("weg.krsc"))); }),
              QStringLiteral("Die angegebene Datei wurde nicht gefunden"));
    EXPECT_TRUE(model.table().isEmpty());
    EXPECT_EQ(model.fileName(), QString());
    EXPECT_EQ(model.tipRowCount(), 0);
    EXPECT_EQ(test::errorOf([&] { SpielscheinEinlesen(model, tmp.root()); }), QStringLiteral("E/A-Fehler 21"));
}

TEST(SlipFile, WriterRefusesBadTipsAndWritesNothing) {
    test::TempDataFolder tmp;
    const QString path = tmp.path(QStringLiteral("alt.krsc"));
    writeBytes(path, test::slipRecord("1111111111111"));
    TipTable t = test::tableOf({"1111111111111", "2222222222222", "0000000000000"});
    t.setCellText(3, 5, QStringLiteral("7"));
    EXPECT_EQ(test::errorOf([&] { WriteSlipFile(t, path); }),
              QStringLiteral("Der Tipp in Reihe 3, Spiel 5 lautet „7“. Ein Spielschein kann nur die Tipps 1, 0 und 2 "
                             "speichern; es wurde nichts gespeichert.\n\nIch breche erst einmal ab."));
    EXPECT_EQ(readBytes(path), test::slipRecord("1111111111111"));  // the old file is intact
    t.setCellText(3, 5, QString());
    EXPECT_EQ(test::errorOf([&] { WriteSlipFile(t, path); }),
              QStringLiteral("Der Tipp in Reihe 3, Spiel 5 ist leer. Ein Spielschein kann nur die Tipps 1, 0 und 2 "
                             "speichern; es wurde nichts gespeichert.\n\nIch breche erst einmal ab."));
    const QString fresh = tmp.path(QStringLiteral("neu.krsc"));
    t.setCellText(3, 5, QStringLiteral("1;"));
    EXPECT_FALSE(test::errorOf([&] { WriteSlipFile(t, fresh); }).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(fresh));
    // no half-written temporary file is left behind either
    EXPECT_EQ(QDir(tmp.root()).entryList(QDir::Files), QStringList{QStringLiteral("alt.krsc")});
}

TEST(SlipFile, WriterTakesWhatTheRuntimeReadsAsADigit) {
    test::TempDataFolder tmp;
    TipTable t = test::tableOf({"1111111111111"});
    t.setCellText(1, 2, QStringLiteral(" 2"));
    t.setCellText(1, 3, QStringLiteral("+0"));
    const QString path = tmp.path(QStringLiteral("a.krsc"));
    WriteSlipFile(t, path);
    EXPECT_EQ(readBytes(path), test::slipRecord("1201111111111"));
}

TEST(SlipFile, WriterReportsFoldersThatAreNotThere) {
    test::TempDataFolder tmp;
    TipTable t = test::tableOf({"1111111111111"});
    EXPECT_EQ(test::errorOf([&] { WriteSlipFile(t, tmp.path(QStringLiteral("fehlt/a.krsc"))); }),
              QStringLiteral("Die angegebene Datei wurde nicht gefunden"));
    EXPECT_EQ(test::errorOf([&] { WriteSlipFile(t, tmp.root()); }), QStringLiteral("E/A-Fehler 21"));
}

TEST(SlipFile, ProtectedFilesAreNotReplaced) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write anything";
    test::TempDataFolder tmp;
    const QString path = tmp.path(QStringLiteral("schreibgeschuetzt.krsc"));
    writeBytes(path, test::slipRecord("2222222222222"));
    QFile::setPermissions(path, QFile::ReadOwner);
    TipTable t = test::tableOf({"1111111111111"});
    EXPECT_EQ(test::errorOf([&] { WriteSlipFile(t, path); }), QStringLiteral("Dateizugriff verweigert"));
    EXPECT_EQ(readBytes(path), test::slipRecord("2222222222222"));
    QFile::setPermissions(path, QFile::WriteOwner);
    TipTable back;
    EXPECT_EQ(test::errorOf([&] { readSlipFile(path, back); }), QStringLiteral("Dateizugriff verweigert"));
}

TEST(SlipFile, AbsurdlyLargeFilesAreRefusedBeforeReading) {
    test::TempDataFolder tmp;
    const QString path = tmp.path(QStringLiteral("riesig.krsc"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(40LL * 16777217));  // sparse: costs no disk
    f.close();
    TipTable t;
    EXPECT_EQ(test::errorOf([&] { readSlipFile(path, t); }),
              QStringLiteral("Die Datei ist zu groß für einen Spielschein: Es können höchstens 16.777.216 "
                             "Tippreihen eingelesen werden.\n\nIch breche erst einmal ab."));
}
