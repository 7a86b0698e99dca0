#include "import_test_util.h"

#include "core/error.h"
#include "files/text_import.h"

#include <gtest/gtest.h>

using namespace korbisto;
using korbisto::test::cells;
using korbisto::test::tipTexts;

namespace {

QString crlf(std::initializer_list<const char*> lines) {
    QString text;
    for (const char* line : lines) text += QString::fromUtf8(line) + QStringLiteral("\r\n");
    return text;
}

QString refusalText(const std::function<void()>& action) {
    try {
        action();
    } catch (const KorbistoError& e) {
        return e.message();
    }
    return QString();
}

}  // namespace

TEST(FieldChange, TabsBecomeCommasAndOnlyThenIsTheTextWrittenBack) {
    const FieldChange tabs = fieldChanged(QStringLiteral("1\t2\t0\r\n1\t1\t1"));
    EXPECT_TRUE(tabs.textChanged);
    EXPECT_EQ(tabs.text, QStringLiteral("1,2,0\r\n1,1,1"));
    EXPECT_EQ(tabs.lineCount, 2);
    EXPECT_TRUE(tabs.buttonsEnabled);

    const FieldChange plain = fieldChanged(QStringLiteral("1201120112011"));
    EXPECT_FALSE(plain.textChanged);
    EXPECT_EQ(plain.text, QStringLiteral("1201120112011"));
}

TEST(FieldChange, CountsLinesWithoutTheEmptyOneAfterAFinalBreak) {
    EXPECT_EQ(fieldChanged(QString()).lineCount, 0);
    EXPECT_FALSE(fieldChanged(QString()).buttonsEnabled);
    EXPECT_EQ(fieldChanged(QStringLiteral("a\r\nb\r\n")).lineCount, 2);
    EXPECT_EQ(fieldChanged(QStringLiteral("a\r\nb")).lineCount, 2);
    EXPECT_EQ(fieldChanged(QStringLiteral("a\r\n\r\n")).lineCount, 2);  // the middle line counts
    EXPECT_EQ(fieldChanged(QStringLiteral("\r\n")).lineCount, 1);
    EXPECT_TRUE(fieldChanged(QStringLiteral(" ")).buttonsEnabled);
    EXPECT_EQ(fieldChanged(QStringLiteral("a\nb\rc")).lineCount, 3);
}

TEST(FieldChange, CountsTheLinesTheFieldShows) {
    // A narrow field shows the one long line as three.
    const auto wrapped = [](const QString& text) {
        EXPECT_EQ(text, QStringLiteral("1,2,0,1,2,0,1,2,0,1,2,0,1\r\n"));
        return QStringList{QStringLiteral("1,2,0,1,"), QStringLiteral("2,0,1,2,"), QStringLiteral("0,1,2,0,1"),
                           QString()};
    };
    EXPECT_EQ(fieldChanged(QStringLiteral("1\t2\t0\t1\t2\t0\t1\t2\t0\t1\t2\t0\t1\r\n"), wrapped).lineCount, 3);
    EXPECT_EQ(fieldLineCount({}), 0);
    EXPECT_EQ(fieldLineCount({QString()}), 0);
    EXPECT_EQ(fieldLineCount({QStringLiteral("a"), QString(), QStringLiteral("b")}), 3);
}

TEST(TextImport, ShortFirstLineChoosesTheFixedWidthMode) {
    const TipImport im = importTipRows(QStringLiteral("1201120112011\r\n0000000000000"));
    EXPECT_EQ(im.mode, ImportMode::FixedWidth);
    EXPECT_FALSE(im.separator.has_value());
    ASSERT_EQ(im.rowsFound, 2);
    ASSERT_EQ(im.rows.dataRowCount(), 2);
    EXPECT_EQ(tipTexts(im.rows, 1), cells("1,2,0,1,1,2,0,1,1,2,0,1,1"));
    EXPECT_EQ(tipTexts(im.rows, 2), cells("0,0,0,0,0,0,0,0,0,0,0,0,0"));
    EXPECT_EQ(im.rows.number(1), 1);
    EXPECT_EQ(im.rows.number(2), 2);
    EXPECT_EQ(im.rowsText(), QStringLiteral("2"));
}

TEST(TextImport, DrawLettersBecomeZeroWhileTheCallersTextKeepsThem) {
    const QString field = QStringLiteral("1X01120112011\r\n1x0112011201X\r\n");
    const QString before = field;
    const TipImport im = importTipRows(field);
    EXPECT_EQ(field, before);
    ASSERT_EQ(im.rowsFound, 2);
    EXPECT_EQ(tipTexts(im.rows, 1), cells("1,0,0,1,1,2,0,1,1,2,0,1,1"));
    EXPECT_EQ(tipTexts(im.rows, 2), cells("1,0,0,1,1,2,0,1,1,2,0,1,0"));
}

