#include "support/tip_rows.h"

#include "files/text_file.h"
#include "files/text_import.h"
#include "support/test_env.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace korbisto;
using korbisto::test::errorOf;

namespace {

// Load a file as the window does, then press "Auslesen".
TipImport loadAndRead(const QString& path) { return importTipRows(fieldChanged(loadTextFile(path).text).text); }

}  // namespace

TEST(TextFile, DecodesByMarkElseUtf8ElseWindows1252WithCrLfBreaks) {
    const std::pair<QByteArray, QString> cases[] = {
        {QByteArray("\xEF\xBB\xBF" "1\xC3\xBC" "2\r\n"), QStringLiteral("1ü2\r\n")},
        {QByteArray("\xFF\xFE" "1\0X\0\r\0\xE4\0", 10), QStringLiteral("1X\r\nä")},
        {QByteArray("\xFE\xFF" "\x20\xAC\0\n", 6), QStringLiteral("€\r\n")},
        {QByteArray("\xEF\xBB\xBF"), QString()},
        {QByteArray("M\xC3\xBCller \xE2\x82\xAC"), QStringLiteral("Müller €")},
        {QByteArray("M\xFCller \x80"), QStringLiteral("Müller €")},
        // One broken sequence, or one cut off at the end, makes it all Windows-1252.
        {QByteArray("\xC3\xBC \xFC"), QStringLiteral("Ã¼ ü")},
        {QByteArray("1\xC3"), QStringLiteral("1Ã")},
        {QByteArray("a\rb\rc\r"), QStringLiteral("a\r\nb\r\nc\r\n")},
        {QByteArray("a\nb\n"), QStringLiteral("a\r\nb\r\n")},
        {QByteArray("a\r\r\nb\n\rc\n\n"), QStringLiteral("a\r\n\r\nb\r\n\r\nc\r\n\r\n")},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(decodeTextFile(bytes), text) << bytes.toHex().constData();
}

TEST(TextFile, LoadsWithTheFileNameAndTheGermanErrors) {
    test::TempDataFolder folder;
    const QString path = folder.path(QStringLiteral("tipps.txt"));
    test::writeBytes(path, "1201120112011\r0000000000000\r");
    const LoadedText loaded = loadTextFile(path);
    EXPECT_EQ(loaded.text, QStringLiteral("1201120112011\r\n0000000000000\r\n"));
    EXPECT_EQ(loaded.fileName, QStringLiteral("tipps.txt"));

    EXPECT_EQ(errorOf([&] { loadTextFile(folder.path(QStringLiteral("fehlt.txt"))); }),
              QStringLiteral("Die angegebene Datei wurde nicht gefunden"));
    EXPECT_EQ(errorOf([&] { loadTextFile(folder.root()); }), QStringLiteral("E/A-Fehler 21"));

    const QString huge = folder.path(QStringLiteral("riesig.txt"));
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(kMaxTextFileBytes + 1));
    }
    EXPECT_EQ(errorOf([&] { loadTextFile(huge); }),
              QStringLiteral("Die Datei ist zu groß für das Textfeld: Es können höchstens 64 MB Text eingelesen "
                             "werden.\n\nIch breche erst einmal ab."));
}

TEST(TextFile, CrOnlyWindows1252FileWithAHeading) {
    test::TempDataFolder folder;
    const QString path = folder.path(QStringLiteral("mac.csv"));
    test::writeBytes(path, "Tipps f\xFCr Samstag\r1;2;X;1;2;0;1;2;0;1;2;0;1\r1;1;1;1;1;1;1;1;1;1;1;1;1\r"
                           "2;2;2;2;2;2;2;2;2;2;2;2;x\r");
    const TipImport im = loadAndRead(path);
    EXPECT_EQ(im.separator, QChar(u';'));
    // The heading is a row too; its blanks end fields.
    EXPECT_EQ(test::rows(im.rows), test::expectedRows({"Tipps|für|Samstag", "1|2|0|1|2|0|1|2|0|1|2|0|1",
                                                       "1|1|1|1|1|1|1|1|1|1|1|1|1", "2|2|2|2|2|2|2|2|2|2|2|2|0"}));
}

TEST(TextFile, GeneratorExportsReadBackAsTheSameRows) {
    test::TempDataFolder folder;
    TipTable rows(4);
    for (int r = 1; r <= 4; ++r)
        for (int m = 1; m <= 13; ++m) rows.setCellText(r, m, QString(QChar(u"102"[(r * 7 + m * m) % 3])));

    const QString txt = folder.path(QStringLiteral("export.txt"));
    test::writeBytes(txt, exportRowsText(rows, u',').toLatin1());
    const TipImport fromTxt = loadAndRead(txt);
    EXPECT_EQ(fromTxt.separator, QChar(u','));
    EXPECT_EQ(test::rows(fromTxt.rows), test::rows(rows));

    const QString csv = folder.path(QStringLiteral("export.csv"));
    test::writeBytes(csv, exportRowsText(rows, u';', 1, 3).toLatin1());
    const TipImport fromCsv = loadAndRead(csv);
    EXPECT_EQ(fromCsv.separator, QChar(u';'));
    rows.setDataRowCount(3);
    EXPECT_EQ(test::rows(fromCsv.rows), test::rows(rows));
}

TEST(TextFile, Utf16SpreadsheetCopyWithTabs) {
    test::TempDataFolder folder;
    const QString path = folder.path(QStringLiteral("excel.txt"));
    const QString text = QStringLiteral("1\t0\t2\t1\t0\t2\t1\t0\t2\t1\t0\t2\tX\n").repeated(3);
    test::writeBytes(path, QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
    const FieldChange field = fieldChanged(loadTextFile(path).text);
    EXPECT_FALSE(field.text.contains(u'\t'));
    EXPECT_EQ(field.lineCount, 3);
    EXPECT_EQ(test::rows(importTipRows(field.text).rows),
              test::expectedRows({"1|0|2|1|0|2|1|0|2|1|0|2|0", "1|0|2|1|0|2|1|0|2|1|0|2|0", "1|0|2|1|0|2|1|0|2|1|0|2|0"}));
}
