#include "import_test_util.h"

#include "core/error.h"
#include "core/tip_table.h"
#include "files/text_file.h"
#include "files/text_import.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace korbisto;
using korbisto::test::tipTexts;

namespace {

QString messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const KorbistoError& e) {
        return e.message();
    }
    return QString();
}

// Rows of digits as the generator would hold them.
TipTable generatedRows(int n) {
    TipTable table(n);
    for (int r = 1; r <= n; ++r) {
        table.setNumber(r, r);
        for (int m = 1; m <= 13; ++m) table.setCellText(r, m, QString(QChar(u"102"[(r * 7 + m * m) % 3])));
    }
    return table;
}

// Load a file as the window does, then press "Auslesen".
TipImport loadAndRead(const QString& path) {
    const LoadedText loaded = loadTextFile(path);
    return importTipRows(fieldChanged(loaded.text).text);
}

}  // namespace

TEST(TextFile, ByteOrderMarksAreHonoured) {
    EXPECT_EQ(decodeTextFile(QByteArray("\xEF\xBB\xBF" "1\xC3\xBC" "2\r\n")), QStringLiteral("1ü2\r\n"));
    // UTF-16 LE "1X" CR "ä"; BE "€" LF
    EXPECT_EQ(decodeTextFile(QByteArray("\xFF\xFE" "1\0X\0\r\0\xE4\0", 10)), QStringLiteral("1X\r\nä"));
    EXPECT_EQ(decodeTextFile(QByteArray("\xFE\xFF" "\x20\xAC\0\n", 6)), QStringLiteral("€\r\n"));
    // An empty UTF-8 file with its mark is an empty text.
    EXPECT_EQ(decodeTextFile(QByteArray("\xEF\xBB\xBF")), QString());
}

TEST(TextFile, WithoutAMarkValidUtf8IsUtf8AndAnythingElseWindows1252) {
    EXPECT_EQ(decodeTextFile(QByteArray("M\xC3\xBCller \xE2\x82\xAC")), QStringLiteral("Müller €"));
    EXPECT_EQ(decodeTextFile(QByteArray("M\xFCller \x80")), QStringLiteral("Müller €"));
    // A single broken sequence makes the whole file Windows-1252.
    EXPECT_EQ(decodeTextFile(QByteArray("\xC3\xBC \xFC")), QStringLiteral("Ã¼ ü"));
    // A sequence cut off at the end of the file is no valid UTF-8 either.
    EXPECT_EQ(decodeTextFile(QByteArray("1\xC3")), QStringLiteral("1Ã"));
}