TEST(TextImport, FixedWidthSkipsLinesOfOtherLengthsAndKeepsOddCharacters) {
    // Lines are trimmed first, so padded rows and blank lines cost nothing;
    // inner characters reach the grid as they are.
    const TipImport im = importTipRows(
        crlf({"  1201120112011\t", "", "   ", "120112011201", "12011201120112", "1-0 12011201?"}));
    EXPECT_EQ(im.mode, ImportMode::FixedWidth);
    ASSERT_EQ(im.rowsFound, 2);
    EXPECT_EQ(tipTexts(im.rows, 1), cells("1,2,0,1,1,2,0,1,1,2,0,1,1"));
    EXPECT_EQ(tipTexts(im.rows, 2), cells("1,-,0, ,1,2,0,1,1,2,0,1,?"));
    EXPECT_EQ(im.rows.number(2), 2);
}

TEST(TextImport, HeadingOfFiveLettersFindsNoRowAndLeavesOneEmptyRow) {
    const TipImport im = importTipRows(crlf({"Tipps", "1;2;0;1;2;0;1;2;0;1;2;0;1", "1;2;0;1;2;0;1;2;0;1;2;0;1",
                                             "1;2;0;1;2;0;1;2;0;1;2;0;1"}));
    EXPECT_EQ(im.mode, ImportMode::FixedWidth);
    EXPECT_EQ(im.rowsFound, 0);
    ASSERT_EQ(im.rows.dataRowCount(), 1);
    EXPECT_TRUE(im.rows.isEmpty());
    EXPECT_EQ(tipTexts(im.rows, 1), QStringList(13, QString()));
    EXPECT_EQ(im.rows.number(1), 1);
    EXPECT_EQ(im.rowsText(), QStringLiteral("1"));
}

TEST(TextImport, SemicolonInTheThirdLineSeparatesEveryLine) {
    const TipImport im = importTipRows(crlf({"1;2;0;1;2;0;1;2;0;1;2;0;1", "2;2;2;1;1;1;0;0;0;1;2;0;1",
                                             "0;0;0;0;0;0;0;0;0;0;0;0;0", "1;X;2;1;2;0;1;2;0;1;2;0;2"}));
    EXPECT_EQ(im.mode, ImportMode::Separated);
    EXPECT_EQ(im.separator, QChar(u';'));
    ASSERT_EQ(im.rowsFound, 4);
    EXPECT_EQ(tipTexts(im.rows, 1), cells("1,2,0,1,2,0,1,2,0,1,2,0,1"));
    EXPECT_EQ(tipTexts(im.rows, 2), cells("2,2,2,1,1,1,0,0,0,1,2,0,1"));
    EXPECT_EQ(tipTexts(im.rows, 4), cells("1,0,2,1,2,0,1,2,0,1,2,0,2"));
    for (int r = 1; r <= 4; ++r) EXPECT_EQ(im.rows.number(r), r);
}

TEST(TextImport, WithoutAThirdLineNoSeparatorIsFound) {
    const TipImport im = importTipRows(crlf({"1;2;0;1;2;0;1;2;0;1;2;0;1", "2;2;2;1;1;1;0;0;0;1;2;0;1"}));
    EXPECT_EQ(im.mode, ImportMode::Separated);
    EXPECT_FALSE(im.separator.has_value());
    ASSERT_EQ(im.rowsFound, 2);
    QStringList expected(13, QString());
    expected[0] = QStringLiteral("1;2;0;1;2;0;1;2;0;1;2;0;1");
    EXPECT_EQ(tipTexts(im.rows, 1), expected);
}

TEST(TextImport, BlankSeparatorAndDoubledBlanks) {
    const TipImport im =
        importTipRows(crlf({"1 2 0 1 2 0 1 2 0 1 2 0 1", "1 2 0 1 2 0 1 2 0 1 2 0 2", "2 2  0 1 2 0 1 2 0 1 2 0 1"}));
    EXPECT_EQ(im.separator, QChar(u' '));
    ASSERT_EQ(im.rowsFound, 3);
    EXPECT_EQ(tipTexts(im.rows, 2), cells("1,2,0,1,2,0,1,2,0,1,2,0,2"));
    // The empty field between the two blanks takes a cell; the 13th tip falls off.
    EXPECT_EQ(tipTexts(im.rows, 3), cells("2,2, ,0,1,2,0,1,2,0,1,2,0"));
}

TEST(TextImport, BlankBeatsSemicolonInTheThirdLine) {
    const TipImport im = importTipRows(crlf({"1; 2; 0; 1; 2; 0; 1; 2; 0; 1; 2; 0; 1", "1; 2; 0; 1; 2; 0; 1; 2; 0; 1; 2; 0; 1",
                                             "1; 2; 0; 1; 2; 0; 1; 2; 0; 1; 2; 0; 1"}));
    EXPECT_EQ(im.separator, QChar(u' '));
    EXPECT_EQ(tipTexts(im.rows, 1), cells("1;,2;,0;,1;,2;,0;,1;,2;,0;,1;,2;,0;,1"));
}

TEST(TextImport, SpreadsheetTabsArriveAsCommas) {
    const FieldChange field = fieldChanged(QStringLiteral("1\t2\t0\t1\t2\t0\t1\t2\t0\t1\t2\t0\t1\r\n"
                                                          "2\t2\t2\t1\t1\t1\t0\t0\t0\t1\t2\t0\t1\r\n"
                                                          "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\tX\r\n"));
    const TipImport im = importTipRows(field.text);
    EXPECT_EQ(im.separator, QChar(u','));
    ASSERT_EQ(im.rowsFound, 3);
    EXPECT_EQ(tipTexts(im.rows, 3), cells("0,0,0,0,0,0,0,0,0,0,0,0,0"));
}

TEST(TextImport, TabsLeftInTheTextAreDetectedAsWell) {
    // Only a caller that skips the field's change handler leaves tabs.
    const TipImport im = importTipRows(QStringLiteral("1\t2\t0\t1\t2\t0\t1\t2\t0\t1\t2\t0\t1\r\n"
                                                      "1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\r\n"
                                                      "2\t2\t2\t2\t2\t2\t2\t2\t2\t2\t2\t2\t2"));
    EXPECT_EQ(im.separator, QChar(u'\t'));
    EXPECT_EQ(tipTexts(im.rows, 3), cells("2,2,2,2,2,2,2,2,2,2,2,2,2"));
}

TEST(TextImport, FieldCountsOtherThanThirteen) {
    const TipImport im = importTipRows(crlf({"1,2,0,1,2,0,1,2,0,1,2,0,1,2,2", "1,2,0,1,2,0,1,2,0,1,2,0,",
                                             "1,2,0,1,2,0", "1,,0"}));
    EXPECT_EQ(im.separator, QChar(u','));
    ASSERT_EQ(im.rowsFound, 4);
    EXPECT_EQ(tipTexts(im.rows, 1), cells("1,2,0,1,2,0,1,2,0,1,2,0,1"));
    // A final comma adds one empty field.
    EXPECT_EQ(tipTexts(im.rows, 2), cells("1,2,0,1,2,0,1,2,0,1,2,0, "));
    EXPECT_EQ(tipTexts(im.rows, 3), cells("1,2,0,1,2,0,,,,,,,"));
    EXPECT_EQ(tipTexts(im.rows, 4), cells("1, ,0,,,,,,,,,,"));
}

TEST(TextImport, QuotedFieldsWithDoubledQuotes) {
    const QString text = QStringLiteral(
        "\"1\",\"2\",\"0\",\"1\",\"2\",\"0\",\"1\",\"2\",\"0\",\"1\",\"2\",\"0\",\"1\"\r\n"
        "\"a\"\"b\",\"\",\"p;q\" ,\"open\r\n"
        "\"1\";\"2\";\"0\";\"a;b\";\"cd\"\"\"\r\n");
    const TipImport im = importTipRows(text);
    EXPECT_EQ(im.separator, QChar(u';'));
    ASSERT_EQ(im.rowsFound, 3);
    EXPECT_EQ(tipTexts(im.rows, 1), cells("1,2,0,1,2,0,1,2,0,1,2,0,1"));
    // The semicolons are separators everywhere, inside quotes as well; an
    // unclosed quote runs to the end of the line.
    QStringList second = {QStringLiteral("a\"b"), QStringLiteral(" "), QStringLiteral("p,q"), QStringLiteral("open")};
    while (second.size() < 13) second << QString();
    EXPECT_EQ(tipTexts(im.rows, 2), second);
    QStringList third = {"1", "2", "0", "a,b", "cd\""};
    while (third.size() < 13) third << QString();
    EXPECT_EQ(tipTexts(im.rows, 3), third);
}

TEST(TextImport, BlanksEndFieldsThatTheyDoNotSeparate) {
    const TipImport im = importTipRows(crlf({"1;2;0;1;2;0;1;2;0;1;2;0;1", "12;0 1;2;0;1;2;0;1;2;0;1;2",
                                             "1;2;0;1;2;0;1;2;0;1;2;0;1"}));
    EXPECT_EQ(im.separator, QChar(u';'));
    EXPECT_EQ(tipTexts(im.rows, 2), cells("12,0,1,2,0,1,2,0,1,2,0,1,2"));
}