TEST(TextFile, EveryKindOfLineBreakBecomesCrLf) {
    EXPECT_EQ(decodeTextFile("a\rb\rc\r"), QStringLiteral("a\r\nb\r\nc\r\n"));
    EXPECT_EQ(decodeTextFile("a\nb\n"), QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(decodeTextFile("a\r\nb"), QStringLiteral("a\r\nb"));
    EXPECT_EQ(decodeTextFile("a\r\r\nb\n\rc\n\n"), QStringLiteral("a\r\n\r\nb\r\n\r\nc\r\n\r\n"));
}

TEST(TextFile, LoadsWithTheFileNameAndTheGermanErrors) {
    test::TempDataFolder folder;
    const QString path = folder.path(QStringLiteral("tipps.txt"));
    test::writeBytes(path, "1201120112011\r0000000000000\r");
    const LoadedText loaded = loadTextFile(path);
    EXPECT_EQ(loaded.text, QStringLiteral("1201120112011\r\n0000000000000\r\n"));
    EXPECT_EQ(loaded.fileName, QStringLiteral("tipps.txt"));

    EXPECT_EQ(messageOf([&] { loadTextFile(folder.path(QStringLiteral("fehlt.txt"))); }),
              QStringLiteral("Die angegebene Datei wurde nicht gefunden"));
    EXPECT_EQ(messageOf([&] { loadTextFile(folder.root()); }), QStringLiteral("E/A-Fehler 21"));
}

TEST(TextFile, ATooLargeFileIsRefusedNotCut) {
    test::TempDataFolder folder;
    const QString path = folder.path(QStringLiteral("riesig.txt"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(kMaxTextFileBytes + 1));
    }
    EXPECT_EQ(messageOf([&] { loadTextFile(path); }),
              QStringLiteral("Die Datei ist zu groß für das Textfeld: Es können höchstens 64 MB Text eingelesen "
                             "werden.\n\nIch breche erst einmal ab."));
}

TEST(TextFile, CrOnlyWindows1252FileReadsLikeAnyOther) {
    test::TempDataFolder folder;
    const QString path = folder.path(QStringLiteral("mac.csv"));
    test::writeBytes(path, "Tipps f\xFCr Samstag\r1;2;X;1;2;0;1;2;0;1;2;0;1\r1;1;1;1;1;1;1;1;1;1;1;1;1\r"
                           "2;2;2;2;2;2;2;2;2;2;2;2;x\r");
    const TipImport im = loadAndRead(path);
    EXPECT_EQ(im.mode, ImportMode::Separated);
    EXPECT_EQ(im.separator, QChar(u';'));
    ASSERT_EQ(im.rowsFound, 4);
    // The heading is a row too; its blanks end fields.
    QStringList heading = {QStringLiteral("Tipps"), QStringLiteral("für"), QStringLiteral("Samstag")};
    while (heading.size() < 13) heading << QString();
    EXPECT_EQ(tipTexts(im.rows, 1), heading);
    EXPECT_EQ(tipTexts(im.rows, 2), test::cells("1,2,0,1,2,0,1,2,0,1,2,0,1"));
    EXPECT_EQ(tipTexts(im.rows, 4), test::cells("2,2,2,2,2,2,2,2,2,2,2,2,0"));
}

TEST(TextFile, GeneratorExportsReadBackAsTheSameRows) {
    test::TempDataFolder folder;
    const TipTable rows = generatedRows(4);

    const QString txt = folder.path(QStringLiteral("export.txt"));
    test::writeBytes(txt, exportRowsText(rows, u',').toLatin1());
    const TipImport fromTxt = loadAndRead(txt);
    EXPECT_EQ(fromTxt.separator, QChar(u','));
    ASSERT_EQ(fromTxt.rowsFound, 4);
    for (int r = 1; r <= 4; ++r) EXPECT_EQ(tipTexts(fromTxt.rows, r), tipTexts(rows, r)) << r;

    const QString csv = folder.path(QStringLiteral("export.csv"));
    test::writeBytes(csv, exportRowsText(rows, u';', 1, 3).toLatin1());
    const TipImport fromCsv = loadAndRead(csv);
    EXPECT_EQ(fromCsv.separator, QChar(u';'));
    ASSERT_EQ(fromCsv.rowsFound, 3);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(tipTexts(fromCsv.rows, r), tipTexts(rows, r)) << r;
}

TEST(TextFile, Utf16SpreadsheetCopyWithTabs) {
    test::TempDataFolder folder;
    const QString path = folder.path(QStringLiteral("excel.txt"));
    QString text;
    for (int r = 0; r < 3; ++r) text += QStringLiteral("1\t0\t2\t1\t0\t2\t1\t0\t2\t1\t0\t2\tX\n");
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    test::writeBytes(path, bytes);
    const LoadedText loaded = loadTextFile(path);
    const FieldChange field = fieldChanged(loaded.text);
    EXPECT_TRUE(field.textChanged);
    EXPECT_FALSE(field.text.contains(u'\t'));
    EXPECT_EQ(field.lineCount, 3);
    const TipImport im = importTipRows(field.text);
    ASSERT_EQ(im.rowsFound, 3);
    EXPECT_EQ(tipTexts(im.rows, 3), test::cells("1,0,2,1,0,2,1,0,2,1,0,2,0"));
}