TEST(TextImport, BlankLinesAreSkippedInTheSeparatorMode) {
    const TipImport im = importTipRows(crlf({"1,2,0,1,2,0,1,2,0,1,2,0,1", "", "   ", "1,1,1,1,1,1,1,1,1,1,1,1,1",
                                             "", "2,2,2,2,2,2,2,2,2,2,2,2,2", ""}));
    // The third line is empty: no separator, the comma still splits.
    EXPECT_FALSE(im.separator.has_value());
    ASSERT_EQ(im.rowsFound, 3);
    EXPECT_EQ(im.rows.dataRowCount(), 3);
    EXPECT_EQ(tipTexts(im.rows, 3), cells("2,2,2,2,2,2,2,2,2,2,2,2,2"));
    EXPECT_EQ(im.rows.number(3), 3);
}

TEST(TextImport, ANulCharacterActsAsABlank) {
    QString line = QStringLiteral("1;2;0;1;2;0;1;2;0;1;2;0;1");
    QString broken = line;
    broken.insert(3, QChar(u'\0'));
    const TipImport im = importTipRows(line + QStringLiteral("\r\n") + line + QStringLiteral("\r\n") + broken);
    EXPECT_EQ(tipTexts(im.rows, 3), cells("1,2,0,1,2,0,1,2,0,1,2,0,1"));
}

TEST(TextImport, TheShownLinesDecideModeAndSeparatorTheRealLinesGiveTheRows) {
    const QString text = crlf({"1 2 0 1 2 0 1 2 0 1 2 0 1", "2 2 2 1 1 1 0 0 0 1 2 0 1"});
    EXPECT_FALSE(importTipRows(text).separator.has_value());

    // A narrow field wraps the second line at a blank: the third shown line
    // has blanks, but each real line stays one row of 13 cells.
    const QStringList shown = {QStringLiteral("1 2 0 1 2 0 1 2 0 1 2 0 1"), QStringLiteral("2 2 2 1 1 1 0 "),
                               QStringLiteral("0 0 1 2 0 1"), QString()};
    const TipImport im = importTipRows(text, shown);
    EXPECT_EQ(im.separator, QChar(u' '));
    ASSERT_EQ(im.rowsFound, 2);
    EXPECT_EQ(tipTexts(im.rows, 2), cells("2,2,2,1,1,1,0,0,0,1,2,0,1"));

    // The shown lines choose the fixed-width mode and give its rows.
    const TipImport fixed = importTipRows(QStringLiteral("1201120112011 1X01120112011"),
                                          {QStringLiteral("1201120112011 "), QStringLiteral("1X01120112011")});
    EXPECT_EQ(fixed.mode, ImportMode::FixedWidth);
    ASSERT_EQ(fixed.rowsFound, 2);
    EXPECT_EQ(tipTexts(fixed.rows, 2), cells("1,0,0,1,1,2,0,1,1,2,0,1,1"));
}

TEST(TextImport, AnEmptyFieldIsRefused) {
    EXPECT_EQ(refusalText([] { importTipRows(QString()); }),
              QStringLiteral("Das Textfeld ist leer. Es gibt nichts zu übertragen.\n\nIch breche erst einmal ab."));
    EXPECT_EQ(refusalText([] { importTipRows(QString(), {}); }),
              QStringLiteral("Das Textfeld ist leer. Es gibt nichts zu übertragen.\n\nIch breche erst einmal ab."));
    // Only blanks: the first line is empty, so nothing is found.
    EXPECT_EQ(importTipRows(QStringLiteral("  \r\n ")).rowsFound, 0);
}

TEST(TextImport, LongPasteKeepsEveryRowInOrder) {
    QString text;
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        QString row;
        for (int m = 0; m < 13; ++m) {
            if (m) row += u';';
            row += QChar(u"102"[(i / (m + 1)) % 3]);
        }
        text += row + QStringLiteral("\r\n");
    }
    const TipImport im = importTipRows(text);
    ASSERT_EQ(im.rowsFound, n);
    for (int i : {0, 1, 4999, n - 1}) {
        QStringList expected;
        for (int m = 0; m < 13; ++m) expected << QString(QChar(u"102"[(i / (m + 1)) % 3]));
        EXPECT_EQ(tipTexts(im.rows, i + 1), expected) << i;
        EXPECT_EQ(im.rows.number(i + 1), i + 1);
    }
}
